// kavero-cli design: a table's field list and key list, as the grids hold them after a pick.
#include <iostream>
#include <memory>

#include "cli/access_console.h"
#include "cli/commands.h"
#include "shell/main_form.h"
#include "source/table_design.h"

namespace kavero::cli {

namespace {

struct DesignArguments {
    std::string file;
    std::string table;
    bool allowSpaces = false;
    std::optional<int> codePage;
};

void printGrid(const shell::Grid& grid) {
    for (const auto& row : grid.cells) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) std::cout << '\t';
            std::cout << row[c];
        }
        std::cout << '\n';
    }
}

int runDesign(const DesignArguments& args) {
    shell::frmMain form;
    if (!prepareDatabaseForm(form, args.file, args.allowSpaces, args.codePage)) return 1;
    MessageConsole console;
    source::loadTableDesign(form, console, args.table);
    printGrid(form.eFieldListGrid);
    std::cout << '\n';
    printGrid(form.ekeyListGrid);
    return console.messagesShown == 0 ? 0 : 1;
}

} // namespace

void addDesignCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<DesignArguments>();
    CLI::App* command = app.add_subcommand("design", "Print a table's field list and key list");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name")->required();
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow field names with a blank");
    addCodePageOption(*command, args->codePage);
    command->callback([args, &exitStatus] { exitStatus = runDesign(*args); });
}

} // namespace kavero::cli
