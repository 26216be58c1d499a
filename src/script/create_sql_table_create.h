// The MySQL script that recreates the picked table from its design: a DROP TABLE IF EXISTS
// line, the CREATE TABLE statement and, when keys are to be created as indexes, one CREATE
// INDEX line per key field.
#pragma once

#include <string>

#include "script/script_error.h"
#include "shell/main_form.h"
#include "source/sql_text.h"

namespace kavero::script {

// Builds the script for the table selected in eTables from form.design under the chosen key
// option (ECreateKey, eCreateIndex, eCreateNoKeys). Statements end in CR LF; with `oneLine`
// every CR LF becomes ";", so the script is one line with a ";" after each statement. Names
// are quoted as `quoting` says; every other text keeps its characters. Empties
// eScriptOutPut, which the caller fills with the result when it wants the script shown.
// Throws ScriptError when there is no table to create (none selected, its design not
// loaded, or no field that can be created).
std::string CreateSQLtablecreate(shell::frmMain& form, bool oneLine,
                                 source::NameQuoting quoting = source::NameQuoting::Backquoted);

} // namespace kavero::script
