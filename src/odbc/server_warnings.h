// The server's notes and warnings on the statement just run, which MariaDB Connector/ODBC
// does not pass on as diagnostics: a value a non-strict server cut or changed shows only here.
#pragma once

#include <vector>

#include "odbc/handles.h"

namespace kavero::odbc {

// As SQLSTATE 01000 records with the server's number (1265 data truncated, 1051 unknown
// table, …). Best effort: a server that does not know SHOW WARNINGS costs the notes, not
// the statement.
std::vector<DiagnosticRecord> serverWarnings(Connection& connection);

// Whether the session's sql_mode is strict: such a server refuses a value it would have to
// cut or change instead of storing it with a warning. Not strict when it cannot be told.
bool sessionIsStrict(Connection& connection);

} // namespace kavero::odbc
