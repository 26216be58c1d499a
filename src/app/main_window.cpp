// Load, unload, Quit and Exit program of the main window.
#include "app/main_window.h"

#include <filesystem>

#include "app/busy_pointer.h"
#include "app/direct_command.h"
#include "app/product_info.h"
#include "app/publish_command.h"
#include "odbc/data_source_list.h"
#include "script/to_file_command.h"
#include "shell/provider_list.h"
#include "shell/settings.h"
#include "source/open_database.h"
#include "source/table_design.h"

namespace kavero::app {

namespace {

void reopenDatabase(shell::frmMain& form, MainWindowContext& context) {
    if (context.databaseArgument) {
        std::error_code ignored;
        const std::filesystem::path given(*context.databaseArgument);
        const std::filesystem::path absolute = std::filesystem::absolute(given, ignored);
        form.eFilename.text = (absolute.empty() ? given : absolute.lexically_normal()).string();
    }
    if (form.eFilename.text.empty()) return;
    // The last database opens again; one that is gone is passed over without a word.
    BusyPointer busy(context.ui);
    source::OpenAccessDatabase(form, context.ui, context.readOptions);
}

} // namespace

void loadMainWindow(shell::frmMain& form, MainWindowContext& context) {
    form.loaded = true;
    const shell::SettingsProblemSink report = [&](const shell::SettingsError& problem) {
        context.ui.messageBox(problem.boxText(), kStartupErrorTitle, shell::MessageIcon::None,
                              shell::MessageButtons::Ok);
    };

    form.caption = mainCaption();
    try {
        context.readOptions = source::readOptionsFromEnvironment();
    } catch (const source::EngineError& e) {
        context.ui.messageBox(e.boxText(), kStartupErrorTitle, shell::MessageIcon::None, shell::MessageButtons::Ok);
    }
    shell::loadWindowPosition(form, context.store, report);
    shell::loadControlSettings(form, context.store, report);
    shell::applyPublishToRows(form);
    shell::addTerminatorItems(form);
    form.eFieldListGrid.clear();
    form.ekeyListGrid.clear();
    odbc::FillDsnList(form);
    shell::selectSavedDataSource(form, context.store);
    shell::fillProviderList(form, context.store, shell::findProviderFile(context.programFolder), report);
    shell::loadExtensionSettings(form, context.store, report);
    reopenDatabase(form, context);
    form.eTabControl.tab = shell::kTabSelectDatabase;
}

void unloadMainWindow(shell::frmMain& form, MainWindowContext& context) {
    const std::vector<std::string> refused = shell::saveSettings(form, context.store);
    form.loaded = false;
    if (refused.empty()) return;
    std::string keys;
    for (const std::string& key : refused) keys += (keys.empty() ? "" : ", ") + key;
    context.ui.messageBox("These settings could not be saved: " + keys, "Error on saving settings, on frmMain unload",
                          shell::MessageIcon::Exclamation, shell::MessageButtons::Ok);
}

void quit(Windows& windows) {
    // One pass over the windows loaded now, then again for any a failed unload left behind,
    // with a bound: a window that refuses to go must not keep Quit looping.
    for (int pass = 0; pass < 3; ++pass) {
        const std::vector<std::string> loaded = windows.loadedWindows();
        if (loaded.empty()) return;
        for (const std::string& name : loaded) {
            try {
                windows.unloadWindow(name);
            } catch (...) {
                // Quit ends the program whatever a window does on its way out.
            }
        }
    }
}

void exitProgram(Windows& windows) {
    windows.unloadWindow(std::string(shell::frmMain().name));
}

void publishToClick(shell::frmMain& form) {
    shell::applyPublishToRows(form);
}

void getFileNameClick(shell::frmMain& form, MainWindowContext& context) {
    BusyPointer busy(context.ui);
    source::chooseDatabaseFile(form, context.ui, context.store, context.readOptions);
}

void tablesClick(shell::frmMain& form, MainWindowContext& context) {
    const std::string* table = form.eTables.selectedItem();
    if (!table) return;
    source::loadTableDesign(form, context.ui, *table, context.readOptions);
}

void convertDirectlyClick(shell::frmMain& form, MainWindowContext& context) {
    if (context.progress == nullptr) return;
    convertDirectly(form, context.ui, *context.progress, context.readOptions);
}

void convertLocalClick(shell::frmMain& form, MainWindowContext& context) {
    script::convertToFile(form, context.ui);
}

void getAspFileClick(shell::frmMain& form, MainWindowContext& context) {
    chooseAspFile(form, context.ui, context.store);
}

void publishToIspClick(shell::frmMain& form, MainWindowContext& context) {
    publishToIsp(form, context.ui, context.readOptions);
}

} // namespace kavero::app
