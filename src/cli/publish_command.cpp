// kavero-cli publish: the web-host target from the command line. The pages are written into
// the folder of --out; their names go to standard output, the instructions (with the address
// to open, which for the PHP pages carries their key) to standard error.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/publish_command.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/table_summary.h"

namespace kavero::cli {

namespace {

struct PublishArguments {
    std::string file;
    std::string table;
    std::string out;
    std::string server;
    std::string database;
    std::string user;
    std::string keys = "key";
    std::string flavour = "asp";
    int recordsPerPage = publish::kDefaultRecordsPerPage;
    bool records = false;
    bool deleteOld = false;
    bool allowSpaces = false;
    bool noPasswordInPages = false;
    bool passwordStdin = false;
    bool allTables = false;
    CodePageOption codePage;
    bool lossless = false;
};

// The deletion question is answered by --delete-old; the closing message is printed.
class PublishConsole : public Console {
public:
    explicit PublishConsole(bool deleteOld) : m_deleteOld(deleteOld) {}

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override {
        if (buttons == shell::MessageButtons::YesNo)
            return m_deleteOld ? shell::MessageAnswer::Yes : shell::MessageAnswer::No;
        if (icon == shell::MessageIcon::Exclamation) printDiagnostic(text);
        if (icon == shell::MessageIcon::Information) {
            std::string shown(text);
            std::erase(shown, '\r');
            std::cerr << shown;
        }
        return Console::messageBox(text, title, icon, buttons);
    }

private:
    bool m_deleteOld;
};

// The pages of `table` with the main page `outFile`.
int publishTable(const PublishArguments& args, const std::string& table, const std::string& outFile,
                 const std::string& password) {
    const source::ReadOptions options = args.codePage.readOptions();
    shell::frmMain form;
    PublishConsole console(args.deleteOld);
    if (const auto failed = pickTable(form, console, args.file, table, args.allowSpaces, options, args.lossless))
        return *failed;
    applyKeysOption(form, args.keys);
    applyLossless(form, args.lossless);
    std::error_code ignored;
    const std::filesystem::path out = std::filesystem::absolute(outFile, ignored);
    // A trailing "/" stays, so a folder given without a page name is refused as such.
    form.eSourceDest.text = (out.empty() ? std::filesystem::path(outFile) : out.lexically_normal()).string();
    // A new folder for the pages is made here; the window's dialog only offers existing ones.
    const std::filesystem::path folder = std::filesystem::path(form.eSourceDest.text).parent_path();
    std::error_code made;
    if (!folder.empty() && !std::filesystem::is_directory(folder, made)) {
        std::filesystem::create_directories(folder, made);
        if (made) {
            printDiagnostic("cannot make the folder " + folder.string() + ": " + made.message());
            return kExitFailed;
        }
    }
    form.setOption(form.ManuelUpload);
    form.eMySqlserveraddressISP.text = args.server;
    form.eMySqlDatabaseISP.text = args.database;
    form.eMySqlusernameISP.text = args.user;
    form.eMySqlpasswordISP.text = password;
    form.eLeavePasswordOut.checked = args.noPasswordInPages;
    form.ePhpPages.checked = args.flavour == "php";
    form.eRecordsPerPage.text = std::to_string(args.recordsPerPage);
    form.eISPAlsoCopyData.value = args.records ? shell::CheckState::Checked : shell::CheckState::Unchecked;

    Output output;
    const shell::CommandResult result = app::publishToIsp(
        form, console, options, [&](const std::filesystem::path& page) { output.write(page.string() + "\n"); });
    if (!result.ok()) return reportResult(result);
    if (!output.finish()) return kExitFailed;
    if (form.ePhpPages.checked) {
        std::cerr << (args.noPasswordInPages
                          ? "kavero-config.php holds no password: type it into the table form; the web server keeps "
                            "it for that browser session.\n"
                          : "kavero-config.php holds the MySQL password: here only you can read it, and on the web "
                            "host only the web server should. No page shows it.\n");
    } else if (args.noPasswordInPages) {
        std::cerr << "The pages hold no password: enter it in the page's form, it is passed on from page to page "
                     "in the addresses.\n";
    } else {
        std::cerr << "The pages hold the MySQL password in clear text: anyone who can open them can read it. "
                     "Remove them from the web server as soon as the table is copied.\n";
    }
    return kExitDone;
}

// With --all-tables each table's pages go into a folder of its own beside the main page's
// name, since the other pages' names are fixed: web/kavero.asp gives web/Orders/kavero.asp.
std::string tableOutFile(const std::string& out, const std::string& table) {
    std::string folder = table;
    std::replace(folder.begin(), folder.end(), '/', '_');
    const std::filesystem::path path(out);
    return (path.parent_path() / folder / path.filename()).string();
}

int runPublish(const PublishArguments& args) {
    const std::optional<std::string> password = readPassword(args.passwordStdin);
    if (!password) return kExitFailed;
    if (!args.allTables) return publishTable(args, args.table, args.out, *password);
    const auto tables = allUserTables(args.file, args.codePage.readOptions(), args.lossless);
    if (!tables) return kExitFailed;
    return runAllTables(*tables, [&](const std::string& table) {
        const auto start = std::chrono::steady_clock::now();
        TableRun run{table};
        run.status = publishTable(args, table, tableOutFile(args.out, table), *password);
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return run;
    });
}

} // namespace

void addPublishCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<PublishArguments>();
    CLI::App* command = app.add_subcommand(
        "publish", "Write ASP or PHP pages that create the table, and with --records copy its records, on a web host");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    CLI::Option* table = command->add_option("TABLE", args->table, "Table name (any letter case)");
    table->excludes(command->add_flag("--all-tables", args->allTables,
                                      "Every user table of the file, each into a folder of its own named after it "
                                      "beside the main page's name, and a table of them at the end"));
    command
        ->add_option("--out", args->out,
                     "The main page to write, such as web/kavero.asp (web/kavero.php for PHP; a .asp name "
                     "becomes .php); the other pages go into its folder")
        ->required();
    command->add_option("--flavour", args->flavour, "asp (classic ASP, the default) or php (PHP 8 with PDO MySQL)")
        ->check(CLI::IsMember({"asp", "php"}));
    command->add_option("--server", args->server, "MySQL server as the web host reaches it (host or host:port)")
        ->required();
    command->add_option("--database", args->database, "Database on that server")->required();
    command->add_option("--user", args->user, "User name on that server")->required();
    addLosslessFlag(*command, args->lossless);
    command->add_flag("--records", args->records, "Write the pages that copy the records too");
    command
        ->add_option("--records-per-page", args->recordsPerPage,
                     "Records on one copy page (default 5; raise it for large tables)")
        ->check(CLI::Range(1, publish::kMaxRecordsPerPage));
    command->add_flag("--delete-old", args->deleteOld,
                      "Delete the old pages of the output folder first: every *.asp file, or for PHP every *.php "
                      "file KAVERO wrote");
    command->add_flag("--no-password-in-pages", args->noPasswordInPages,
                      "Leave the password out of the pages; the page forms ask for it");
    addKeysOption(*command, args->keys);
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow table and field names with a blank");
    addPasswordOption(*command, args->passwordStdin);
    args->codePage.addTo(*command);
    command->footer("The password is never taken from the command line. Unless --no-password-in-pages is given, "
                    "the ASP pages carry it in clear text: remove them from the web server after use. The PHP pages "
                    "keep it in kavero-config.php only, open only with the address printed (it carries their key) "
                    "and lock themselves after one copy.");
    command->callback([args, &exitStatus] {
        if (!args->allTables && args->table.empty()) throw CLI::RequiredError("TABLE or --all-tables");
        exitStatus = runPublish(*args);
    });
}

} // namespace kavero::cli
