// kavero-cli datasources: the ODBC data sources as the window's data source list offers them.
#include "cli/commands.h"
#include "cli/console.h"
#include "odbc/data_source_list.h"
#include "shell/main_form.h"

namespace kavero::cli {

void addDataSourcesCommand(CLI::App& app, int& exitStatus) {
    CLI::App* command = app.add_subcommand(
        "datasources", "List the ODBC data sources for the direct conversion, one per line, \"(None)\" first");
    command->callback([&exitStatus] {
        shell::frmMain form;
        odbc::FillDsnList(form);
        Output out;
        for (const std::string& name : form.cboDSNList.items) out.write(name + "\n");
        exitStatus = out.finish() ? kExitDone : kExitFailed;
    });
}

} // namespace kavero::cli
