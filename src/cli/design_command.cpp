// kavero-cli design: a table's field list and key list, as the grids hold them after a pick.
#include <memory>

#include "cli/commands.h"
#include "cli/console.h"
#include "shell/main_form.h"

namespace kavero::cli {

namespace {

struct DesignArguments {
    std::string file;
    std::string table;
    bool allowSpaces = false;
    CodePageOption codePage;
};

void printGrid(Output& out, const shell::Grid& grid) {
    for (const auto& row : grid.cells) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) line += (c > 0 ? "\t" : "") + row[c];
        out.write(line + "\n");
    }
}

int runDesign(const DesignArguments& args) {
    shell::frmMain form;
    Console console;
    if (const auto failed =
            pickTable(form, console, args.file, args.table, args.allowSpaces, args.codePage.readOptions())) {
        return *failed;
    }
    Output out;
    printGrid(out, form.eFieldListGrid);
    out.write("\n");
    printGrid(out, form.ekeyListGrid);
    return out.finish() ? kExitDone : kExitFailed;
}

} // namespace

void addDesignCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<DesignArguments>();
    CLI::App* command = app.add_subcommand("design", "Print a table's field list and key list");
    command->add_option("FILE", args->file, "Access database (.mdb, .accdb)")->required();
    command->add_option("TABLE", args->table, "Table name")->required();
    command->add_flag("--allow-spaces", args->allowSpaces, "Allow table and field names with a blank");
    args->codePage.addTo(*command);
    command->callback([args, &exitStatus] { exitStatus = runDesign(*args); });
}

} // namespace kavero::cli
