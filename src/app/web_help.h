// The Help menu's web pages and the browser they open in.
#pragma once

#include <string>
#include <string_view>

#include "shell/user_interface.h"

namespace kavero::app {

// Command words of the maker's redirect page, one per Help menu item.
inline constexpr std::string_view kHelpPage = "kavero";
inline constexpr std::string_view kSupportPage = "kaverosupport";
inline constexpr std::string_view kIspSupportPage = "kaveroispsupport";

// "http://" host "/redirect.asp?cmd=" word "&major=1&minor=1&revision=0", with this build's version.
std::string webHelpUrl(std::string_view commandWord);

// StartBrowser: opens `url` in the user's browser without waiting for it. The browser is the
// BROWSER environment variable when it names one, as xdg-open reads it: commands separated by
// ":", each a program and its arguments separated by blanks, "%s" standing for the URL (else
// the URL goes last); the first that starts wins. Without it, xdg-open. A browser that cannot
// be found and one that does not start each get their own box; exactly one box either way.
void startBrowser(shell::UserInterface& ui, const std::string& url);

} // namespace kavero::app
