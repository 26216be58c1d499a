// The program's start: splash window, main window load, splash away, main window shown.
#pragma once

#include "app/main_window.h"
#include "app/windows.h"
#include "shell/splash_form.h"

namespace kavero::app {

// Each step runs on its own: a failure is shown in a box titled "On load splash" (its
// description, a blank and its number) and start-up goes on with the next step, so the main
// window is shown even when its load ended early. Boxes the load held back about the database
// named on the command line come last, over the main window.
void runStartup(Windows& windows, shell::frmSplash& splash, shell::frmMain& form, MainWindowContext& context);

// The text the start-up box shows for a failure: description, a blank, the number.
std::string startupErrorText(const std::exception& error);

} // namespace kavero::app
