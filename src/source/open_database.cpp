// Database choice and the table list.
#include "source/open_database.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "kavero/version.h"
#include "shell/ascii.h"
#include "source/engine.h"

namespace kavero::source {

namespace {

constexpr std::string_view kPattern = "*.mdb";
constexpr std::string_view kSystemPrefix = "MSys";

bool acceptableName(const std::string& name) {
    return !name.empty() && name != kPattern && name.find('*') == std::string::npos;
}

// A folder or other special file exists too: the reader then says what it is.
bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    return std::filesystem::exists(std::filesystem::status(path, error));
}

void emptyFieldList(shell::frmMain& form) {
    form.eFieldListGrid.clear();
    form.eFieldCount.text = "0";
    form.design = {};
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

shell::CommandResult OpenAccessDatabase(shell::frmMain& form, shell::UserInterface& ui, const ReadOptions& options) {
    const std::string path = form.eFilename.text;
    if (!fileExists(path) || !form.eFilename.enabled) return shell::CommandResult::done();

    form.eTables.clear();
    emptyFieldList(form);
    shell::CommandResult result;
    if (acceptableName(path)) {
        try {
            AccessDatabase database(path, options);
            // The lossless rules also copy the values of attachment and multi-value fields.
            for (const std::string& name : userTables(database, form.eLossless.checked)) {
                if (!form.eAllowFieldNamesIwthSpace.checked() && name.find(' ') != std::string::npos) {
                    result = shell::CommandResult::stopped(
                        shell::StopReason::BlankInName,
                        "You have a space( )in your database name " + name + "\r\n" +
                            "If your mySQL server supports fields and table name with space check the 'Allow "
                            "table and field name with space' under 'Index/key options'" +
                            "\r\n" + "And load the database again",
                        name);
                }
                form.eTables.addItem(name);
            }
            if (!result.ok()) {
                ui.messageBox(result.text, kProductName, shell::MessageIcon::Critical, shell::MessageButtons::Ok);
                form.eTables.clear();
            }
        } catch (const EngineError& e) {
            ui.messageBox(e.boxText(), "Error on opening database, on eFilename", shell::MessageIcon::None,
                          shell::MessageButtons::Ok);
            return shell::CommandResult::failed(e);
        }
    }
    form.eLabelTabelname.caption = fileNamePart(path);
    return result;
}

std::vector<std::string> userTables(AccessDatabase& database, bool valuesTables) {
    const std::vector<TableEntry> tables = database.tableDefs();
    std::vector<ValuesTable> values;
    if (valuesTables) values = database.valuesTables();
    std::vector<std::string> names;
    for (const TableEntry& table : tables) {
        // "MSys" tables are the engine's; ACE files also keep hidden tables (the attachment
        // data f_..._Data) that the catalog marks as system tables.
        if (table.name.compare(0, kSystemPrefix.size(), kSystemPrefix) == 0 || table.system) continue;
        names.push_back(table.name);
        for (const ValuesTable& v : values) {
            // A table of the file that has the name already is the one the name opens.
            const bool taken = std::any_of(tables.begin(), tables.end(), [&](const TableEntry& other) {
                return shell::equalsIgnoringCase(other.name, v.name);
            });
            if (v.table == table.name && !taken) names.push_back(v.name);
        }
    }
    return names;
}

void chooseDatabaseFile(shell::frmMain& form, shell::UserInterface& ui, const shell::SettingsStore& settings,
                        const ReadOptions& options) {
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
    OpenAccessDatabase(form, ui, options);
}

} // namespace kavero::source
