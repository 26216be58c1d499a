// The window system as src/app sees it, over the Qt windows of the program.
#pragma once

#include <QPointer>

#include "app/windows.h"
#include "shell/user_interface.h"

namespace kavero::ui {

class MainWindow;
class SplashWindow;

class QtWindows : public app::Windows {
public:
    explicit QtWindows(shell::UserInterface& ui) : m_ui(ui) {}

    void setMain(MainWindow* main) { m_main = main; }
    void setSplash(SplashWindow* splash) { m_splash = splash; }

    void showSplash() override;
    void unloadSplash() override;
    void showMain() override;
    void showAbout() override;
    std::vector<std::string> loadedWindows() override;
    void unloadWindow(const std::string& name) override;

private:
    shell::UserInterface& m_ui;
    QPointer<MainWindow> m_main;
    QPointer<SplashWindow> m_splash;
};

} // namespace kavero::ui
