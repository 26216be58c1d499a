// The "Go" of "To your ISP over Http": the page set written into the output folder, ready to
// be uploaded to a web server that runs ASP pages (or, with ePhpPages, PHP pages) and reaches
// the MySQL server.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "publish/page_writer.h"
#include "shell/command_result.h"
#include "shell/main_form.h"
#include "shell/settings_store.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::app {

// The example web server of the closing message.
inline constexpr std::string_view kExampleHost = "www.your-web-host.com";

// The folder the pages go to (up to and including the last "/" of the output file) and the
// main page's name (after it).
std::string outputFolder(const std::string& outputFile);
std::string mainPageName(const std::string& outputFile);

// The main page's name in the given flavour. The PHP pages' main page must end in ".php" to
// run: a name ending in ".asp" (as chosen for the ASP pages) gets ".php" in its place; any
// other name gives nothing, and the command refuses it.
std::optional<std::string> flavouredPageName(const std::string& outputFile, publish::PageFlavour flavour);

// The closing message: how to upload and run the pages. For the PHP pages `token` is the key
// of the run; the address to open carries it.
std::string publishInstructions(const std::string& outputFile, publish::PageFlavour flavour = publish::PageFlavour::Asp,
                                std::string_view token = {});

// eGetAspFile: the save dialog that chooses the output file (a .php one with ePhpPages); a
// cancelled dialog or a pattern leaves eSourceDest as it is.
void chooseAspFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& store);

// ePublishToISP. Asks whether the old pages of the output folder go, shows what is missing,
// then writes the main page and createtable.asp and, with eISPAlsoCopyData, the copy chain,
// and ends with the instructions. An output file that names no folder is refused before
// anything is asked or deleted. `written` hears of each page written. With ePhpPages the
// pages are PHP pages with their configuration file beside them; the old pages deleted are
// then the PHP files KAVERO wrote, never another PHP file of the folder.
shell::CommandResult publishToIsp(shell::frmMain& form, shell::UserInterface& ui, const source::ReadOptions& options,
                                  const publish::PageFolder::WrittenSink& written = {});

} // namespace kavero::app
