// Errors from the ODBC driver manager and driver, with every diagnostic record they gave.
#pragma once

#include <string>
#include <vector>

#include "shell/numbered_error.h"

namespace kavero::odbc {

struct DiagnosticRecord {
    std::string sqlstate; // five characters, e.g. "42S02"
    long nativeError = 0; // the server's own number, e.g. 1146
    std::string message;
};

// The number is the first record's native number, the description every record's text.
class Error : public shell::NumberedError {
public:
    Error(std::vector<DiagnosticRecord> records, std::string statement);

    const std::vector<DiagnosticRecord>& records() const { return m_records; }
    // Of the first record; empty and 0 when the driver gave none.
    const std::string& sqlstate() const;
    long nativeError() const;
    // The statement that failed, empty for connection and handle errors.
    const std::string& statement() const { return m_statement; }

private:
    std::vector<DiagnosticRecord> m_records;
    std::string m_statement;
};

} // namespace kavero::odbc
