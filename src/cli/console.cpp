// The shared pieces of the kavero-cli commands.
#include "cli/console.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "shell/ascii.h"
#include "source/open_database.h"
#include "source/table_design.h"

namespace kavero::cli {

shell::MessageAnswer Console::messageBox(std::string_view, std::string_view, shell::MessageIcon,
                                         shell::MessageButtons buttons) {
    switch (buttons) {
    case shell::MessageButtons::YesNo:
    case shell::MessageButtons::YesNoCancel:
        return shell::MessageAnswer::Yes;
    case shell::MessageButtons::RetryCancel:
        return shell::MessageAnswer::Cancel;
    case shell::MessageButtons::AbortRetryIgnore:
        return shell::MessageAnswer::Abort;
    default:
        return shell::MessageAnswer::Ok;
    }
}

void printDiagnostic(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size() || text[i] == '\r' || text[i] == '\n';
        if (!end) {
            line += text[i];
            continue;
        }
        if (!line.empty()) std::cerr << "kavero-cli: " << line << '\n';
        line.clear();
    }
}

void printError(const shell::NumberedError& error) {
    printDiagnostic(error.description() + " (" + std::to_string(error.number()) + ")");
}

int reportResult(const shell::CommandResult& result, std::string_view nameKind) {
    const std::string name = "the " + std::string(nameKind) + " '" + result.subject + "'";
    switch (result.outcome) {
    case shell::Outcome::Done:
        return kExitDone;
    case shell::Outcome::Failed:
        // A failure that lists numbered errors of its own (the server's) has no number besides.
        printDiagnostic(result.number == 0 ? result.text : result.text + " (" + std::to_string(result.number) + ")");
        break;
    case shell::Outcome::Stopped:
        switch (result.reason) {
        case shell::StopReason::BlankInName:
            printDiagnostic(name + " holds a blank: use --allow-spaces");
            break;
        case shell::StopReason::IllegalName:
            printDiagnostic(name + " holds a character a MySQL name cannot hold (' ` / \\ or .): rename it in Access");
            break;
        default:
            printDiagnostic(result.text);
        }
        break;
    }
    return kExitFailed;
}

void ServerLoginOptions::addTo(CLI::App& command) {
    command
        .add_option("--dsn", dsn,
                    "ODBC data source name, or a whole connect text without the password "
                    "(DRIVER=MariaDB;SERVER=…;PORT=…)")
        ->required();
    command.add_option("--database", database, "Database on the server")->required();
    command.add_option("--user", user, "User name on the server")->required();
}

void ServerLoginOptions::applyTo(shell::frmMain& form, const std::string& password) const {
    form.cboDSNList.clear();
    form.cboDSNList.addItem(dsn);
    form.cboDSNList.select(0);
    form.eMySqlDatabase.text = database;
    form.eMySqlusername.text = user;
    form.eMySqlpassword.text = password;
}

void CodePageOption::addTo(CLI::App& command) {
    command
        .add_option("--code-page", codePage,
                    "Code page of the text in Access 97 (Jet 3) files, for example 936; default 1252")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                int value = 0;
                const char* end = text.data() + text.size();
                const auto [stop, error] = std::from_chars(text.data(), end, value);
                if (error != std::errc() || stop != end) return "'" + text + "' is not a code page number";
                try {
                    source::readOptionsForCodePage(value);
                } catch (const source::EngineError& e) {
                    return e.description();
                }
                return {};
            },
            "CODEPAGE"));
}

source::ReadOptions CodePageOption::readOptions() const {
    return codePage ? source::readOptionsForCodePage(*codePage) : source::ReadOptions{};
}

std::optional<std::string> findUserTable(source::AccessDatabase& database, std::string_view name, bool valuesTables) {
    const std::vector<std::string> tables = source::userTables(database, valuesTables);
    for (const std::string& table : tables) {
        if (table == name) return table;
    }
    for (const std::string& table : tables) {
        if (shell::equalsIgnoringCase(table, name)) return table;
    }
    return std::nullopt;
}

