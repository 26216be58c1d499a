// Choosing the Access file and opening it: the table list of the main window.
#pragma once

#include <string>
#include <vector>

#include "shell/command_result.h"
#include "shell/main_form.h"
#include "shell/settings_store.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::source {

// The settings key of the folder the file dialog starts in when no file is chosen yet.
inline constexpr const char* kDatabasePathSetting = "DATABASEPATHSOURCE";

// Opens the file named in eFilename and lists its user tables in eTables (with the lossless
// rules chosen, each followed by the values tables of its attachment and multi-value fields). A name with a blank
// empties the list unless blanks are allowed (a stop); a file that does not exist is passed
// over without a word.
shell::CommandResult OpenAccessDatabase(shell::frmMain& form, shell::UserInterface& ui, const ReadOptions& options);

// The tables a user sees, in catalog order: neither the engine's "MSys" tables nor the ones
// the catalog marks as system tables. With `valuesTables` (the lossless rules), each table is
// followed by the values tables of its attachment and multi-value fields.
std::vector<std::string> userTables(AccessDatabase& database, bool valuesTables = false);

// The click on eGetFileName: asks for a file and opens it.
void chooseDatabaseFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& settings,
                        const ReadOptions& options);

// The folder the file dialog starts in by default: the user's home folder with a final "/".
std::string defaultDatabaseFolder();

// The file name part of a path: the text after the last "/", or the whole path.
std::string fileNamePart(const std::string& path);

} // namespace kavero::source
