// The windows as the window system holds them: what the start-up procedure, Quit and Exit
// program ask of it. The Qt program implements it with real windows; tests record the calls.
#pragma once

#include <string>
#include <vector>

namespace kavero::app {

class Windows {
public:
    virtual ~Windows() = default;

    // Shows the splash window, not modal, and paints it at once.
    virtual void showSplash() = 0;
    virtual void unloadSplash() = 0;
    // Shows the main window, not modal, with its controls as the model holds them.
    virtual void showMain() = 0;
    // Shows the About window, modal.
    virtual void showAbout() = 0;
    // Names of the loaded windows ("frmMain", "frmShowProgress", …) in the order they were loaded.
    virtual std::vector<std::string> loadedWindows() = 0;
    // Unloads one window; unloading "frmMain" runs its unload (the settings are saved).
    virtual void unloadWindow(const std::string& name) = 0;
};

} // namespace kavero::app
