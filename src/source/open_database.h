// Choosing the Access file and opening it: the table list of the main window.
#pragma once

#include <string>

#include "shell/main_form.h"
#include "shell/settings_store.h"
#include "shell/user_interface.h"

namespace kavero::source {

// The settings key of the folder the file dialog starts in when no file is chosen yet.
inline constexpr const char* kDatabasePathSetting = "DATABASEPATHSOURCE";

// Opens the file named in eFilename and lists its user tables in eTables ("MSys" tables are
// hidden; a name with a blank empties the list unless blanks are allowed).
void OpenAccessDatabase(shell::frmMain& form, shell::UserInterface& ui);

// The click on eGetFileName: asks for a file and opens it.
void chooseDatabaseFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& settings);

// The folder the file dialog starts in by default: the user's home folder with a final "/".
std::string defaultDatabaseFolder();

// The file name part of a path: the text after the last "/", or the whole path.
std::string fileNamePart(const std::string& path);

} // namespace kavero::source
