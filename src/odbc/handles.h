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
    // The most bytes a value of the column takes as bytes, and the most characters of its text
    // (that of a number or a date included), as the driver declares them.
    std::size_t columnBytes(int column) const;
    std::size_t columnCharacters(int column) const;
    // Rows changed by the last statement.
    std::int64_t rowCount() const;

private:
    friend class RowBlock;
    void* m_handle = nullptr;
    std::string m_sql;
};

// How a column is bound for reading in blocks: as a whole number, a double, its bytes as the
// server holds them, or its text (that of a decimal or a date).
enum class BoundForm { Integer, Double, Bytes, Text };

struct BoundColumn {
    BoundForm form = BoundForm::Bytes;
    // Bytes kept for each value of a Bytes or Text column; a longer value does not fit.
    std::size_t width = 0;
};

// Buffers bound to the result columns of a statement, so that one fetch brings a block of rows
// with all their values: one driver call a block instead of one a value. A value longer than
// its column's width comes cut short, and only a block of one row can have it read whole
// (MariaDB Connector/ODBC 3.1.15 positions SQLGetData on the block's first row, whichever row
// SQLSetPos names), so the caller reads such rows again one by one or with wider columns.
// The statement keeps the binding until this is destroyed.
class RowBlock {
public:
    // Binds `columns` to result columns 1, 2, … for blocks of at most `capacity` rows.
    RowBlock(Statement& statement, std::vector<BoundColumn> columns, std::size_t capacity);
    ~RowBlock();
    RowBlock(const RowBlock&) = delete;
    RowBlock& operator=(const RowBlock&) = delete;

    const std::vector<BoundColumn>& columns() const { return m_columns; }
    std::size_t capacity() const { return m_capacity; }
    // Rows a fetch brings from now on, from 1 to the capacity; takes effect with the next fetch.
    void setRows(std::size_t rows);

    // The next block of the statement's result: the number of its rows, 0 after the last.
    std::size_t fetch();

    // Values of the last block; rows from 0, columns from 1 as bound.
    bool isNull(std::size_t row, int column) const;
    std::optional<std::int64_t> integer(std::size_t row, int column) const;
    std::optional<double> real(std::size_t row, int column) const;
    // Whether the value came whole (a number always does), and the length in bytes of the value
    // of a Bytes or Text column as the driver reports it (the whole length of one cut short;
    // unknown is past the width).
    bool fits(std::size_t row, int column) const;
    std::size_t length(std::size_t row, int column) const;
    // The value of a Bytes or Text column, valid until the next call. One that did not fit is
    // read whole when the block is of one row; in a larger block that throws Error.
    std::optional<std::string_view> bytes(std::size_t row, int column);

private:
    std::size_t stride(int column) const;

    Statement& m_statement;
    const std::vector<BoundColumn> m_columns;
    const std::size_t m_capacity;
    std::size_t m_rows;
    std::vector<std::vector<char>> m_values;          // per column, a value's stride a row
    std::vector<std::vector<std::int64_t>> m_lengths; // per column, the length or null indicator
    std::vector<std::uint16_t> m_status;
    std::uint64_t m_fetched = 0;
    std::string m_whole; // a value read whole
};

} // namespace kavero::odbc
