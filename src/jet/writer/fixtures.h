// The named Access files that tests, benchmarks and the sample database are built from.
// Each fixture is one file of several tables; its description is the expected content.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jet/writer/description.h"

namespace kavero::jet::writer {

struct Fixture {
    std::string name;    // the file is <name>.mdb
    std::string purpose; // one line for --list
    std::function<Database()> build;
};

// Every fixture the tool writes into the fixture folder, in a fixed order.
const std::vector<Fixture>& fixtures();
const Fixture& fixture(const std::string& name); // throws std::out_of_range

// The bundled sample: a small shop with customers, products and orders.
Database shopDatabase();

// A small builder so fixture definitions stay readable.
class TableBuilder {
public:
    explicit TableBuilder(std::string name) { m_table.name = std::move(name); }

    TableBuilder& column(std::string name, FieldType type, int length = 0);
    TableBuilder& autoNumber(std::string name);
    TableBuilder& decimal(std::string name, int precision, int scale);
    // An attachment or multi-value field whose values the system table `flatTable` holds.
    TableBuilder& complex(std::string name, std::string flatTable);
    // The columns of an attachment field's flat table after its key, as Access makes them:
    // the link `link` (a Long), then FileData, FileFlags, FileName, FileTimeStamp, FileType and
    // FileURL; the table is marked a system table.
    TableBuilder& attachmentColumns(std::string link);
    // Properties of the column added last.
    TableBuilder& defaultValue(std::string text);
    TableBuilder& required(bool on = true);
    TableBuilder& allowZeroLength(bool on = true);
    TableBuilder& hyperlink();
    TableBuilder& autoGuid();

    TableBuilder& primaryKey(std::string name, std::vector<std::string> columns);
    TableBuilder& index(std::string name, std::vector<IndexKey> keys, bool unique = false);
    TableBuilder& row(Row values);
    TableBuilder& generated(std::size_t count, std::function<Row(std::size_t)> generate);
    TableBuilder& withoutProperties();
    TableBuilder& system();
    TableBuilder& compressText();

    Table build() { return std::move(m_table); }

private:
    Column& last();
    Table m_table;
};

// Short value makers for rows.
inline Value null() { return std::monostate{}; }
inline Value num(std::int64_t v) { return v; }
inline Value dbl(double v) { return v; }
inline Value text(std::string v) { return v; }
inline Value money(std::int64_t tenThousandths) { return Currency{tenThousandths}; }
inline Value date(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return DateTime::fromParts(y, m, d, hh, mm, ss);
}
inline Value bytes(Bytes b) { return b; }

} // namespace kavero::jet::writer
