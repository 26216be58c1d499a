// kavero-cli script: the table script exactly as "To file" leaves it in the script box.
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "script/to_file_command.h"
#include "shell/main_form.h"
#include "source/open_database.h"
#include "source/table_design.h"

namespace kavero::cli {

namespace {

struct ScriptArguments {
    std::string file;
    std::string table;
    std::string keys = "key";
    std::string terminator = ";";
    bool allowSpaces = false;
    CodePageOption codePage;
};

int runScript(const ScriptArguments& args) {
    const source::ReadOptions options = args.codePage.readOptions();
    shell::frmMain form;
    prepareForm(form, args.file, args.allowSpaces);
    try {
        source::AccessDatabase database(args.file, options);
        const std::optional<std::string> table = findUserTable(database, args.table);
        if (!table) {
            printDiagnostic(noSuchTable(args.table, args.file));
            return kExitFailed;
        }
        // As a pick in the table list; other tables with a blank in their name do not matter
        // here, this one's does.
        if (!args.allowSpaces && table->find(' ') != std::string::npos) {
            return reportResult(shell::CommandResult::stopped(shell::StopReason::BlankInName, {}, *table), "table name");
        }
        form.eTables.items = source::userTables(database);
        for (std::size_t i = 0; i < form.eTables.items.size(); ++i) {
            if (form.eTables.items[i] == *table) form.eTables.listIndex = static_cast<int>(i);
        }
    } catch (const source::EngineError& e) {
        printError(e);
        return kExitFailed;
    }

    Console console;
    shell::CommandResult result = source::loadTableDesign(form, console, *form.eTables.selectedItem(), options);
    if (!result.ok()) return reportResult(result, "field name");
    if (args.keys == "index") {
        form.setOption(form.eCreateIndex);
    } else if (args.keys == "none") {
        form.setOption(form.eCreateNoKeys);
    } else {
        form.setOption(form.ECreateKey);
    }
    form.eSQLTerminator.text = args.terminator;
    result = script::convertToFile(form, console);
    if (!result.ok()) return reportResult(result);
    Output out;
    out.write(form.eScriptOutPut.text);
    return out.finish() ? kExitDone : kExitFailed;
}

} // namespace

void addScriptCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<ScriptArguments>();
    CLI::App* command =
        app.add_subcommand("script", "Print the MySQL script of a table, as the \"To file\" target makes it");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name (any letter case)")->required();
    command
        ->add_option("--keys", args->keys,
                     "key: keys inside CREATE TABLE; index: CREATE INDEX lines; none: only the AutoNumber key")
        ->check(CLI::IsMember({"key", "index", "none"}))
        ->capture_default_str();
    command
        ->add_option("--terminator", args->terminator,
                     "What ends each statement: CR, CrLf, or any text used as it stands")
        ->capture_default_str();
    command->add_flag("--allow-spaces", args->allowSpaces,
                      "Allow table and field names with a blank, and keep the backquotes around names");
    args->codePage.addTo(*command);
    command->callback([args, &exitStatus] { exitStatus = runScript(*args); });
}

} // namespace kavero::cli
