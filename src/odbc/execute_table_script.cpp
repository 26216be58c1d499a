// One SQLExecDirect per statement: the driver runs several statements in one call only with
// a multi-statement option, and then stops at the first failure.
#include "odbc/execute_table_script.h"

#include <charconv>

#include "odbc/error_text.h"
#include "odbc/statement_split.h"

namespace kavero::odbc {
namespace {

// The server's notes and warnings on the statement just run. Best effort: a server that does
// not know SHOW WARNINGS costs the notes, not the run.
std::vector<DiagnosticRecord> serverWarnings(Connection& connection) {
    std::vector<DiagnosticRecord> warnings;
    try {
        Statement show(connection);
        show.execute("SHOW WARNINGS");
        while (show.fetch()) {
            show.text(1); // the level ("Note", "Warning"); the number says enough
            const std::string code = show.text(2).value_or("0");
            long number = 0;
            std::from_chars(code.data(), code.data() + code.size(), number);
            warnings.push_back({"01000", number, show.text(3).value_or("")});
        }
    } catch (const Error&) {
        // Keep the notes read so far.
    }
    return warnings;
}

} // namespace

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
