// Console port and code-page option of the Access commands.
#include "cli/access_console.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "source/engine.h"

namespace kavero::cli {

shell::MessageAnswer MessageConsole::messageBox(std::string_view text, std::string_view, shell::MessageIcon,
                                                shell::MessageButtons buttons) {
    ++messagesShown;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            line += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    std::cerr << line << '\n';
    switch (buttons) {
    case shell::MessageButtons::YesNo:
    case shell::MessageButtons::YesNoCancel: return shell::MessageAnswer::Yes;
    case shell::MessageButtons::RetryCancel: return shell::MessageAnswer::Cancel;
    case shell::MessageButtons::AbortRetryIgnore: return shell::MessageAnswer::Abort;
    default: return shell::MessageAnswer::Ok;
    }
}

std::optional<std::string> MessageConsole::openFileDialog(const shell::FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> MessageConsole::saveFileDialog(const shell::FileDialogRequest&) { return std::nullopt; }

void addCodePageOption(CLI::App& command, std::optional<int>& codePage) {
    command.add_option("--code-page", codePage,
                       "Code page of the text in Access 97 (Jet 3) files, for example 936; default 1252 or $" +
                           std::string(source::kCodePageVariable))
        ->check(CLI::PositiveNumber);
}

void applyCodePage(const std::optional<int>& codePage) {
    if (codePage) ::setenv(source::kCodePageVariable, std::to_string(*codePage).c_str(), 1);
}

void printError(const std::string& text) { std::cerr << "kavero-cli: " << text << '\n'; }

bool prepareDatabaseForm(shell::frmMain& form, const std::string& file, bool allowSpaces,
                         const std::optional<int>& codePage) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        printError("Could not find file: '" + file + "' does not exist (3024)");
        return false;
    }
    applyCodePage(codePage);
    form.eFilename.text = file;
    form.eAllowFieldNamesIwthSpace.value = allowSpaces ? shell::CheckState::Checked : shell::CheckState::Unchecked;
    return true;
}

} // namespace kavero::cli
