// kavero-cli copy: the direct target from the command line: the table script run over an ODBC
// data source and, with --records, every record copied, with progress on standard error.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/direct_command.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "shell/progress_form.h"

namespace kavero::cli {

namespace {

// Some records were refused by the server; the others arrived.
constexpr int kExitRecordsRejected = 3;

struct CopyArguments {
    std::string file;
    std::string table;
    std::string dsn;
    std::string database;
    std::string user;
    std::string keys = "key";
    bool records = false;
    bool allowSpaces = false;
    bool yes = false;
    bool passwordStdin = false;
    CodePageOption codePage;
};

// The confirmation goes to the controlling terminal, so it works while standard input
// carries the password; without a terminal only --yes can answer it.
// Nothing when there is no terminal to ask.
std::optional<bool> confirmOnTerminal(std::string_view question) {
    std::fstream tty("/dev/tty", std::ios::in | std::ios::out);
    if (!tty) return std::nullopt;
    std::string text(question);
    for (char& c : text) {
        if (c == '\r') c = ' ';
    }
    tty << text << "Answer yes or no: " << std::flush;
    std::string answer;
    std::getline(tty, answer);
    return answer == "y" || answer == "yes" || answer == "Y" || answer == "YES" || answer == "Yes";
}

// The port of the copy: the confirmation as asked, and progress on standard error each time
// the waiting host has taken the worker's status calls.
class CopyConsole : public Console {
public:
    CopyConsole(const CopyArguments& args, const shell::frmShowProgress& progress, const odbc::CopyCounters& counters)
        : m_args(args), m_progress(progress), m_counters(counters), m_terminal(::isatty(STDERR_FILENO) == 1) {}

    bool refused = false; // the confirmation could not be asked

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override {
        if (buttons != shell::MessageButtons::YesNo) return Console::messageBox(text, title, icon, buttons);
        if (m_args.yes) return shell::MessageAnswer::Yes;
        const std::optional<bool> answer = confirmOnTerminal(text);
        refused = !answer;
        return answer.value_or(false) ? shell::MessageAnswer::Yes : shell::MessageAnswer::No;
    }

    void yield() override { report(false); }

    // The lines not yet seen: rejected and changed records, one line each; then the progress.
    void report(bool last) {
        const shell::StatusBox& box = m_progress.eShowStatus;
        for (; m_seen < box.lineCount(); ++m_seen) {
            const std::string_view line = box.lines[m_seen];
            for (std::string_view start : {odbc::kRejectedRecordLine, odbc::kChangedRecordLine}) {
                if (line.substr(0, start.size()) != start) continue;
                clearLine();
                const bool rejected = start == odbc::kRejectedRecordLine;
                std::cerr << (rejected ? "record " : "record changed ") << line.substr(start.size()) << '\n';
            }
        }
        const std::int64_t total = m_counters.total;
        const std::int64_t read = m_counters.read;
        if (total <= 0) return;
        const double seconds = elapsed();
        const double rate = seconds > 0 ? static_cast<double>(read) / seconds : 0;
        if (m_terminal) {
            const double left = rate > 0 ? static_cast<double>(total - read) / rate : 0;
            std::cerr << "\r" << read << " of " << total << " records, " << static_cast<long long>(rate)
                      << " records/s, " << static_cast<long long>(left) << " s left  " << (last ? "\n" : "")
                      << std::flush;
            m_lineOpen = !last;
        } else {
            const std::int64_t tenth = read * 10 / total;
            if (tenth > m_lastTenth) {
                m_lastTenth = tenth;
                std::cerr << read << " of " << total << " records (" << tenth * 10 << "%)\n";
            }
        }
    }

    double elapsed() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count(); }

private:
    void clearLine() {
        if (m_lineOpen) std::cerr << "\r\033[K";
        m_lineOpen = false;
    }

    const CopyArguments& m_args;
    const shell::frmShowProgress& m_progress;
    const odbc::CopyCounters& m_counters;
    const bool m_terminal;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::size_t m_seen = 0;
    std::int64_t m_lastTenth = 0;
    bool m_lineOpen = false;
};

int runCopy(const CopyArguments& args) {
    const std::optional<std::string> password = readPassword(args.passwordStdin);
    if (!password) {
        printDiagnostic("--password-stdin: standard input holds no line with the password");
        return kExitFailed;
    }
    const source::ReadOptions options = args.codePage.readOptions();
    shell::frmMain form;
    auto counters = std::make_shared<odbc::CopyCounters>();
    shell::frmShowProgress progress;
    CopyConsole console(args, progress, *counters);
    if (const auto failed = pickTable(form, console, args.file, args.table, args.allowSpaces, options)) return *failed;
    applyKeysOption(form, args.keys);
    form.cboDSNList.clear();
    form.cboDSNList.addItem(args.dsn);
    form.cboDSNList.select(0);
    form.eMySqlDatabase.text = args.database;
    form.eMySqlusername.text = args.user;
    form.eMySqlpassword.text = *password;
    form.eCopyDirectlyAlsoData.value = args.records ? shell::CheckState::Checked : shell::CheckState::Unchecked;

    shell::WaitingProgressHost host(progress, console);
    const shell::CommandResult result = app::convertDirectly(form, console, host, options, counters);
    if (console.refused) {
        printDiagnostic("the copy drops and creates the table " + *form.eTables.selectedItem() +
                        "; there is no terminal to ask: confirm with --yes");
        return kExitFailed;
    }
    if (!result.ok()) return reportResult(result);
    if (!args.records) return kExitDone;

    console.report(true);
    const std::int64_t read = counters->read;
    const std::int64_t copied = counters->copied;
    const std::int64_t rejected = counters->rejected;
    std::cerr << "Records read " << read << ", copied " << copied << ", rejected " << rejected << ", in "
              << static_cast<long long>(console.elapsed() + 0.5) << " s\n";
    // The last status line says how the copy ended; anything but "Finished copy" is a failure.
    const shell::StatusBox& box = progress.eShowStatus;
    const std::string last = box.lineCount() > 0 ? std::string(box.shownLine(0)) : std::string();
    if (last != "Finished copy") {
        printDiagnostic(last);
        return kExitFailed;
    }
    return rejected > 0 ? kExitRecordsRejected : kExitDone;
}

} // namespace

void addCopyCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<CopyArguments>();
    CLI::App* command = app.add_subcommand(
        "copy", "Create the table on a MySQL or MariaDB server over ODBC and, with --records, copy its records");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name (any letter case)")->required();
    command
        ->add_option("--dsn", args->dsn,
                     "ODBC data source name, or a whole connect text without the password "
                     "(DRIVER=MariaDB;SERVER=…;PORT=…)")
        ->required();
    command->add_option("--database", args->database, "Database on the server")->required();
    command->add_option("--user", args->user, "User name on the server")->required();
    command->add_flag("--records", args->records, "Copy the records too, not only the table design");
    addKeysOption(*command, args->keys);
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow table and field names with a blank");
    command->add_flag("--yes", args->yes, "Drop and create the table without asking");
    addPasswordOption(*command, args->passwordStdin);
    args->codePage.addTo(*command);
    command->footer("The password is never taken from the command line. Exit status: 0 every record arrived, "
                    "3 some records were rejected (each is named on standard error), 1 the copy failed.");
    command->callback([args, &exitStatus] { exitStatus = runCopy(*args); });
}

} // namespace kavero::cli
