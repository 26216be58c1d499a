// kavero-cli: the desktop program's commands without a window, for scripts and tests.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "kavero/version.h"

int main(int argc, char** argv) {
    CLI::App app{"KAVERO moves a Microsoft Access table, its design and its records, into MySQL or MariaDB.",
                 "kavero-cli"};
    app.set_version_flag("--version", std::string("kavero-cli ") + kavero::kVersionText);
    app.require_subcommand(0, 1);

    int exitStatus = 0;
    // Commands register here, one line each.
    kavero::cli::addTablesCommand(app, exitStatus);
    kavero::cli::addDesignCommand(app, exitStatus);
    kavero::cli::addDumpCommand(app, exitStatus);
    kavero::cli::addScriptCommand(app, exitStatus);
    kavero::cli::addDataSourcesCommand(app, exitStatus);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (app.get_subcommands().empty()) std::fputs(app.help().c_str(), stdout);
    return exitStatus;
}
