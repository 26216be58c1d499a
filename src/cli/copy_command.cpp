// kavero-cli copy: the direct target from the command line: the table script run over an ODBC
// data source and, with --records, every record copied and then checked on the server, with
// progress on standard error; with --all-tables every user table of the file in turn.
#include <cstdio>
#include <cstdlib>
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
#include "odbc/direct_connection.h"
#include "odbc/error_text.h"
#include "odbc/foreign_keys.h"
#include "shell/progress_form.h"

namespace kavero::cli {

namespace {

struct CopyArguments {
    std::string file;
    std::string table;
    ServerLoginOptions login;
    std::string keys = "key";
    bool allTables = false;
    bool records = false;
    bool noVerify = false;
    bool fast = false;
    std::int64_t commitEvery = 10000;
    std::string rejectFile;
    bool allowSpaces = false;
    bool yes = false;
    bool passwordStdin = false;
    CodePageOption codePage;
    bool lossless = false;
};

// With --all-tables each table writes its own reject file: "PATH" becomes "PATH.TABLE".
std::string rejectFileOf(const CopyArguments& args, const std::string& table) {
    if (args.rejectFile.empty() || !args.allTables) return args.rejectFile;
    return args.rejectFile + "." + table;
}

// One table, as `copy FILE TABLE` does it.
TableRun copyTable(const CopyArguments& args, const std::string& table, const std::string& password) {
    TableRun run;
    const source::ReadOptions options = args.codePage.readOptions();
    shell::frmMain form;
    auto counters = std::make_shared<odbc::CopyCounters>();
    shell::frmShowProgress progress;
    CopyConsole console(args.yes, progress, *counters);
    if (const auto failed = pickTable(form, console, args.file, table, args.allowSpaces, options, args.lossless)) {
        run.status = *failed;
        return run;
    }
    applyKeysOption(form, args.keys);
    applyLossless(form, args.lossless);
    args.login.applyTo(form, password);
    form.eCopyDirectlyAlsoData.value = args.records ? shell::CheckState::Checked : shell::CheckState::Unchecked;
    form.eFastCopy.checked = args.fast;
    form.eCheckCopy.checked = !args.noVerify;

    shell::WaitingProgressHost host(progress, console);
    const shell::CommandResult result = app::convertDirectly(form, console, host, options, counters,
                                                             {args.fast, args.commitEvery, rejectFileOf(args, table)});
    if (console.refused) {
        printDiagnostic("the copy drops and creates the table " + *form.eTables.selectedItem() +
                        "; there is no terminal to ask: confirm with --yes");
        run.status = kExitFailed;
        return run;
    }
    if (!result.ok()) {
        run.status = reportResult(result);
        return run;
    }
    if (!args.records) return run;

    console.report(true);
    run.read = counters->read;
    run.copied = counters->copied;
    run.rejected = counters->rejected;
    const bool checked = !args.noVerify && counters->checkComplete;
    if (checked) run.verified = counters->verified;
    std::cerr << odbc::summaryLine(*run.read, *run.copied, *run.rejected, counters->verified, checked,
                                   console.elapsed())
              << '\n';
    if (!counters->finished) {
        // The last status line says why the copy ended early.
        const shell::StatusBox& box = progress.eShowStatus;
        printDiagnostic(box.lineCount() > 0 ? std::string(box.shownLine(0)) : "the copy ended early");
        run.status = kExitFailed;
    } else if (!args.noVerify && !checked) {
        run.status = kExitFailed; // the check said why
    } else if (counters->differences > 0) {
        run.status = kExitDifferences;
    } else if (*run.rejected > 0) {
        run.status = kExitRecordsRejected;
    }
    return run;
}

odbc::DirectLogin loginOf(const CopyArguments& args, const std::string& password) {
    return {args.login.dsn, args.login.database, args.login.user, password};
}

// The lossless whole-database copy: the foreign keys a former run left between these tables
// go first, since they would stop a parent's DROP TABLE; the file's relationships become
// foreign keys once every table is filled. A relationship left out is named and does not
// change the exit status: every record arrived as it is in the file.
int copyWithForeignKeys(const CopyArguments& args, const std::vector<std::string>& tables,
                        const std::string& password) {
    const odbc::DirectLogin login = loginOf(args, password);
    try {
        odbc::DirectConnection direct = odbc::OpenDirectConnection(login);
        odbc::dropForeignKeysBetween(direct.connection(), tables);
    } catch (const odbc::Error& error) {
        printDiagnostic(odbc::connectionFailureText(login.dataSource, error));
        return kExitFailed;
    }
    std::vector<std::string> created;
    int status = runAllTables(tables, [&](const std::string& table) {
        TableRun run = copyTable(args, table, password);
        if (tableCreated(run.status)) created.push_back(table);
        return run;
    });
    const source::ReadOptions options = args.codePage.readOptions();
    const auto keys = planForeignKeys(args.file, tables, created, options);
    if (!keys) return kExitFailed;
    if (keys->empty()) return status;
    try {
        odbc::DirectConnection direct = odbc::OpenDirectConnection(login);
        const std::vector<odbc::ForeignKeyOutcome> outcomes = odbc::addForeignKeys(direct.connection(), *keys);
        std::size_t added = 0;
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            if (outcomes[i].added) {
                ++added;
            } else {
                printDiagnostic(odbc::outcomeText((*keys)[i], outcomes[i]));
            }
        }
        std::cerr << "Foreign keys created: " << added << " of " << keys->size() << "\n";
    } catch (const odbc::Error& error) {
        printDiagnostic("the foreign keys could not be created: " + odbc::errorBlocks(error.records()));
        status = kExitFailed;
    }
    return status;
}

int runCopy(const CopyArguments& args) {
    const std::optional<std::string> password = readPassword(args.passwordStdin);
    if (!password) return kExitFailed;
    if (!args.allTables) return copyTable(args, args.table, *password).status;
    const auto tables = allUserTables(args.file, args.codePage.readOptions(), args.lossless);
    if (!tables) return kExitFailed;
    if (args.lossless) return copyWithForeignKeys(args, *tables, *password);
    return runAllTables(*tables, [&](const std::string& table) { return copyTable(args, table, *password); });
}

} // namespace

void addCopyCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<CopyArguments>();
    CLI::App* command = app.add_subcommand(
        "copy", "Create the table on a MySQL or MariaDB server over ODBC and, with --records, copy its records");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    CLI::Option* table = command->add_option("TABLE", args->table, "Table name (any letter case)");
    CLI::Option* all =
        command->add_flag("--all-tables", args->allTables, "Every user table of the file, one after the other");
    table->excludes(all);
    args->login.addTo(*command);
    addLosslessFlag(*command, args->lossless);
    command->add_flag("--records", args->records,
                      "Copy the records too, not only the table design, and check afterwards that every one "
                      "arrived unchanged");
    command->add_flag("--no-verify", args->noVerify, "Do not read the table back to check it after the copy");
    command->add_flag("--fast", args->fast,
                      "Send many records to a statement and commit in chunks; a refused record is still named");
    command->add_option("--commit-every", args->commitEvery, "With --fast: records per transaction")
        ->check(CLI::PositiveNumber);
    command->add_option("--reject-file", args->rejectFile,
                        "With --fast: write each refused record as one JSON line to this file (with --all-tables, "
                        "one file per table, named PATH.TABLE)");
    addKeysOption(*command, args->keys);
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow table and field names with a blank");
    command->add_flag("--yes", args->yes, "Drop and create the table without asking");
    addPasswordOption(*command, args->passwordStdin);
    args->codePage.addTo(*command);
    command->footer("The password is never taken from the command line. Exit status: 0 every record arrived and "
                    "was verified, 3 some records were rejected (each is named on standard error), 4 the check "
                    "after the copy found records missing, different or too many on the server (each is named), "
                    "1 the copy failed. With --all-tables: a table per line on standard error at the end; 1 when "
                    "a table failed, else 4, 3 or 0 as the worst table. With --all-tables --lossless the relationships "
                    "of the file become foreign keys once every table is filled; one that the records break, or "
                    "that the tables cannot hold, is named on standard error and left out, which leaves the exit "
                    "status as it is.");
    command->callback([args, &exitStatus] {
        if (!args->allTables && args->table.empty()) throw CLI::RequiredError("TABLE or --all-tables");
        exitStatus = runCopy(*args);
    });
}

} // namespace kavero::cli
