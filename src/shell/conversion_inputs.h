// The checks every conversion command runs before it does any work: which inputs are still
// missing, as one numbered list the command shows to the user.
#pragma once

#include <string>

#include "shell/main_form.h"

namespace kavero::shell {

// Returns the empty text when the command may go ahead. Otherwise returns the numbered list
// of missing inputs (each line ended by CR LF, then an empty line and a closing sentence) and
// turns eTabControl to the page where the last missing input is entered.
// `toFile` changes nothing; `isp` adds the checks for publishing to an ISP, `dsn` those for
// the direct conversion over ODBC.
std::string CheckConversionInputs(frmMain& form, bool toFile, bool isp, bool dsn);

} // namespace kavero::shell
