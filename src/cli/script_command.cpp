// kavero-cli script: the table script exactly as "To file" leaves it in the script box.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/access_console.h"
#include "cli/commands.h"
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
    std::optional<int> codePage;
};

// Every box but the closing information means something stopped the conversion.
class ScriptConsole : public MessageConsole {
public:
    bool stopped = false;

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override {
        if (text != script::kScriptCreatedMessage) stopped = true;
        return MessageConsole::messageBox(text, title, icon, buttons);
    }
};

int runScript(const ScriptArguments& args) {
    shell::frmMain form;
    if (!prepareDatabaseForm(form, args.file, args.allowSpaces, args.codePage)) return 1;
    ScriptConsole console;
    source::OpenAccessDatabase(form, console);

    // As a click in the table list: only a table the list holds can be picked; otherwise the
    // command's preconditions say that no table is selected.
    for (std::size_t i = 0; i < form.eTables.items.size(); ++i) {
        if (form.eTables.items[i] != args.table) continue;
        form.eTables.listIndex = static_cast<int>(i);
        source::loadTableDesign(form, console, args.table);
        break;
    }

    if (args.keys == "index") {
        form.setOption(form.eCreateIndex);
    } else if (args.keys == "none") {
        form.setOption(form.eCreateNoKeys);
    } else {
        form.setOption(form.ECreateKey);
    }
    form.eSQLTerminator.text = args.terminator;

    script::convertToFile(form, console);
    if (console.stopped) return 1;
    const std::string& output = form.eScriptOutPut.text;
    std::fwrite(output.data(), 1, output.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

void addScriptCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<ScriptArguments>();
    CLI::App* command =
        app.add_subcommand("script", "Print the MySQL script of a table, as the \"To file\" target makes it");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name")->required();
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
                      "Allow table and field names with a blank, and keep the backticks around names");
    addCodePageOption(*command, args->codePage);
    command->callback([args, &exitStatus] { exitStatus = runScript(*args); });
}

} // namespace kavero::cli
