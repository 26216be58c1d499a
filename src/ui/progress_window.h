// The progress window frmShowProgress: status lines newest first, the bar and eOk. It is the
// progress host of the desktop program: a command's status calls show at once, and work
// handed to it runs on a worker thread while a timer takes the worker's calls a few times a
// second, so the window and the main window stay usable during a long copy.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "shell/progress_form.h"
#include "shell/progress_host.h"
#include "shell/status_worker.h"
#include "shell/user_interface.h"
#include "ui/form_binding.h"

class QCloseEvent;
class QKeyEvent;

namespace kavero::ui {

class StatusLineModel;

class ProgressWindow : public QWidget, public shell::ProgressHost {
public:
    ProgressWindow(shell::frmShowProgress& model, shell::UserInterface& ui, QWidget* parent = nullptr);
    // Work still running is asked to stop and waited for.
    ~ProgressWindow() override;

    void showStatus(std::string_view message, bool finish, bool start, std::int32_t& total, bool noStep) override;
    void startWork(shell::StatusWork work) override;
    bool working() const override { return m_worker != nullptr; }

    // Told true when work starts and false once it has ended and its last lines are shown.
    void setWorkingChanged(std::function<void(bool)> changed) { m_workingChanged = std::move(changed); }

    shell::frmShowProgress& model() { return m_model; }
    // The model onto the widgets; the window appears once the model is shown.
    void push();

protected:
    // While work runs, closing asks whether to stop it and keeps the window, so that the
    // worker's last line is seen; otherwise closing unloads the window.
    void closeEvent(QCloseEvent* event) override;
    // Escape closes as the close box does; Copy puts the selected lines on the clipboard.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takePosted();

    shell::frmShowProgress& m_model;
    shell::UserInterface& m_ui;
    FormBinding m_binding;
    StatusLineModel* m_lines;
    QTimer m_timer;
    std::unique_ptr<shell::StatusWorker> m_worker;
    std::function<void(bool)> m_workingChanged;
    // The user said No to stopping; further closes of the same action (Quit tries a window
    // that stays more than once) are refused without asking again.
    bool m_keepRunning = false;
};

} // namespace kavero::ui
