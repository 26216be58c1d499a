// ODBC handle ownership. Handles are allocated in the constructors and freed in the
// destructors; a moved-from object owns nothing.
#include "odbc/handles.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "odbc/diagnostics.h"

namespace kavero::odbc {
namespace {

SQLCHAR* sqlText(std::string_view s) {
    // The ANSI entry points take non-const pointers but do not write through them.
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.data()));
}

SQLINTEGER length(std::string_view s) {
    return static_cast<SQLINTEGER>(s.size());
}

// Integer attributes travel in the pointer argument.
SQLPOINTER attributeValue(int value) {
    return reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(value));
}

} // namespace

Environment::Environment() {
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        throw Error({{"HY001", 0, "could not allocate an ODBC environment"}}, {});
    }
    const SQLRETURN rc = SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(rc)) {
        auto records = detail::collectDiagnostics(SQL_HANDLE_ENV, env);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        throw Error(std::move(records), {});
    }
    m_handle = env;
}

Environment::~Environment() {
    if (m_handle) SQLFreeHandle(SQL_HANDLE_ENV, m_handle);
}

Environment::Environment(Environment&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

Environment& Environment::operator=(Environment&& other) noexcept {
    if (this != &other) {
        if (m_handle) SQLFreeHandle(SQL_HANDLE_ENV, m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

std::vector<Environment::DataSource> Environment::dataSources() const {
    std::vector<DataSource> sources;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        // SQL_MAX_DSN_LENGTH (32) would cut longer names, which unixODBC allows; 1024 holds
        // any section name of its ini files.
        SQLCHAR name[1024] = {};
        SQLCHAR description[1024] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT descriptionLength = 0;
        const SQLRETURN rc = SQLDataSources(m_handle, direction, name, sizeof name, &nameLength, description,
                                            sizeof description, &descriptionLength);
        if (rc == SQL_NO_DATA) break;
        detail::check(rc, SQL_HANDLE_ENV, m_handle);
        sources.push_back({reinterpret_cast<const char*>(name), reinterpret_cast<const char*>(description)});
        direction = SQL_FETCH_NEXT;
    }
    return sources;
}

Connection::Connection(const Environment& environment, std::string_view connectText, Timeouts timeouts)
    : m_statementTimeout(timeouts.statementSeconds) {
    SQLHDBC dbc = SQL_NULL_HDBC;
    detail::check(SQLAllocHandle(SQL_HANDLE_DBC, environment.handle(), &dbc), SQL_HANDLE_ENV, environment.handle());
    m_handle = dbc;
    // Optional attributes: a driver may refuse or ignore them (MariaDB Connector/ODBC 3.1.15
    // accepts both and uses neither), so a refusal is no reason not to connect.
    if (timeouts.loginSeconds > 0) {
        SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, attributeValue(timeouts.loginSeconds), 0);
    }
    if (timeouts.statementSeconds > 0) {
        SQLSetConnectAttr(dbc, SQL_ATTR_CONNECTION_TIMEOUT, attributeValue(timeouts.statementSeconds), 0);
    }
    const SQLRETURN rc =
        SQLDriverConnect(dbc, nullptr, sqlText(connectText), static_cast<SQLSMALLINT>(connectText.size()), nullptr, 0,
                         nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        auto records = detail::collectDiagnostics(SQL_HANDLE_DBC, dbc);
        release();
        throw Error(std::move(records), {});
    }
    m_connected = true;
}

Connection::~Connection() {
    release();
}

Connection::Connection(Connection&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_connected(std::exchange(other.m_connected, false)),
      m_statementTimeout(other.m_statementTimeout) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_connected = std::exchange(other.m_connected, false);
        m_statementTimeout = other.m_statementTimeout;
    }
    return *this;
}

void Connection::release() noexcept {
    if (!m_handle) return;
    if (m_connected) SQLDisconnect(m_handle);
    SQLFreeHandle(SQL_HANDLE_DBC, m_handle);
    m_handle = nullptr;
    m_connected = false;
}

std::vector<DiagnosticRecord> Connection::execute(std::string_view sql) {
    Statement statement(*this);
    return statement.execute(sql);
}

Statement::Statement(const Connection& connection) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    detail::check(SQLAllocHandle(SQL_HANDLE_STMT, connection.handle(), &stmt), SQL_HANDLE_DBC, connection.handle());
    m_handle = stmt;
    if (connection.statementTimeout() > 0) {
        // Optional like the connection's timeouts: 3.1.15 answers 01S02 "no timeout".
        SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, attributeValue(connection.statementTimeout()), 0);
    }
}

