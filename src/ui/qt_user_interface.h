// The user-interface port with real Qt dialogs: message boxes, the file dialog, the busy
// pointer, yielding to the event loop, the bell and program starts.
#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QWidget>
#include <QStringList>

#include <functional>

#include "shell/user_interface.h"

namespace kavero::ui {

class QtUserInterface : public shell::UserInterface {
public:
    // Boxes and dialogs open over `owner` (the main window once it exists); file dialogs use
    // `dialog` (the main window's dlgCommonDialog) when given.
    void setOwner(QWidget* owner) { m_owner = owner; }
    void setFileDialog(QFileDialog* dialog) { m_dialog = dialog; }
    // Runs on every yield before events are processed: the window pushes its model there.
    void setBeforeYield(std::function<void()> push) { m_beforeYield = std::move(push); }

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const shell::FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const shell::FileDialogRequest& request) override;
    void setBusy(bool busy) override;
    void yield() override;
    void beep() override;
    shell::StartResult startProgram(const std::string& program, const std::vector<std::string>& arguments) override;

    // The dialog's name filters for a pattern such as "*.mdb": for Access files both kinds
    // together first, then each kind alone; otherwise the pattern; then every file.
    static QStringList nameFilters(const std::string& pattern);

private:
    std::optional<std::string> fileDialog(const shell::FileDialogRequest& request, bool save);

    QPointer<QWidget> m_owner;
    QPointer<QFileDialog> m_dialog;
    std::function<void()> m_beforeYield;
    int m_busyDepth = 0;
};

} // namespace kavero::ui
