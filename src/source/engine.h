// The Access side of the database engine as the commands use it: open a file, list its table
// definitions, read a table's fields and indexes, walk its records, count them. Each object
// lives for one operation; the file is closed when the database object goes away.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/database.h"
#include "jet/format_error.h"
#include "jet/value.h"

namespace kavero::source {

// Engine errors carry a Jet number and a description.
using EngineError = jet::FormatError;
using jet::Value;

// The environment variable that names the code page of Jet 3 text for the desktop program.
inline constexpr const char* kCodePageVariable = "KAVERO_JET3_CODEPAGE";

// Read options from the environment: the Jet 3 code page, Windows-1252 when unset. Throws
// EngineError for a value that is not a number.
jet::ReadOptions readOptionsFromEnvironment();

struct Field {
    std::string name;
    int type = 0;            // engine type code: 1 Yes/No ... 12 Memo, 15 GUID, 16 Decimal, others as stored
    std::int32_t size = 0;   // as DAO reports it
    std::int32_t attributes = 0;
    bool allowZeroLength = false;
    bool required = false;
    std::string defaultValue; // the stored expression, empty when none
    int precision = 0;        // Decimal
    int scale = 0;            // Decimal
};

struct IndexInfo {
    std::string name;
    std::string fields; // "+A;-B"
    bool unique = false;
    bool primary = false;
};

struct TableDef {
    std::string name;
    std::vector<Field> fields;     // record-set order
    std::vector<IndexInfo> indexes; // engine order
};

// Records of one table in stored order, read as a stream.
class Recordset {
public:
    const std::vector<Field>& fields() const { return m_def->fields; }
    bool eof() const { return m_eof; }
    void moveNext();
    const Value& value(std::size_t field) const;
    // Throws EngineError 3265 for a name the table does not have.
    const Value& value(std::string_view fieldName) const;

private:
    friend class AccessDatabase;
    Recordset(const jet::Database& database, jet::TableDefinition definition, TableDef def);

    std::unique_ptr<jet::TableDefinition> m_definition;
    std::unique_ptr<TableDef> m_def;
    std::unique_ptr<jet::RecordCursor> m_cursor;
    std::vector<Value> m_row;
    bool m_eof = false;
};

struct TableEntry {
    std::string name;
    bool system = false; // the catalog marks it as the engine's own (system or hidden) table
};

class AccessDatabase {
public:
    // Opens the file: EngineError 3024 when it does not exist, 3343 when it is no database.
    explicit AccessDatabase(const std::string& path, jet::ReadOptions options = readOptionsFromEnvironment());

    // Every table definition's name, system tables included, in catalog order.
    std::vector<std::string> tableDefNames();
    // The same with the catalog's system mark.
    std::vector<TableEntry> tableDefs();
    // Fields and indexes; EngineError 3078 when there is no such table.
    TableDef tableDef(std::string_view tableName);
    Recordset openRecordset(std::string_view tableName);
    // The number of records of the table.
    std::uint64_t recordCount(std::string_view tableName);
    // The number of records whose field is not Null (what Count(field) gives).
    std::uint64_t countValues(std::string_view tableName, std::string_view fieldName);

private:
    TableDef describe(const jet::TableDefinition& definition) const;

    jet::Database m_database;
};

} // namespace kavero::source