Statement::~Statement() {
    if (m_handle) SQLFreeHandle(SQL_HANDLE_STMT, m_handle);
}

Statement::Statement(Statement&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_sql(std::move(other.m_sql)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        if (m_handle) SQLFreeHandle(SQL_HANDLE_STMT, m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
        m_sql = std::move(other.m_sql);
    }
    return *this;
}

std::vector<DiagnosticRecord> Statement::execute(std::string_view sql) {
    SQLFreeStmt(m_handle, SQL_CLOSE);
    m_sql.assign(sql);
    const SQLRETURN rc = SQLExecDirect(m_handle, sqlText(sql), length(sql));
    if (rc == SQL_SUCCESS || rc == SQL_NO_DATA) return {}; // NO_DATA: an UPDATE or DELETE that matched no row
    detail::check(rc, SQL_HANDLE_STMT, m_handle, m_sql);
    return detail::collectDiagnostics(SQL_HANDLE_STMT, m_handle);
}

bool Statement::fetch() {
    const SQLRETURN rc = SQLFetch(m_handle);
    if (rc == SQL_NO_DATA) return false;
    detail::check(rc, SQL_HANDLE_STMT, m_handle, m_sql);
    return true;
}

int Statement::columnCount() const {
    SQLSMALLINT count = 0;
    detail::check(SQLNumResultCols(m_handle, &count), SQL_HANDLE_STMT, m_handle, m_sql);
    return count;
}

std::vector<DiagnosticRecord> Statement::execute(std::string_view sql, const std::vector<Parameter>& parameters) {
    SQLFreeStmt(m_handle, SQL_CLOSE);
    SQLFreeStmt(m_handle, SQL_RESET_PARAMS);
    // The driver reads the values during the execution, so they stay here until it returns.
    std::vector<SQLLEN> lengths(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const auto number = static_cast<SQLUSMALLINT>(i + 1);
        const Parameter& parameter = parameters[i];
        SQLRETURN rc = SQL_SUCCESS;
        if (const auto* whole = std::get_if<std::int64_t>(&parameter)) {
            rc = SQLBindParameter(m_handle, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                  const_cast<std::int64_t*>(whole), 0, nullptr);
        } else if (const auto* real = std::get_if<double>(&parameter)) {
            rc = SQLBindParameter(m_handle, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                  const_cast<double*>(real), 0, nullptr);
        } else {
            const auto* text = std::get_if<std::string>(&parameter);
            const std::string& value = text ? *text : std::get<ParameterBytes>(parameter).bytes;
            lengths[i] = static_cast<SQLLEN>(value.size());
            rc = SQLBindParameter(m_handle, number, SQL_PARAM_INPUT, text ? SQL_C_CHAR : SQL_C_BINARY,
                                  text ? SQL_VARCHAR : SQL_VARBINARY, value.size(), 0, const_cast<char*>(value.data()),
                                  lengths[i], &lengths[i]);
        }
        detail::check(rc, SQL_HANDLE_STMT, m_handle, sql);
    }
    m_sql.assign(sql);
    const SQLRETURN rc = SQLExecDirect(m_handle, sqlText(sql), length(sql));
    SQLFreeStmt(m_handle, SQL_RESET_PARAMS);
    if (rc == SQL_SUCCESS || rc == SQL_NO_DATA) return {};
    detail::check(rc, SQL_HANDLE_STMT, m_handle, m_sql);
    return detail::collectDiagnostics(SQL_HANDLE_STMT, m_handle);
}

namespace {

// Reads a column in parts until it is whole into `value`; false for NULL. `terminator` is the
// size of the null the driver puts after character data.
bool readLong(void* handle, int column, SQLSMALLINT type, std::size_t terminator, const std::string& sql,
              std::string& value) {
    value.clear();
    char buffer[4096];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(handle, static_cast<SQLUSMALLINT>(column), type, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) break;
        detail::check(rc, SQL_HANDLE_STMT, handle, sql);
        if (indicator == SQL_NULL_DATA) return false;
        // On truncation (01004) the buffer is full but for the terminator; read on.
        const bool truncated =
            rc == SQL_SUCCESS_WITH_INFO &&
            (indicator == SQL_NO_TOTAL || indicator > static_cast<SQLLEN>(sizeof buffer - terminator));
        value.append(buffer, truncated ? sizeof buffer - terminator : static_cast<std::size_t>(indicator));
        if (!truncated) break;
    }
    return true;
}

std::optional<std::string> readLong(void* handle, int column, SQLSMALLINT type, std::size_t terminator,
                                    const std::string& sql) {
    std::string value;
    if (!readLong(handle, column, type, terminator, sql, value)) return std::nullopt;
    return value;
}

template <class T> std::optional<T> readFixed(void* handle, int column, SQLSMALLINT type, const std::string& sql) {
    T value{};
    SQLLEN indicator = 0;
    detail::check(SQLGetData(handle, static_cast<SQLUSMALLINT>(column), type, &value, sizeof value, &indicator),
                  SQL_HANDLE_STMT, handle, sql);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> Statement::text(int column) {
    return readLong(m_handle, column, SQL_C_CHAR, 1, m_sql);
}

std::optional<std::string> Statement::bytes(int column) {
    return readLong(m_handle, column, SQL_C_BINARY, 0, m_sql);
}

std::optional<std::int64_t> Statement::integer(int column) {
    return readFixed<std::int64_t>(m_handle, column, SQL_C_SBIGINT, m_sql);
}

std::optional<double> Statement::real(int column) {
    return readFixed<double>(m_handle, column, SQL_C_DOUBLE, m_sql);
}

ColumnForm Statement::columnForm(int column) const {
    SQLLEN type = 0;
    detail::check(
        SQLColAttribute(m_handle, static_cast<SQLUSMALLINT>(column), SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr, &type),
        SQL_HANDLE_STMT, m_handle, m_sql);
    switch (type) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
    case SQL_BIT:
        return ColumnForm::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return ColumnForm::Double;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return ColumnForm::Bytes;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return ColumnForm::Decimal;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
        return ColumnForm::DateTime;
    default:
        return ColumnForm::Text;
    }
}

namespace {

// A size the driver reports for a result column; 0 when it says none.
std::size_t columnSize(void* handle, const std::string& sql, int column, SQLUSMALLINT field) {
    SQLLEN size = 0;
    detail::check(SQLColAttribute(handle, static_cast<SQLUSMALLINT>(column), field, nullptr, 0, nullptr, &size),
                  SQL_HANDLE_STMT, handle, sql);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

} // namespace

std::size_t Statement::columnBytes(int column) const {
    return columnSize(m_handle, m_sql, column, SQL_DESC_OCTET_LENGTH);
}

std::size_t Statement::columnCharacters(int column) const {
    return columnSize(m_handle, m_sql, column, SQL_DESC_DISPLAY_SIZE);
}

std::int64_t Statement::rowCount() const {
    SQLLEN count = 0;
    detail::check(SQLRowCount(m_handle, &count), SQL_HANDLE_STMT, m_handle, m_sql);
    return count;
}

static_assert(sizeof(SQLLEN) == sizeof(std::int64_t) && sizeof(SQLUSMALLINT) == sizeof(std::uint16_t) &&
              sizeof(SQLULEN) == sizeof(std::uint64_t));

RowBlock::RowBlock(Statement& statement, std::vector<BoundColumn> columns, std::size_t capacity)
    : m_statement(statement), m_columns(std::move(columns)), m_capacity(std::max<std::size_t>(capacity, 1)),
      m_rows(m_capacity), m_values(m_columns.size()), m_lengths(m_columns.size()), m_status(m_capacity) {
    void* const handle = m_statement.m_handle;
    const auto set = [&](SQLINTEGER attribute, SQLPOINTER value) {
        detail::check(SQLSetStmtAttr(handle, attribute, value, 0), SQL_HANDLE_STMT, handle, m_statement.m_sql);
    };
    // Column-wise: each column's values side by side, a stride apart.
    set(SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_BIND_BY_COLUMN)));
    set(SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_rows)));
    set(SQL_ATTR_ROW_STATUS_PTR, m_status.data());
    set(SQL_ATTR_ROWS_FETCHED_PTR, &m_fetched);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const int column = static_cast<int>(i + 1);
        m_values[i].resize(stride(column) * m_capacity);
        m_lengths[i].resize(m_capacity);
        SQLSMALLINT type = SQL_C_BINARY;
        switch (m_columns[i].form) {
        case BoundForm::Integer:
            type = SQL_C_SBIGINT;
            break;
        case BoundForm::Double:
            type = SQL_C_DOUBLE;
            break;
        case BoundForm::Bytes:
            break;
        case BoundForm::Text:
            type = SQL_C_CHAR;
            break;
        }
        detail::check(SQLBindCol(handle, static_cast<SQLUSMALLINT>(column), type, m_values[i].data(),
                                 static_cast<SQLLEN>(stride(column)), reinterpret_cast<SQLLEN*>(m_lengths[i].data())),
                      SQL_HANDLE_STMT, handle, m_statement.m_sql);
    }
}

