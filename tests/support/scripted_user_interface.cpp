// Recording and queue answering for the scripted user-interface port.
#include "support/scripted_user_interface.h"

#include <gtest/gtest.h>

namespace kavero::testing {

shell::MessageAnswer ScriptedUserInterface::messageBox(std::string_view text, std::string_view title,
                                                       shell::MessageIcon icon, shell::MessageButtons buttons) {
    messages.push_back({std::string(text), std::string(title), icon, buttons});
    if (buttons == shell::MessageButtons::Ok) return shell::MessageAnswer::Ok;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question \"" << text << "\" titled \"" << title << "\"";
        return shell::MessageAnswer::Cancel;
    }
    const shell::MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUserInterface::nextFileChoice(bool save, const shell::FileDialogRequest& request) {
    dialogs.push_back({save, request});
    if (fileChoices.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << request.title << "\"";
        return std::nullopt;
    }
    std::optional<std::string> choice = fileChoices.front();
    fileChoices.pop_front();
    return choice;
}

std::optional<std::string> ScriptedUserInterface::openFileDialog(const shell::FileDialogRequest& request) {
    return nextFileChoice(false, request);
}

std::optional<std::string> ScriptedUserInterface::saveFileDialog(const shell::FileDialogRequest& request) {
    return nextFileChoice(true, request);
}

void ScriptedUserInterface::setBusy(bool on) {
    busy = on;
    busyChanges.push_back(on);
}

void ScriptedUserInterface::yield() { ++yields; }

void ScriptedUserInterface::beep() { ++beeps; }

shell::StartResult ScriptedUserInterface::startProgram(const std::string& program,
                                                       const std::vector<std::string>& arguments) {
    programStarts.push_back({program, arguments});
    if (startResults.empty()) return shell::StartResult::Started;
    const shell::StartResult result = startResults.front();
    startResults.pop_front();
    return result;
}

} // namespace kavero::testing
