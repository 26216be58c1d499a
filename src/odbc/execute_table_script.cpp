// One SQLExecDirect per statement: the driver runs several statements in one call only with
// a multi-statement option, and then stops at the first failure.
#include "odbc/execute_table_script.h"

#include "odbc/error_text.h"
#include "odbc/server_warnings.h"
#include "odbc/statement_split.h"

namespace kavero::odbc {

std::string ScriptOutcome::errorText() const {
    std::string text;
    for (const StatementOutcome& outcome : statements) text += errorBlocks(outcome.errors);
    return text;
}

ScriptOutcome ExecuteTableScript(Connection& connection, std::string_view script) {
    ScriptOutcome outcome;
    for (std::string& statement : splitStatements(script)) {
        StatementOutcome result;
        try {
            result.warnings = connection.execute(statement);
            result.succeeded = true;
        } catch (const Error& error) {
            result.errors = error.records();
            // A driver failure without a record still has to show up in the error text.
            if (result.errors.empty()) result.errors.push_back({"HY000", 0, error.what()});
        }
        if (result.succeeded) {
            for (DiagnosticRecord& warning : serverWarnings(connection)) result.warnings.push_back(std::move(warning));
        }
        result.statement = std::move(statement);
        outcome.statements.push_back(std::move(result));
    }
    return outcome;
}

} // namespace kavero::odbc