RowBlock::~RowBlock() {
    // Back to one row a fetch and no buffer of this one's, whatever failed before.
    void* const handle = m_statement.m_handle;
    if (handle == nullptr) return;
    SQLFreeStmt(handle, SQL_UNBIND);
    SQLSetStmtAttr(handle, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(1)), 0);
    SQLSetStmtAttr(handle, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
    SQLSetStmtAttr(handle, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
}

std::size_t RowBlock::stride(int column) const {
    const BoundColumn& bound = m_columns[static_cast<std::size_t>(column - 1)];
    switch (bound.form) {
    case BoundForm::Integer:
        return sizeof(std::int64_t);
    case BoundForm::Double:
        return sizeof(double);
    case BoundForm::Bytes:
        return std::max<std::size_t>(bound.width, 1);
    case BoundForm::Text:
        return bound.width + 1; // and the terminator
    }
    return bound.width;
}

void RowBlock::setRows(std::size_t rows) {
    m_rows = std::clamp<std::size_t>(rows, 1, m_capacity);
    detail::check(SQLSetStmtAttr(m_statement.m_handle, SQL_ATTR_ROW_ARRAY_SIZE,
                                 reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_rows)), 0),
                  SQL_HANDLE_STMT, m_statement.m_handle, m_statement.m_sql);
}

