// The ODBC data sources offered for the direct conversion.
#pragma once

#include "shell/main_form.h"

namespace kavero::odbc {

// Fills cboDSNList with "(None)", selected, followed by the user and then the system data
// sources in the driver manager's order. Never fails: when the driver manager cannot list
// them, the list holds "(None)" alone.
void FillDsnList(shell::frmMain& form);

} // namespace kavero::odbc
