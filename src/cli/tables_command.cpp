// kavero-cli tables: the user tables of an Access file, as the table list shows them.
#include <iostream>
#include <memory>

#include "cli/access_console.h"
#include "cli/commands.h"
#include "shell/main_form.h"
#include "source/open_database.h"

namespace kavero::cli {

namespace {

struct TablesArguments {
    std::string file;
    bool allowSpaces = false;
    std::optional<int> codePage;
};

int runTables(const TablesArguments& args) {
    shell::frmMain form;
    if (!prepareDatabaseForm(form, args.file, args.allowSpaces, args.codePage)) return 1;
    MessageConsole console;
    source::OpenAccessDatabase(form, console);
    for (const std::string& name : form.eTables.items) std::cout << name << '\n';
    return console.messagesShown == 0 ? 0 : 1;
}

} // namespace

void addTablesCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<TablesArguments>();
    CLI::App* command = app.add_subcommand("tables", "List the user tables of an Access database, one per line");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow table names with a blank");
    addCodePageOption(*command, args->codePage);
    command->callback([args, &exitStatus] { exitStatus = runTables(*args); });
}

} // namespace kavero::cli
