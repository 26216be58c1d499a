// The main window's behaviour without a window system: its load and unload, and what each
// menu item and button does, called by the Qt window with the model pulled from the widgets.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/windows.h"
#include "shell/main_form.h"
#include "shell/progress_host.h"
#include "shell/settings_store.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::app {

struct MainWindowContext {
    shell::UserInterface& ui;
    shell::SettingsStore& store;
    // Where provider.txt is looked for: the folder of the program file.
    std::filesystem::path programFolder;
    // A database named on the command line; opened instead of the one of the last run.
    std::optional<std::string> databaseArgument;
    // How Access files are read (the Jet 3 code page); taken from the environment at load.
    source::ReadOptions readOptions{};
    // The progress window: where the direct command shows its status lines and hands the
    // record copy to a worker thread. Set by the program once its windows exist.
    shell::ProgressHost* progress = nullptr;

    // Boxes about the database named on the command line, held back by the load so that they
    // do not stand over the splash window; start-up shows them once the main window is up.
    struct HeldMessage {
        std::string text;
        std::string title;
        shell::MessageIcon icon;
    };
    std::vector<HeldMessage> heldMessages{};
};

// Title of the box that reports a failure during start-up, the load's own reports included.
inline constexpr const char* kStartupErrorTitle = "On load splash";

// Fills every control, in this order: caption, position, settings, publish-to rows,
// terminator items, empty grids, data source list, provider list, the settings of the
// controls added since, the last database, tab page 0.
void loadMainWindow(shell::frmMain& form, MainWindowContext& context);
// Saves every setting. Keys the store refuses are reported together in one box; the others
// are saved all the same.
void unloadMainWindow(shell::frmMain& form, MainWindowContext& context);

// eClose: unloads every loaded window, ignoring failures, so the program ends.
void quit(Windows& windows);
// Exitprogram (and the close box): unloads the main window only; a progress window stays.
void exitProgram(Windows& windows);

// The Help menu's web pages: HelpOntheweb, Support and ISPSupport open the maker's redirect
// page for their command word in the browser.
void helpOnTheWebClick(MainWindowContext& context);
void supportClick(MainWindowContext& context);
void ispSupportClick(MainWindowContext& context);

// ManuelUpload and eDirectToISP clicks.
void publishToClick(shell::frmMain& form);
// eGetFileName: choose an Access file and open it.
void getFileNameClick(shell::frmMain& form, MainWindowContext& context);
// eTables: load the design of the table picked in the list into the field and key grids.
void tablesClick(shell::frmMain& form, MainWindowContext& context);
// eCOnvertLocal ("Go" under "To file"): the script on the "Script output" page.
void convertLocalClick(shell::frmMain& form, MainWindowContext& context);
// eConvertDirectly ("Go" under "Directly to local SQL server"): script and records over ODBC.
void convertDirectlyClick(shell::frmMain& form, MainWindowContext& context);
// eGetAspFile: choose the main page the web-host pages are written under.
void getAspFileClick(shell::frmMain& form, MainWindowContext& context);
// ePublishToISP ("Go" under "To your ISP over Http"): the page set in the output folder.
void publishToIspClick(shell::frmMain& form, MainWindowContext& context);

// Enter in eFilename: opens the typed path; a path that leads nowhere is reported.
void filenameEnter(shell::frmMain& form, MainWindowContext& context);
// eAllowFieldNamesIwthSpace ticked: a database whose table list was emptied for a blank in a
// name is listed again.
void allowSpaceClick(shell::frmMain& form, MainWindowContext& context);
// eLossless toggled: the table list of an open database gains or loses the tables of its
// attachment and multi-value fields' values; the table picked stays picked where it is listed.
void losslessClick(shell::frmMain& form, MainWindowContext& context);
// eSaveScript: asks for a file name and writes the script box's text to it, as it stands.
void saveScriptClick(shell::frmMain& form, MainWindowContext& context);

// Title of the box that reports a script that could not be written.
inline constexpr const char* kSaveScriptErrorTitle = "Error on saving the script, on Save as";

} // namespace kavero::app
