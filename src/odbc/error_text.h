// The text in which ODBC failures reach the user: one block per diagnostic record,
// "Error number: " + native number + CR + message + CR LF, as the program always showed them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "odbc/error.h"

namespace kavero::odbc {

std::string errorBlocks(const std::vector<DiagnosticRecord>& records);

// A driver message without the driver's and server's bracketed names in front:
// "[ma-3.1.15][10.11.6-MariaDB]Duplicate entry …" gives "Duplicate entry …".
std::string serverText(const std::string& message);

// A failed connection: a first line naming the data source (a connect text never holds the
// password, so it may be shown), then the blocks of every record.
std::string connectionFailureText(std::string_view dataSource, const Error& error);

} // namespace kavero::odbc
