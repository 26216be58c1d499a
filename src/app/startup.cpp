// The start-up procedure and its one error handler.
#include "app/startup.h"

#include <exception>
#include <vector>

#include "app/small_windows.h"
#include "shell/numbered_error.h"

namespace kavero::app {

std::string startupErrorText(const std::exception& error) {
    if (const auto* numbered = dynamic_cast<const shell::NumberedError*>(&error)) return numbered->boxText();
    return std::string(error.what()) + " 0";
}

namespace {

template <class Step> void runStep(shell::UserInterface& ui, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        ui.messageBox(startupErrorText(error), kStartupErrorTitle, shell::MessageIcon::None, shell::MessageButtons::Ok);
    }
}

} // namespace

void runStartup(Windows& windows, shell::frmSplash& splash, shell::frmMain& form, MainWindowContext& context) {
    shell::UserInterface& ui = context.ui;
    runStep(ui, [&] {
        loadSplash(splash);
        windows.showSplash();
    });
    runStep(ui, [&] { loadMainWindow(form, context); });
    runStep(ui, [&] { windows.unloadSplash(); });
    runStep(ui, [&] { windows.showMain(); });
    // What the load held back about the database named on the command line, now over the
    // main window instead of over the splash.
    const std::vector<MainWindowContext::HeldMessage> held = std::move(context.heldMessages);
    context.heldMessages.clear();
    for (const MainWindowContext::HeldMessage& message : held) {
        runStep(ui, [&] { ui.messageBox(message.text, message.title, message.icon, shell::MessageButtons::Ok); });
    }
}

} // namespace kavero::app
