// The "Go" of "To your ISP over Http": the page set written into the output folder, ready to
// be uploaded to a web server that runs ASP pages and reaches the MySQL server.
#pragma once

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

// The closing message: how to upload and run the pages.
std::string publishInstructions(const std::string& outputFile);

// eGetAspFile: the save dialog that chooses the output file; a cancelled dialog or a pattern
// leaves eSourceDest as it is.
void chooseAspFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& store);

// ePublishToISP. Asks whether the old pages of the output folder go, shows what is missing,
// then writes the main page and createtable.asp and, with eISPAlsoCopyData, the copy chain,
// and ends with the instructions. An output file that names no folder is refused before
// anything is asked or deleted. `written` hears of each page written.
shell::CommandResult publishToIsp(shell::frmMain& form, shell::UserInterface& ui, const source::ReadOptions& options,
                                  const publish::PageFolder::WrittenSink& written = {});

} // namespace kavero::app
