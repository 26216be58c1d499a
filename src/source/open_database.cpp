// Database choice and the table list.
#include "source/open_database.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "kavero/version.h"
#include "source/engine.h"

namespace kavero::source {

namespace {

constexpr std::string_view kPattern = "*.mdb";
constexpr std::string_view kSystemPrefix = "MSys";

bool acceptableName(const std::string& name) {
    return !name.empty() && name != kPattern && name.find('*') == std::string::npos;
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

void emptyFieldList(shell::frmMain& form) {
    form.eFieldListGrid.clear();
    form.eFieldCount.text = "0";
}

} // namespace

std::string defaultDatabaseFolder() {
    const char* home = std::getenv("HOME");
    std::string folder = home != nullptr ? home : "";
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string fileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void OpenAccessDatabase(shell::frmMain& form, shell::UserInterface& ui) {
    const std::string path = form.eFilename.text;
    if (!fileExists(path) || !form.eFilename.enabled) return;

    form.eTables.clear();
    emptyFieldList(form);
    if (acceptableName(path)) {
        try {
            AccessDatabase database(path);
            std::string pending;
            for (const TableEntry& table : database.tableDefs()) {
                const std::string& name = table.name;
                // "MSys" tables are the engine's; ACE files also keep hidden tables (the
                // attachment data f_..._Data) that the catalog marks as system tables.
                if (name.compare(0, kSystemPrefix.size(), kSystemPrefix) == 0 || table.system) continue;
                if (!form.eAllowFieldNamesIwthSpace.checked() && name.find(' ') != std::string::npos) {
                    pending = "You have a space( )in your database name " + name + "\r\n" +
                              "If your mySQL server supports fields and table name with space check the 'Allow "
                              "table and field name with space' under 'Index/key options'" +
                              "\r\n" + "And load the database again";
                }
                form.eTables.addItem(name);
            }
            if (!pending.empty()) {
                ui.messageBox(pending, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
                form.eTables.clear();
            }
        } catch (const EngineError& e) {
            ui.messageBox(e.description() + " " + std::to_string(e.number()), "Error on opening database, on eFilename",
                          shell::MessageIcon::None, shell::MessageButtons::Ok);
            return;
        }
    }
    form.eLabelTabelname.caption = fileNamePart(path);
}

void chooseDatabaseFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& settings) {
    std::string preset;
    if (!form.eFilename.text.empty()) {
        const std::size_t slash = form.eFilename.text.rfind('/');
        preset = slash == std::string::npos ? std::string() : form.eFilename.text.substr(0, slash + 1);
    } else {
        preset = settings.read(kDatabasePathSetting, defaultDatabaseFolder());
    }
    preset += kPattern;

    form.dlgCommonDialog.fileName = preset;
    form.dlgCommonDialog.filter = std::string(kPattern);
    form.dlgCommonDialog.defaultExt = "mdb";
    form.dlgCommonDialog.dialogTitle = "Select Access source database";
    const shell::FileDialogRequest request{form.dlgCommonDialog.dialogTitle, form.dlgCommonDialog.filter, preset,
                                           form.dlgCommonDialog.defaultExt};
    // A cancelled dialog leaves the preset name, which is refused below like any pattern.
    const std::string chosen = ui.openFileDialog(request).value_or(preset);
    if (!acceptableName(chosen)) return;
    form.dlgCommonDialog.fileName = chosen;
    form.eFilename.text = chosen;
    OpenAccessDatabase(form, ui);
}

} // namespace kavero::source
