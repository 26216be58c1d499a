// The user-interface port: everything a command needs from the screen besides the window
// models. The Qt program implements it with real dialogs, kavero-cli with the console, and
// tests with a scripted implementation.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavero::shell {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct FileDialogRequest {
    std::string title;
    std::string filter;      // a pattern such as "*.mdb"
    std::string presetName;  // the name the dialog opens with, folder included
    std::string defaultExtension;
};

enum class StartResult { Started, NotFound, Failed };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual MessageAnswer messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // The chosen file name, or nothing when the user cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;
    virtual void setBusy(bool busy) = 0;
    // Lets the window system repaint; the Qt side pushes the window models to the widgets here.
    virtual void yield() = 0;
    virtual void beep() = 0;
    virtual StartResult startProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

} // namespace kavero::shell
