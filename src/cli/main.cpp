// kavero-cli: the desktop program's commands without a window, for scripts and tests.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "kavero/version.h"

int main(int argc, char** argv) {
    CLI::App app{"KAVERO moves a Microsoft Access table, its design and its records, into MySQL or MariaDB.",
                 "kavero-cli"};
    app.set_version_flag("--version", std::string("kavero-cli ") + kavero::kVersionText);
    app.require_subcommand(0, 1);
    app.footer("Exit status: 0 done, 1 stopped or failed, 2 a usage error.");
    // One line, like every other diagnostic of the program.
    app.failure_message([](const CLI::App*, const CLI::Error& e) {
        return "kavero-cli: " + std::string(e.what()) + " (see kavero-cli --help)\n";
    });

    int exitStatus = kavero::cli::kExitDone;
    // Commands register here, one line each.
    kavero::cli::addTablesCommand(app, exitStatus);
    kavero::cli::addDesignCommand(app, exitStatus);
    kavero::cli::addDumpCommand(app, exitStatus);
    kavero::cli::addScriptCommand(app, exitStatus);
    kavero::cli::addDataSourcesCommand(app, exitStatus);
    kavero::cli::addCopyCommand(app, exitStatus);
    kavero::cli::addVerifyCommand(app, exitStatus);
    kavero::cli::addPublishCommand(app, exitStatus);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and --version end here too, with status 0.
        return app.exit(e) == 0 ? kavero::cli::kExitDone : kavero::cli::kExitUsage;
    }
    if (app.get_subcommands().empty()) std::fputs(app.help().c_str(), stdout);
    return exitStatus;
}
