// The window must come up whatever state the ODBC configuration is in, so a failing driver
// manager only leaves the list short.
#include "odbc/data_source_list.h"

#include "odbc/handles.h"
#include "shell/settings.h"

namespace kavero::odbc {

void FillDsnList(shell::frmMain& form) {
    std::vector<Environment::DataSource> sources;
    try {
        sources = Environment().dataSources(); // the environment is released at once
    } catch (const Error&) {
        sources.clear();
    }
    form.cboDSNList.clear();
    form.cboDSNList.addItem(std::string(shell::kNoneEntry));
    for (Environment::DataSource& source : sources) {
        // A name of blanks is nothing the user could pick.
        if (source.name.find_first_not_of(' ') != std::string::npos) form.cboDSNList.addItem(std::move(source.name));
    }
    form.cboDSNList.select(0);
}

} // namespace kavero::odbc
