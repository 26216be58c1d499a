// Web-help addresses and the browser start.
#include "app/web_help.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/product_info.h"
#include "kavero/version.h"

namespace kavero::app {

namespace {

std::vector<std::string> split(std::string_view text, std::string_view separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
        if (end > start) parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// One command of BROWSER for `url`: its words with "%s" replaced, or the URL added last;
// nothing for an entry of blanks.
std::vector<std::string> browserCommand(const std::string& entry, const std::string& url) {
    std::vector<std::string> words = split(entry, " \t");
    if (words.empty()) return words;
    bool placed = false;
    for (std::string& word : words) {
        for (std::size_t at = word.find("%s"); at != std::string::npos; at = word.find("%s", at + url.size())) {
            word.replace(at, 2, url);
            placed = true;
        }
    }
    if (!placed) words.push_back(url);
    return words;
}

} // namespace

std::string webHelpUrl(std::string_view commandWord) {
    return "http://" + std::string(kWebHost) + "/redirect.asp?cmd=" + std::string(commandWord) +
           "&major=" + std::to_string(kVersionMajor) + "&minor=" + std::to_string(kVersionMinor) +
           "&revision=" + std::to_string(kVersionRevision);
}

void startBrowser(shell::UserInterface& ui, const std::string& url) {
    std::vector<std::vector<std::string>> commands;
    if (const char* setting = std::getenv("BROWSER")) {
        for (const std::string& entry : split(setting, ":")) {
            std::vector<std::string> command = browserCommand(entry, url);
            if (!command.empty()) commands.push_back(std::move(command));
        }
    }
    // A BROWSER that is set is the user's choice: when it fails, no other browser is tried.
    if (commands.empty()) commands.push_back({"xdg-open", url});

    bool refused = false;
    for (const std::vector<std::string>& command : commands) {
        const std::vector<std::string> arguments(command.begin() + 1, command.end());
        const shell::StartResult result = ui.startProgram(command.front(), arguments);
        if (result == shell::StartResult::Started) return;
        refused = refused || result == shell::StartResult::Failed;
    }
    if (refused) {
        ui.messageBox("Web Page not Opened", "URL Failed, on start browser", shell::MessageIcon::Exclamation,
                      shell::MessageButtons::Ok);
    } else {
        ui.messageBox("Could not find associated Browser", "Browser Not Found, on start browser",
                      shell::MessageIcon::Exclamation, shell::MessageButtons::Ok);
    }
}

} // namespace kavero::app
