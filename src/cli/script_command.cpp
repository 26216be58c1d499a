// kavero-cli script: the table script exactly as "To file" leaves it in the script box.
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "script/to_file_command.h"
#include "shell/main_form.h"

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
    shell::frmMain form;
    Console console;
    if (const auto failed =
            pickTable(form, console, args.file, args.table, args.allowSpaces, args.codePage.readOptions())) {
        return *failed;
    }
    applyKeysOption(form, args.keys);
    form.eSQLTerminator.text = args.terminator;
    const shell::CommandResult result = script::convertToFile(form, console);
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
    addKeysOption(*command, args->keys);
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
