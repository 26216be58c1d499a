// kavero-cli verify: the check after a copy on its own, for a table copied earlier: the table
// read back from the server and compared with the Access table, nothing changed on either.
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/direct_command.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/copy_console.h"
#include "cli/table_summary.h"
#include "odbc/check_records.h"
#include "shell/progress_form.h"

namespace kavero::cli {

namespace {

struct VerifyArguments {
    std::string file;
    std::string table;
    ServerLoginOptions login;
    bool allowSpaces = false;
    bool passwordStdin = false;
    CodePageOption codePage;
};

int runVerify(const VerifyArguments& args) {
    const std::optional<std::string> password = readPassword(args.passwordStdin);
    if (!password) return kExitFailed;
    const source::ReadOptions options = args.codePage.readOptions();
    shell::frmMain form;
    auto counters = std::make_shared<odbc::CopyCounters>();
    shell::frmShowProgress progress;
    CopyConsole console(true, progress, *counters);
    if (const auto failed = pickTable(form, console, args.file, args.table, args.allowSpaces, options)) return *failed;
    // The inputs the copy needs include a key choice; the check pairs by the Access key itself.
    applyKeysOption(form, "key");
    args.login.applyTo(form, *password);

    shell::WaitingProgressHost host(progress, console);
    const shell::CommandResult result = app::verifyCopiedTable(form, console, host, options, counters);
    if (!result.ok()) return reportResult(result);
    console.report(true);
    const bool checked = counters->checkComplete;
    std::cerr << odbc::summaryLine(counters->total, -1, -1, counters->verified, checked, console.elapsed()) << '\n';
    if (!checked) return kExitFailed; // the lines above said why
    return counters->differences > 0 ? kExitDifferences : kExitDone;
}

} // namespace

void addVerifyCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<VerifyArguments>();
    CLI::App* command = app.add_subcommand(
        "verify", "Check that a table copied earlier with copy --records is on the server record for record");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name (any letter case)")->required();
    args->login.addTo(*command);
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow table and field names with a blank");
    addPasswordOption(*command, args->passwordStdin);
    args->codePage.addTo(*command);
    command->footer("Records are paired by the Access table's primary key when every field of it is copied, "
                    "otherwise the rows are compared as a whole. The password is never taken from the command "
                    "line. Exit status: 0 every record is on the server as copied, 4 records are missing, "
                    "different or too many there (each is named on standard error), 1 the check failed.");
    command->callback([args, &exitStatus] { exitStatus = runVerify(*args); });
}

} // namespace kavero::cli
