// Splash and About window loads, and the system information viewer.
#include "app/small_windows.h"

#include <sys/utsname.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "app/product_info.h"
#include "app/web_help.h"

namespace kavero::app {

namespace {

// PRETTY_NAME from os-release, without its quotes.
std::string distributionName() {
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            constexpr std::string_view kKey = "PRETTY_NAME=";
            if (line.rfind(kKey, 0) != 0) continue;
            std::string value = line.substr(kKey.size());
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return value;
        }
    }
    return {};
}

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) return false;
    return (status.permissions() & (std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                    std::filesystem::perms::others_exec)) != std::filesystem::perms::none;
}

std::string findOnPath(std::string_view program, const std::string& searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t colon = std::min(searchPath.find(':', start), searchPath.size());
        const std::string folder = searchPath.substr(start, colon - start);
        if (!folder.empty()) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / program;
            if (isExecutableFile(candidate)) return candidate.string();
        }
        start = colon + 1;
    }
    return {};
}

} // namespace

std::string platformLine() {
    std::string line = "Platform ";
    const std::string distribution = distributionName();
    utsname system{};
    const bool haveSystem = uname(&system) == 0;
    if (!distribution.empty()) line += distribution;
    if (haveSystem) {
        line += (distribution.empty() ? "" : ", ") + std::string(system.sysname) + " " + system.machine;
    }
    if (distribution.empty() && !haveSystem) line += "unknown";
    return line;
}

void loadSplash(shell::frmSplash& splash) {
    splash.loaded = true;
    splash.lblVersion.caption = "Version " + versionText();
    splash.lblCopyright.caption = kLegalCopyright;
    splash.lblPlatform.caption = platformLine();
}

void loadAbout(shell::frmAbout& about) {
    about.loaded = true;
    about.caption = "KAVERO " + versionText();
    about.lblVersion.caption = "Version " + versionText();
    about.lblTitle.caption = "KAVERO";
    about.lblDescription.caption = kFileDescription;
    about.Label2.caption = kLegalCopyright;
    about.Label1.caption = kWebAddress;
}

void webAddressClick(const shell::frmAbout& about, shell::UserInterface& ui) {
    startBrowser(ui, about.Label1.caption);
}

void startSysInfo(shell::UserInterface& ui, const std::string& searchPath) {
    for (const char* program : kSystemInfoPrograms) {
        const std::string path = findOnPath(program, searchPath);
        if (path.empty()) continue;
        if (ui.startProgram(path, {}) == shell::StartResult::Started) return;
        break;
    }
    ui.messageBox("System Information Is Unavailable At This Time", "KAVERO on start sysinfo", shell::MessageIcon::None,
                  shell::MessageButtons::Ok);
}

} // namespace kavero::app
