// Runs the table script on the server, one statement at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "odbc/handles.h"

namespace kavero::odbc {

struct StatementOutcome {
    std::string statement;
    bool succeeded = false;
    std::vector<DiagnosticRecord> errors; // why it failed
    // What a success came with: the driver's warnings (SQL_SUCCESS_WITH_INFO) and the server's
    // notes and warnings, which the driver does not pass on (as SQLSTATE 01000 with the
    // server's number, e.g. 1051 for DROP TABLE IF EXISTS of a missing table, 1071 for a key
    // the server shortened).
    std::vector<DiagnosticRecord> warnings;
};

struct ScriptOutcome {
    std::vector<StatementOutcome> statements; // one per statement, in script order

    // Empty when every statement succeeded; otherwise the "Error number: " blocks of the
    // errors of every failed statement, in script order.
    std::string errorText() const;
};

// Splits the one-line script (see statement_split.h) and runs every statement, going on after
// a failure, so that one run shows all that is wrong with a script.
ScriptOutcome ExecuteTableScript(Connection& connection, std::string_view script);

} // namespace kavero::odbc
