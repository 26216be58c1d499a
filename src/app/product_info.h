// Texts the program tells about itself: the version information a Windows build carried in
// its resources, kept in one place for the splash and About windows.
#pragma once

#include <string>

namespace kavero::app {

inline constexpr const char* kFileDescription = "KAVERO converts MS-Access databases to mySQL servers";
inline constexpr const char* kLegalCopyright = "Copyright \xC2\xA9 2026 the KAVERO developers";
// The maker's web site: its host (placeholder until there is a real one) and the address the
// About window shows, on the same host.
inline constexpr const char* kWebHost = "kavero.example.org";
inline constexpr const char* kWebAddress = "https://kavero.example.org/";

// "1.1.0": major, minor and revision in plain decimal.
std::string versionText();
// "KAVERO Version 1.1", the main window's caption.
std::string mainCaption();

} // namespace kavero::app
