// Load, unload, Quit and Exit program of the main window.
#include "app/main_window.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/busy_pointer.h"
#include "app/direct_command.h"
#include "app/product_info.h"
#include "app/publish_command.h"
#include "app/web_help.h"
#include "odbc/data_source_list.h"
#include "script/to_file_command.h"
#include "shell/provider_list.h"
#include "shell/settings.h"
#include "source/open_database.h"
#include "source/table_design.h"

namespace kavero::app {

namespace {

// The port while the database named on the command line opens: boxes with only OK are kept
// for later, everything else goes through.
class HoldingUserInterface : public shell::UserInterface {
public:
    HoldingUserInterface(shell::UserInterface& ui, std::vector<MainWindowContext::HeldMessage>& held)
        : m_ui(ui), m_held(held) {}

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override {
        if (buttons != shell::MessageButtons::Ok) return m_ui.messageBox(text, title, icon, buttons);
        m_held.push_back({std::string(text), std::string(title), icon});
        return shell::MessageAnswer::Ok;
    }
    std::optional<std::string> openFileDialog(const shell::FileDialogRequest& request) override {
        return m_ui.openFileDialog(request);
    }
    std::optional<std::string> saveFileDialog(const shell::FileDialogRequest& request) override {
        return m_ui.saveFileDialog(request);
    }
    void setBusy(bool busy) override { m_ui.setBusy(busy); }
    void yield() override { m_ui.yield(); }
    void beep() override { m_ui.beep(); }
    shell::StartResult startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        return m_ui.startProgram(program, arguments);
    }

private:
    shell::UserInterface& m_ui;
    std::vector<MainWindowContext::HeldMessage>& m_held;
};

// The key list shows the keys of the design the field list shows. Opening a database empties
// that design, so the previous table's keys and both captions naming it go as well.
void dropKeysOfEmptiedDesign(shell::frmMain& form) {
    if (!form.design.name.empty()) return;
    const shell::frmMain designed;
    form.ekeyListGrid.clear();
    form.eKeyCount.text = "0";
    form.eLabelKey.caption = designed.eLabelKey.caption;
    form.eLabelFields.caption = designed.eLabelFields.caption;
}

// Boxes go to `ui`: the window's, or one that holds them until the window is up.
void openDatabase(shell::frmMain& form, MainWindowContext& context, shell::UserInterface& ui) {
    BusyPointer busy(context.ui);
    source::OpenAccessDatabase(form, ui, context.readOptions);
    dropKeysOfEmptiedDesign(form);
}

// A path the user named just now, on the command line or in the path box: made absolute, and
// a file that is not there reported with the engine's own word, where opening passes a
// vanished file over in silence (which suits the last run's file at start-up).
void openNamedPath(shell::frmMain& form, MainWindowContext& context, shell::UserInterface& ui,
                   const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path given(path);
    const std::filesystem::path absolute = std::filesystem::absolute(given, ignored);
    form.eFilename.text = (absolute.empty() ? given : absolute.lexically_normal()).string();
    if (!std::filesystem::exists(std::filesystem::status(form.eFilename.text, ignored))) {
        try {
            [[maybe_unused]] const source::AccessDatabase database(form.eFilename.text, context.readOptions);
        } catch (const source::EngineError& e) {
            // The box opening a database shows for every other reader error.
            ui.messageBox(e.boxText(), "Error on opening database, on eFilename", shell::MessageIcon::None,
                          shell::MessageButtons::Ok);
        }
        return;
    }
    openDatabase(form, context, ui);
}

// The folder part of a path with its final "/", or empty.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void reopenDatabase(shell::frmMain& form, MainWindowContext& context) {
    if (!context.databaseArgument) {
        if (form.eFilename.text.empty()) return;
        // The last database opens again; one that is gone is passed over without a word.
        openDatabase(form, context, context.ui);
        return;
    }
    // What is wrong with a file named right now is said once the main window is there to say
    // it over.
    HoldingUserInterface holding(context.ui, context.heldMessages);
    openNamedPath(form, context, holding, *context.databaseArgument);
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

void helpOnTheWebClick(MainWindowContext& context) {
    startBrowser(context.ui, webHelpUrl(kHelpPage));
}

void supportClick(MainWindowContext& context) {
    startBrowser(context.ui, webHelpUrl(kSupportPage));
}

void ispSupportClick(MainWindowContext& context) {
    startBrowser(context.ui, webHelpUrl(kIspSupportPage));
}

void publishToClick(shell::frmMain& form) {
    shell::applyPublishToRows(form);
}

void getFileNameClick(shell::frmMain& form, MainWindowContext& context) {
    BusyPointer busy(context.ui);
    source::chooseDatabaseFile(form, context.ui, context.store, context.readOptions);
    dropKeysOfEmptiedDesign(form);
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

void filenameEnter(shell::frmMain& form, MainWindowContext& context) {
    if (form.eFilename.text.empty() || !form.eFilename.enabled) return;
    openNamedPath(form, context, context.ui, form.eFilename.text);
}

void allowSpaceClick(shell::frmMain& form, MainWindowContext& context) {
    // A list that is shown stays as it is: reopening would throw away the table the user picked.
    if (!form.eAllowFieldNamesIwthSpace.checked() || form.eFilename.text.empty() || !form.eTables.items.empty()) {
        return;
    }
    openDatabase(form, context, context.ui);
}

void losslessClick(shell::frmMain& form, MainWindowContext& context) {
    if (form.eFilename.text.empty() || form.eTables.items.empty()) return;
    const std::string* picked = form.eTables.selectedItem();
    const std::string table = picked != nullptr ? *picked : std::string();
    openDatabase(form, context, context.ui);
    const auto found = std::find(form.eTables.items.begin(), form.eTables.items.end(), table);
    if (table.empty() || found == form.eTables.items.end()) return;
    form.eTables.listIndex = static_cast<int>(found - form.eTables.items.begin());
    tablesClick(form, context);
}

void saveScriptClick(shell::frmMain& form, MainWindowContext& context) {
    std::string folder = folderOf(form.eFilename.text);
    if (folder.empty()) folder = source::defaultDatabaseFolder();
    const std::string name = form.design.name.empty() ? std::string("script") : form.design.name;
    const shell::FileDialogRequest request{"Save the script as", "*.sql", folder + name + ".sql", "sql"};
    const std::optional<std::string> chosen = context.ui.saveFileDialog(request);
    if (!chosen || chosen->empty()) return;

    // The box's text as it stands: UTF-8, with the line ends the script was built with.
    const std::string& text = form.eScriptOutPut.text;
    std::string reason;
    if (std::FILE* file = std::fopen(chosen->c_str(), "wb")) {
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        const int writeError = errno;
        if (std::fclose(file) != 0 || !written) reason = std::strerror(written ? errno : writeError);
    } else {
        reason = std::strerror(errno);
    }
    if (!reason.empty()) {
        context.ui.messageBox("The script could not be written to " + *chosen + ": " + reason, kSaveScriptErrorTitle,
                              shell::MessageIcon::Critical, shell::MessageButtons::Ok);
    }
}

} // namespace kavero::app
