// SHOW WARNINGS after a statement.
#include "odbc/server_warnings.h"

#include <charconv>

namespace kavero::odbc {

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

bool sessionIsStrict(Connection& connection) {
    try {
        Statement query(connection);
        query.execute("SELECT @@SESSION.sql_mode");
        if (!query.fetch()) return false;
        const std::string mode = query.text(1).value_or("");
        return mode.find("STRICT_TRANS_TABLES") != std::string::npos ||
               mode.find("STRICT_ALL_TABLES") != std::string::npos;
    } catch (const Error&) {
        return false;
    }
}

} // namespace kavero::odbc
