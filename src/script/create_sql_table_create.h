// The MySQL script that recreates the selected table from the field and key lists of the
// main window: a DROP TABLE IF EXISTS line, the CREATE TABLE statement and, when keys are
// to be created as indexes, one CREATE INDEX line per key field.
#pragma once

#include <string>

#include "shell/main_form.h"
#include "script/script_error.h"

namespace kavero::script {

// Builds the script for the table selected in eTables from eFieldListGrid/eFieldCount and
// ekeyListGrid/eKeyCount under the chosen key option (ECreateKey, eCreateIndex,
// eCreateNoKeys). Statements end in CR LF; with `oneLine` every CR LF becomes ";", so the
// script is one line with a ";" after each statement. Empties eScriptOutPut, which the
// caller fills with the result when it wants the script shown.
// Throws ScriptError when the design cannot give a well-formed statement (no table selected,
// a count that is not a row count of its grid, a table without any listed field).
std::string CreateSQLtablecreate(shell::frmMain& form, bool oneLine);

} // namespace kavero::script