std::size_t RowBlock::fetch() {
    m_fetched = 0;
    if (!m_statement.fetch()) return 0;
    for (std::size_t row = 0; row < m_fetched; ++row) {
        // A value the driver could not convert fails its row alone: the whole fetch fails
        // here, as it would have read a row at a time.
        if (m_status[row] == SQL_ROW_ERROR) {
            auto records = detail::collectDiagnostics(SQL_HANDLE_STMT, m_statement.m_handle);
            throw Error(records.empty() ? std::vector<DiagnosticRecord>{{"HY000", 0, "a row could not be read"}}
                                        : std::move(records),
                        m_statement.m_sql);
        }
    }
    return static_cast<std::size_t>(m_fetched);
}

bool RowBlock::isNull(std::size_t row, int column) const {
    return m_lengths[static_cast<std::size_t>(column - 1)][row] == SQL_NULL_DATA;
}

std::optional<std::int64_t> RowBlock::integer(std::size_t row, int column) const {
    if (isNull(row, column)) return std::nullopt;
    std::int64_t value = 0;
    std::memcpy(&value, m_values[static_cast<std::size_t>(column - 1)].data() + row * sizeof value, sizeof value);
    return value;
}

std::optional<double> RowBlock::real(std::size_t row, int column) const {
    if (isNull(row, column)) return std::nullopt;
    double value = 0;
    std::memcpy(&value, m_values[static_cast<std::size_t>(column - 1)].data() + row * sizeof value, sizeof value);
    return value;
}

bool RowBlock::fits(std::size_t row, int column) const {
    const BoundColumn& bound = m_columns[static_cast<std::size_t>(column - 1)];
    if (bound.form == BoundForm::Integer || bound.form == BoundForm::Double) return true;
    const std::int64_t length = m_lengths[static_cast<std::size_t>(column - 1)][row];
    return length == SQL_NULL_DATA || (length != SQL_NO_TOTAL && static_cast<std::size_t>(length) <= bound.width);
}

std::size_t RowBlock::length(std::size_t row, int column) const {
    const std::int64_t length = m_lengths[static_cast<std::size_t>(column - 1)][row];
    if (length == SQL_NULL_DATA) return 0;
    if (length == SQL_NO_TOTAL) return m_columns[column - 1].width + 1;
    return static_cast<std::size_t>(length);
}

std::optional<std::string_view> RowBlock::bytes(std::size_t row, int column) {
    if (isNull(row, column)) return std::nullopt;
    if (fits(row, column)) {
        return std::string_view(m_values[static_cast<std::size_t>(column - 1)].data() + row * stride(column),
                                length(row, column));
    }
    if (m_rows != 1) {
        throw Error({{"HY000", 0, "a value longer than its column's declared size"}}, m_statement.m_sql);
    }
    const bool text = m_columns[column - 1].form == BoundForm::Text;
    readLong(m_statement.m_handle, column, text ? SQL_C_CHAR : SQL_C_BINARY, text ? 1 : 0, m_statement.m_sql, m_whole);
    return std::string_view(m_whole);
}

} // namespace kavero::odbc