std::string noSuchTable(std::string_view name, std::string_view file) {
    return "no table named '" + std::string(name) + "' in " + std::string(file);
}

void prepareForm(shell::frmMain& form, const std::string& file, bool allowSpaces) {
    form.eFilename.text = file;
    form.eAllowFieldNamesIwthSpace.value = allowSpaces ? shell::CheckState::Checked : shell::CheckState::Unchecked;
}

std::optional<int> pickTable(shell::frmMain& form, shell::UserInterface& ui, const std::string& file,
                             const std::string& table, bool allowSpaces, const source::ReadOptions& options,
                             bool valuesTables) {
    prepareForm(form, file, allowSpaces);
    try {
        source::AccessDatabase database(file, options);
        const std::optional<std::string> stored = findUserTable(database, table, valuesTables);
        if (!stored) {
            printDiagnostic(noSuchTable(table, file));
            return kExitFailed;
        }
        if (!allowSpaces && stored->find(' ') != std::string::npos) {
            return reportResult(shell::CommandResult::stopped(shell::StopReason::BlankInName, {}, *stored),
                                "table name");
        }
        form.eTables.items = source::userTables(database, valuesTables);
        for (std::size_t i = 0; i < form.eTables.items.size(); ++i) {
            if (form.eTables.items[i] == *stored) form.eTables.listIndex = static_cast<int>(i);
        }
    } catch (const source::EngineError& e) {
        printError(e);
        return kExitFailed;
    }
    const shell::CommandResult loaded = source::loadTableDesign(form, ui, *form.eTables.selectedItem(), options);
    if (!loaded.ok()) return reportResult(loaded, "field name");
    return std::nullopt;
}

void addLosslessFlag(CLI::App& command, bool& lossless) {
    command.add_flag("--lossless", lossless,
                     "Keep every value: exact column types, Null as NULL, AutoNumber values and OLE objects "
                     "copied, every index, attachment and multi-value fields as tables of their own; --keys does "
                     "not apply");
}

void applyLossless(shell::frmMain& form, bool lossless) {
    form.eLossless.checked = lossless;
    shell::chooseLossless(form.design, lossless);
}

void addKeysOption(CLI::App& command, std::string& keys) {
    command
        .add_option("--keys", keys,
                    "key: keys inside CREATE TABLE; index: CREATE INDEX lines; none: only the AutoNumber key")
        ->check(CLI::IsMember({"key", "index", "none"}))
        ->capture_default_str();
}

void applyKeysOption(shell::frmMain& form, const std::string& keys) {
    if (keys == "index") {
        form.setOption(form.eCreateIndex);
    } else if (keys == "none") {
        form.setOption(form.eCreateNoKeys);
    } else {
        form.setOption(form.ECreateKey);
    }
}

void Output::write(std::string_view text) {
    if (m_error != 0 || text.empty()) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) m_error = errno != 0 ? errno : EIO;
}

bool Output::finish() {
    errno = 0;
    if (m_error == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout))) m_error = errno != 0 ? errno : EIO;
    if (m_error == 0) return true;
    printDiagnostic(std::string("cannot write to standard output: ") + std::strerror(m_error));
    return false;
}

std::optional<std::string> readPassword(bool fromStandardInput) {
    if (fromStandardInput) {
        std::string line;
        if (!std::getline(std::cin, line)) {
            printDiagnostic("--password-stdin: standard input holds no line with the password");
            return std::nullopt;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
    const char* value = std::getenv(kPasswordVariable);
    return std::string(value != nullptr ? value : "");
}

void addPasswordOption(CLI::App& command, bool& fromStandardInput) {
    command.add_flag("--password-stdin", fromStandardInput,
                     "Read the password from the first line of standard input instead of $KAVERO_MYSQL_PASSWORD");
}

} // namespace kavero::cli
