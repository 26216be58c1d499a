// The splash and About windows' own behaviour.
#pragma once

#include <string>

#include "shell/about_form.h"
#include "shell/splash_form.h"
#include "shell/user_interface.h"

namespace kavero::app {

// "Platform " and the system the program runs on, e.g. "Platform Debian GNU/Linux 12
// (bookworm), Linux x86_64".
std::string platformLine();

void loadSplash(shell::frmSplash& splash);
void loadAbout(shell::frmAbout& about);

// Label1 click or double click: the web address it shows, opened in the browser.
void webAddressClick(const shell::frmAbout& about, shell::UserInterface& ui);

// Programs that show the machine's hardware and system, looked for on PATH in this order.
inline constexpr const char* kSystemInfoPrograms[] = {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"};

// cmdSysInfo: starts the first system information program found on `searchPath` (a PATH
// value); without one, or when it does not start, says it is unavailable.
void startSysInfo(shell::UserInterface& ui, const std::string& searchPath);

} // namespace kavero::app
