// A user-interface port for tests: records every message box, dialog and busy change, and
// answers questions and file dialogs from queues the test fills beforehand.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/user_interface.h"

namespace kavero::testing {

class ScriptedUserInterface : public shell::UserInterface {
public:
    struct Message {
        std::string text;
        std::string title;
        shell::MessageIcon icon;
        shell::MessageButtons buttons;
    };
    struct Dialog {
        bool save;
        shell::FileDialogRequest request;
    };
    struct ProgramStart {
        std::string program;
        std::vector<std::string> arguments;
    };

    // Answers for message boxes with more than an OK button, in order. A question asked with
    // no answer queued fails the test: nothing is ever left waiting or answered by guess.
    std::deque<shell::MessageAnswer> answers;
    // Results of file dialogs in order; std::nullopt means the user cancelled.
    std::deque<std::optional<std::string>> fileChoices;
    // Results of program starts in order; Started when none is queued.
    std::deque<shell::StartResult> startResults;

    std::vector<Message> messages;
    std::vector<Dialog> dialogs;
    std::vector<ProgramStart> programStarts;
    std::vector<bool> busyChanges;
    int yields = 0;
    int beeps = 0;
    bool busy = false;

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const shell::FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const shell::FileDialogRequest& request) override;
    void setBusy(bool on) override;
    void yield() override;
    void beep() override;
    shell::StartResult startProgram(const std::string& program, const std::vector<std::string>& arguments) override;

private:
    std::optional<std::string> nextFileChoice(bool save, const shell::FileDialogRequest& request);
};

} // namespace kavero::testing
