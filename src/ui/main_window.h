// The main window frmMain: three tab pages, menus and the Quit button, laid out with Qt
// layouts. Each handler pulls the model from the widgets, runs the command of src/app and
// pushes the model back.
#pragma once

#include <QMainWindow>

#include <functional>

#include "app/main_window.h"
#include "app/windows.h"
#include "shell/main_form.h"
#include "ui/form_binding.h"

class QFileDialog;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace kavero::ui {

class MainWindow : public QMainWindow {
public:
    MainWindow(shell::frmMain& model, app::MainWindowContext& context, app::Windows& windows,
               QWidget* parent = nullptr);

    shell::frmMain& model() { return m_model; }
    FormBinding& binding() { return m_binding; }
    QFileDialog* fileDialog() const { return m_fileDialog; }

    // While a record copy runs, the direct command's Go is disabled: a second copy could only
    // be refused, and the user sees at once that one is still going.
    void setCopyRunning(bool running);

    // The model's place and size in twips onto the window, and back. A place or size that no
    // longer fits the screen's available area is brought back onto it.
    void placeFromModel();
    void placeIntoModel();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    QWidget* buildDatabasePage();
    QWidget* buildPublishPage();
    QWidget* buildScriptPage();
    void buildMenus();
    // Tab order, page turning and the menu key.
    void buildKeyboard();
    // The pages' least size within `room`, the space the screen leaves for the window, for a
    // window of about the `wanted` size.
    void fitPagesInto(const QSize& room, const QSize& wanted);
    void connectHandlers();

    // Pull, run, push; a command that is still running (it may yield) is not entered again.
    void handle(const std::function<void()>& command);

    shell::frmMain& m_model;
    app::MainWindowContext& m_context;
    app::Windows& m_windows;
    FormBinding m_binding;
    QFileDialog* m_fileDialog = nullptr;
    bool m_running = false;
    bool m_unloaded = false;
};

} // namespace kavero::ui
