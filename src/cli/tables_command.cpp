// kavero-cli tables: the user tables of an Access file, as the table list shows them.
#include <memory>

#include "cli/commands.h"
#include "cli/console.h"
#include "source/open_database.h"

namespace kavero::cli {

namespace {

struct TablesArguments {
    std::string file;
    bool allowSpaces = false;
    CodePageOption codePage;
};

int runTables(const TablesArguments& args) {
    std::vector<std::string> tables;
    try {
        source::AccessDatabase database(args.file, args.codePage.readOptions());
        tables = source::userTables(database);
    } catch (const source::EngineError& e) {
        printError(e);
        return kExitFailed;
    }
    // The window refuses the whole list for one such name; here every table is listed and
    // the names that need the option are named.
    Output out;
    for (const std::string& name : tables) {
        out.write(name + "\n");
        if (!args.allowSpaces && name.find(' ') != std::string::npos) {
            printDiagnostic("the table name '" + name + "' holds a blank: use --allow-spaces to script it");
        }
    }
    return out.finish() ? kExitDone : kExitFailed;
}

} // namespace

void addTablesCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<TablesArguments>();
    CLI::App* command = app.add_subcommand("tables", "List the user tables of an Access database, one per line");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_flag("--allow-spaces", args->allowSpaces, "Do not warn about table names with a blank");
    args->codePage.addTo(*command);
    command->callback([args, &exitStatus] { exitStatus = runTables(*args); });
}

} // namespace kavero::cli
