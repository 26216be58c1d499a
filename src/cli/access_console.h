// What the Access commands of kavero-cli share: a console user-interface port that writes
// message boxes to standard error, and the Jet 3 code-page option.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "shell/main_form.h"
#include "shell/user_interface.h"

namespace kavero::cli {

// Message boxes go to standard error, one line each; questions are answered with the
// default button; file dialogs are cancelled.
class MessageConsole : public shell::UserInterface {
public:
    int messagesShown = 0;

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const shell::FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const shell::FileDialogRequest& request) override;
    void setBusy(bool) override {}
    void yield() override {}
    void beep() override {}
    shell::StartResult startProgram(const std::string&, const std::vector<std::string>&) override {
        return shell::StartResult::NotFound;
    }
};

// Adds --code-page to a command; applyCodePage() hands a given value to the reader through
// its environment variable, which the option overrides.
void addCodePageOption(CLI::App& command, std::optional<int>& codePage);
void applyCodePage(const std::optional<int>& codePage);

// Prints "kavero-cli: <text>" on standard error.
void printError(const std::string& text);

// Fills the window model as the user would before a command: the database path, the
// allow-spaces box and the Jet 3 code page. A file that does not exist is reported here
// (the window would silently do nothing) and gives false.
bool prepareDatabaseForm(shell::frmMain& form, const std::string& file, bool allowSpaces,
                         const std::optional<int>& codePage);

} // namespace kavero::cli
