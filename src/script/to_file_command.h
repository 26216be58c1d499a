// The "To file" target: the script for the selected table, shown on the "Script output" page
// and selected, ready to be copied into a MySQL client. Nothing is written to disk.
#pragma once

#include <string>
#include <string_view>

#include "shell/command_result.h"
#include "shell/main_form.h"
#include "shell/user_interface.h"

namespace kavero::script {

inline constexpr std::string_view kScriptCreatedMessage =
    "The SQL script is now created for you. Copy it from the box below and execute it on your SQL-Server";
inline constexpr std::string_view kScriptFailedTitle = "Error when creating the SQL script, on eCOnvertLocal";

// The click on eCOnvertLocal. Missing inputs are listed in a critical box titled "KAVERO"
// and nothing changes; a script that cannot be built is reported in a critical box and
// leaves eScriptOutPut empty (both are stops). Otherwise eScriptOutPut holds the script with
// its line ends replaced by the terminator chosen in eSQLTerminator, names without
// backquotes unless eAllowFieldNamesIwthSpace is checked; the tab control shows the script
// page and the whole text is selected.
shell::CommandResult convertToFile(shell::frmMain& form, shell::UserInterface& ui);

// What the terminator box's text stands for: "CR" a carriage return, "CrLf" CR LF, any
// other text itself.
std::string terminatorFor(std::string_view boxText);

} // namespace kavero::script
