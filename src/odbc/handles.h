// Move-only owners of ODBC handles. Each frees its handle on destruction and never throws;
// every failing call throws odbc::Error carrying all diagnostic records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "odbc/error.h"

namespace kavero::odbc {

// How long a driver call may wait, in seconds; 0 leaves the driver's default, which is often
// to wait for ever. Drivers that do not know an attribute ignore it, so callers that must not
// block also give the driver's own connect-text options (see direct_connection.h).
struct Timeouts {
    int loginSeconds = 0;     // reaching the server and logging in
    int statementSeconds = 0; // one statement, or any other request on the connection
};

// The driver manager's environment, set to ODBC 3 behaviour (ODBC 3 SQLSTATEs).
class Environment {
public:
    Environment();
    ~Environment();
    Environment(Environment&& other) noexcept;
    Environment& operator=(Environment&& other) noexcept;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    void* handle() const { return m_handle; }

    struct DataSource {
        std::string name;
        std::string description;
    };
    // User and system data sources, as the driver manager lists them.
    std::vector<DataSource> dataSources() const;

private:
    void* m_handle = nullptr;
};

class Connection {
public:
    // Connects with a full connect text ("DSN=…;UID=…;PWD=…"), without prompting.
    Connection(const Environment& environment, std::string_view connectText, Timeouts timeouts = {});
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void* handle() const { return m_handle; }
    // Given to every statement made on this connection.
    int statementTimeout() const { return m_statementTimeout; }

    // Runs one statement and discards any result; returns the warnings of a success.
    std::vector<DiagnosticRecord> execute(std::string_view sql);

private:
    void release() noexcept;
    void* m_handle = nullptr;
    bool m_connected = false;
    int m_statementTimeout = 0;
};

// A statement parameter: a whole number, a double, a text, or bytes.
struct ParameterBytes {
    std::string bytes;
};
using Parameter = std::variant<std::int64_t, double, std::string, ParameterBytes>;

// How a result column is best read without losing anything: as a whole number, a double,
// bytes, or the server's text (that of a decimal and of a date apart, since a text compared
// with them is not compared as one).
enum class ColumnForm { Integer, Double, Bytes, Decimal, DateTime, Text };

class Statement {
public:
    explicit Statement(const Connection& connection);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Throws on failure; on success returns the diagnostics the driver gave with it (warnings,
    // SQLSTATE class 01), empty when it gave none.
    std::vector<DiagnosticRecord> execute(std::string_view sql);
    // The same with a value for each "?" of the statement, in order.
    std::vector<DiagnosticRecord> execute(std::string_view sql, const std::vector<Parameter>& parameters);
    // Moves to the next row of the result; false after the last.
    bool fetch();
    int columnCount() const;
    // The column's value as text (UTF-8 as the server sends it), or nothing for NULL.
    // Columns are numbered from 1 and read in ascending order, each once.
    std::optional<std::string> text(int column);
    // The same as a number or as the bytes the server holds.
    std::optional<std::int64_t> integer(int column);
    std::optional<double> real(int column);
    std::optional<std::string> bytes(int column);
    // From the column's SQL type in the current result.
    ColumnForm columnForm(int column) const;
    // Rows changed by the last statement.
    std::int64_t rowCount() const;

private:
    void* m_handle = nullptr;
    std::string m_sql;
};

} // namespace kavero::odbc
