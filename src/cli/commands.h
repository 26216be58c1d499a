// Each subcommand of kavero-cli registers itself on the application. A command's callback
// stores the process exit status in `exitStatus` (0 success, 1 failure); data goes to
// standard output, messages to standard error.
#pragma once

#include <CLI/CLI.hpp>

namespace kavero::cli {

// Add one declaration per command here and one call in main.cpp, e.g.
// void addTablesCommand(CLI::App& app, int& exitStatus);
void addTablesCommand(CLI::App& app, int& exitStatus);
void addDesignCommand(CLI::App& app, int& exitStatus);
void addDumpCommand(CLI::App& app, int& exitStatus);
void addScriptCommand(CLI::App& app, int& exitStatus);
void addDataSourcesCommand(CLI::App& app, int& exitStatus);
void addCopyCommand(CLI::App& app, int& exitStatus);
void addVerifyCommand(CLI::App& app, int& exitStatus);
void addPublishCommand(CLI::App& app, int& exitStatus);

} // namespace kavero::cli
