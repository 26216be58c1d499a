// What the commands of kavero-cli share: the console port, the Jet 3 code-page option, the
// table lookup, the wording of diagnostics, and standard output that reports a failed write.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <string_view>

#include "shell/command_result.h"
#include "shell/main_form.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::cli {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1; // stopped or failed
inline constexpr int kExitUsage = 2;

// The commands speak through their results: message boxes are not printed (they name the
// window's controls); questions get their default answer; file dialogs are cancelled.
class Console : public shell::UserInterface {
public:
    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const shell::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const shell::FileDialogRequest&) override { return std::nullopt; }
    void setBusy(bool) override {}
    void yield() override {}
    void beep() override {}
    shell::StartResult startProgram(const std::string&, const std::vector<std::string>&) override {
        return shell::StartResult::NotFound;
    }
};

// "kavero-cli: <text>" on standard error, one line per line of the text.
void printDiagnostic(std::string_view text);
// An error as one diagnostic: its description and, in parentheses, its number.
void printError(const shell::NumberedError& error);

// Prints why a command stopped or failed; returns the exit status for the result. `nameKind`
// says what the name of a stop is ("field name").
int reportResult(const shell::CommandResult& result, std::string_view nameKind = "name");

// Adds --code-page; readOptions() gives the reader what was chosen.
struct CodePageOption {
    std::optional<int> codePage;
    void addTo(CLI::App& command);
    source::ReadOptions readOptions() const;
};

// --dsn, --database and --user of the commands that reach the server over ODBC, and the
// direct target's controls filled from them as a user would fill them.
struct ServerLoginOptions {
    std::string dsn;
    std::string database;
    std::string user;
    void addTo(CLI::App& command);
    void applyTo(shell::frmMain& form, const std::string& password) const;
};

// The stored spelling of a user table, matched without regard to case as Access matches
// names; nothing when the file has no such table. `valuesTables`: the lossless rules, under
// which the values of attachment and multi-value fields are tables too.
std::optional<std::string> findUserTable(source::AccessDatabase& database, std::string_view name,
                                         bool valuesTables = false);
// "no table named 'X' in FILE"
std::string noSuchTable(std::string_view name, std::string_view file);

// Fills the window model as the user would before a command: the database path and the
// allow-spaces box.
void prepareForm(shell::frmMain& form, const std::string& file, bool allowSpaces);

// Opens `file`, picks `table` in the table list as a click would (a blank in that table's own
// name needs allowSpaces; other tables do not matter) and loads its design. Nothing when the
// design is loaded; otherwise what went wrong is printed and the exit status returned.
std::optional<int> pickTable(shell::frmMain& form, shell::UserInterface& ui, const std::string& file,
                             const std::string& table, bool allowSpaces, const source::ReadOptions& options,
                             bool valuesTables = false);

// Where the MySQL password comes from; it is never taken from the command line.
inline constexpr const char* kPasswordVariable = "KAVERO_MYSQL_PASSWORD";
// The first line of standard input with `fromStandardInput` (nothing, and a diagnostic, when
// there is none), else $KAVERO_MYSQL_PASSWORD, empty when unset.
std::optional<std::string> readPassword(bool fromStandardInput);
// --password-stdin, with the same help on every command.
void addPasswordOption(CLI::App& command, bool& fromStandardInput);

// --lossless, with the same help on every command, and the Options choice it stands for.
void addLosslessFlag(CLI::App& command, bool& lossless);
void applyLossless(shell::frmMain& form, bool lossless);

// --keys key|index|none, and the key option it stands for.
void addKeysOption(CLI::App& command, std::string& keys);
void applyKeysOption(shell::frmMain& form, const std::string& keys);

// Standard output that remembers a failed write: write() after a failure does nothing, and
// finish() flushes and says whether everything arrived, printing the cause when not.
class Output {
public:
    void write(std::string_view text);
    bool failed() const { return m_error != 0; }
    bool finish();

private:
    int m_error = 0;
};

} // namespace kavero::cli
