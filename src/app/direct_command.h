// The "Go" of "Directly to local SQL server": the table script run over an ODBC data source
// and, on request, every record copied while the progress window shows the work.
#pragma once

#include <memory>

#include "odbc/copy_records.h"
#include "shell/command_result.h"
#include "shell/main_form.h"
#include "shell/progress_host.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::app {

inline constexpr std::string_view kDirectConfirmation =
    "Warning you will delete all data in your database if the databse already exist !!!!!\r\n\r\n"
    "DO you still want to create the database and copy the data !!!!!\r\n";
inline constexpr std::string_view kDirectCanceled = "Opreation canceled by user";

// Missing inputs, a declined confirmation and a script the server refused are stops or
// failures shown in a box; otherwise the progress window opens and, when records are wanted,
// the copy is handed to it as work on a thread of its own (the host decides whether the call
// waits for it). `counters`, when given, follow the copy. The Options menu's "Fast copy"
// decides whether `fast` applies, and its "Check every record after the copy" whether the
// check follows.
shell::CommandResult convertDirectly(shell::frmMain& form, shell::UserInterface& ui, shell::ProgressHost& progress,
                                     const source::ReadOptions& options,
                                     std::shared_ptr<odbc::CopyCounters> counters = nullptr,
                                     odbc::FastCopyOptions fast = {});

// The check alone, for the picked table copied earlier to the data source and database of the
// form: the same inputs as the copy, no question asked, nothing changed on the server.
shell::CommandResult verifyCopiedTable(shell::frmMain& form, shell::UserInterface& ui, shell::ProgressHost& progress,
                                       const source::ReadOptions& options,
                                       std::shared_ptr<odbc::CopyCounters> counters = nullptr);

} // namespace kavero::app
