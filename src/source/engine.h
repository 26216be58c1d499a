// The Access side of the database engine as the commands use it: open a file, list its table
// definitions, read a table's fields and indexes, walk its records, count them. Each object
// lives for one operation; the file is closed when the database object goes away.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/database.h"
#include "jet/format_error.h"
#include "jet/value.h"
#include "shell/table_design.h"

namespace kavero::source {

// Engine errors carry a Jet number and a description.
using EngineError = jet::FormatError;
using jet::Value;

using ReadOptions = jet::ReadOptions;

// The environment variable that names the code page of Jet 3 text for the desktop program.
inline constexpr const char* kCodePageVariable = "KAVERO_JET3_CODEPAGE";

// Read options from the environment, read once when the desktop program starts: the Jet 3
// code page, Windows-1252 when unset. Throws EngineError for a value that is no code page.
ReadOptions readOptionsFromEnvironment();

// Read options for a code page; EngineError 3418 when it is not one this system knows.
ReadOptions readOptionsForCodePage(int codePage);

using Field = shell::DesignField;
using IndexInfo = shell::DesignIndex;
using TableDef = shell::TableDesign;

// Records of one table in stored order, read as a stream.
class Recordset {
public:
    const std::vector<Field>& fields() const { return m_def->fields; }
    bool eof() const { return m_eof; }
    void moveNext();
    const Value& value(std::size_t field) const;
    // Every value of the current record, in field order.
    const std::vector<Value>& values() const { return m_row; }
    // Throws EngineError 3265 for a name the table does not have.
    const Value& value(std::string_view fieldName) const;

private:
    friend class AccessDatabase;
    Recordset(const jet::Database& database, jet::TableDefinition definition, TableDef def, jet::PageShare share);

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

// Where the values of an attachment or multi-value field can be read as a table.
struct ValuesTable {
    std::string name;  // "<table>_<field>"
    std::string table; // the owning table
    std::string field;
};

class AccessDatabase {
public:
    // Opens the file: EngineError 3024 when it does not exist, 3343 when it is no database.
    AccessDatabase(const std::string& path, const ReadOptions& options);

    // Every table definition's name, system tables included, in catalog order.
    std::vector<std::string> tableDefNames();
    // The same with the catalog's system mark.
    std::vector<TableEntry> tableDefs();
    // The values table of every attachment and multi-value field; tableDef, openRecordset and
    // the counts take their names like any table's.
    std::vector<ValuesTable> valuesTables();
    // Fields and indexes; EngineError 3078 when there is no such table.
    TableDef tableDef(std::string_view tableName);
    // `share`: the records of one share of the table's pages only.
    Recordset openRecordset(std::string_view tableName, jet::PageShare share = {});
    // The relationships that enforce referential integrity, once each.
    std::vector<jet::Relationship> relationships() { return m_database.relationships(); }
    // The number of records of the table.
    std::uint64_t recordCount(std::string_view tableName);
    // The number of records whose field is not Null (what Count(field) gives).
    std::uint64_t countValues(std::string_view tableName, std::string_view fieldName);

private:
    TableDef describe(const jet::TableDefinition& definition) const;

    jet::Database m_database;
};

// How many shares of its pages a table is read in at once: one a core, four at most.
std::size_t readingShares();

// Runs read(index) for each of `shares` shares of a table's pages (jet::PageShare), each on a
// thread of its own; when reads throw, rethrows the error of the first share in stored order
// that threw, which is the error a reading from the start would have met first.
void readInShares(std::size_t shares, const std::function<void(std::size_t)>& read);

// Reads every record of a table once, to prove it readable to its end before anything is
// written elsewhere: in `shares` shares at once (0 for readingShares()), each with the file
// opened anew. Gives the number of records; throws the EngineError a reading from the start
// would have met first.
std::int64_t readEveryRecord(const std::string& path, const ReadOptions& options, std::string_view tableName,
                             std::size_t shares = 0);

} // namespace kavero::source
