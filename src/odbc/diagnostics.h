// Turns an ODBC return code into diagnostics: every record, warnings included.
#pragma once

#include <string_view>
#include <vector>

#include "odbc/error.h"

namespace kavero::odbc::detail {

std::vector<DiagnosticRecord> collectDiagnostics(short handleType, void* handle);

// Throws Error with all records unless rc is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
void check(short rc, short handleType, void* handle, std::string_view statement = {});

} // namespace kavero::odbc::detail
