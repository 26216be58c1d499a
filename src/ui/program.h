// Everything the desktop program is made of, put together once: models, windows, the
// window system and the context of the main window's commands. main() and the GUI tests
// build it the same way, differing only in the port, the store and the program folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "shell/main_form.h"
#include "shell/progress_form.h"
#include "shell/splash_form.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"
#include "ui/qt_windows.h"
#include "ui/small_windows.h"

namespace kavero::ui {

class Program {
public:
    Program(shell::UserInterface& ui, shell::SettingsStore& store, std::filesystem::path programFolder,
            std::optional<std::string> database = std::nullopt);

    // The start-up procedure: splash, main window load, splash away, main window shown.
    void start();

    shell::frmMain& model() { return m_model; }
    shell::frmSplash& splashModel() { return m_splashModel; }
    MainWindow& mainWindow() { return m_main; }
    SplashWindow& splash() { return m_splash; }
    shell::frmShowProgress& progressModel() { return m_progressModel; }
    ProgressWindow& progressWindow() { return m_progress; }
    QtWindows& windows() { return m_windows; }
    app::MainWindowContext& context() { return m_context; }

private:
    app::MainWindowContext m_context;
    shell::frmMain m_model;
    shell::frmSplash m_splashModel;
    QtWindows m_windows;
    MainWindow m_main;
    SplashWindow m_splash;
    shell::frmShowProgress m_progressModel;
    // Last, so that it goes first: a worker still running is stopped before anything it
    // might read is gone.
    ProgressWindow m_progress;
};

} // namespace kavero::ui
