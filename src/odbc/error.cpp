// Keeps all diagnostic records; the message joins them so nothing is lost when printed.
#include "odbc/error.h"

#include <utility>

namespace kavero::odbc {
namespace {

std::string describe(const std::vector<DiagnosticRecord>& records) {
    if (records.empty()) return "ODBC call failed without diagnostics";
    std::string text;
    for (const DiagnosticRecord& record : records) {
        if (!text.empty()) text += '\n';
        text += '[' + record.sqlstate + "] (" + std::to_string(record.nativeError) + ") " + record.message;
    }
    return text;
}

} // namespace

Error::Error(std::vector<DiagnosticRecord> records, std::string statement)
    : shell::NumberedError(records.empty() ? 0 : static_cast<int>(records.front().nativeError), describe(records)),
      m_records(std::move(records)), m_statement(std::move(statement)) {}

const std::string& Error::sqlstate() const {
    static const std::string kNone;
    return m_records.empty() ? kNone : m_records.front().sqlstate;
}

long Error::nativeError() const {
    return m_records.empty() ? 0 : m_records.front().nativeError;
}

} // namespace kavero::odbc
