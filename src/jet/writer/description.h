// What the fixture writer is asked to write: tables, their columns, properties, indexes and
// records, in plain values. The description is the truth tests compare every reader against.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "jet/format.h"

namespace kavero::jet::writer {

// The column types the writer can store, by the reader's type codes.
enum class FieldType : std::uint8_t {
    Boolean = kTypeBoolean,
    Byte = kTypeByte,
    Integer = kTypeInteger,
    Long = kTypeLong,
    Currency = kTypeCurrency,
    Single = kTypeSingle,
    Double = kTypeDouble,
    DateTime = kTypeDateTime,
    Binary = kTypeBinary,
    Text = kTypeText,
    Ole = kTypeOle,
    Memo = kTypeMemo,
    Guid = kTypeGuid,
    Decimal = kTypeDecimal,
    ExtendedDate = kTypeExtendedDate,
    // Attachment or multi-value: the record holds the number of its set of values (int64 in a
    // row); the values are rows of a flat table of their own.
    Complex = kTypeComplex,
};

__extension__ using UInt128 = unsigned __int128;

// Money in ten-thousandths, as Access keeps it.
struct Currency {
    std::int64_t tenThousandths = 0;
    bool operator==(const Currency&) const = default;
};

// Days since 1899-12-30 in Jet's form: the integer part counts days (negative before the
// epoch), the fraction is always the time of day, whatever the sign.
struct DateTime {
    double days = 0;
    static DateTime fromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    bool operator==(const DateTime&) const = default;
};

// A GUID in the order it is written as text ({00112233-4455-6677-8899-AABBCCDDEEFF}).
struct Guid {
    std::array<std::uint8_t, 16> bytes{};
    static Guid parse(std::string_view text); // braces optional; throws std::invalid_argument
    std::string text() const;                 // upper case, with braces
    bool operator==(const Guid&) const = default;
};

// A Decimal value: sign and unscaled magnitude; the column's scale places the point.
struct Decimal {
    bool negative = false;
    UInt128 unscaled = 0;
    static Decimal parse(std::string_view text, int scale); // "-1110.554"; throws std::invalid_argument
    std::string text(int scale) const;                      // "-1110.554000" for scale 6
    bool operator==(const Decimal&) const = default;
};

using Bytes = std::vector<std::uint8_t>;

// A Date/Time Extended value: a calendar date from 0001-01-01 to 9999-12-31, a time of day
// and the fraction of the second in units of 100 ns.
struct ExtendedDate {
    int year = 1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int ticks = 0;            // 0 .. 9,999,999
    std::string text() const; // "YYYY-MM-DD HH:MM:SS.fffffff"
    Bytes stored() const;     // the 42 bytes of the row; throws std::invalid_argument out of range
    bool operator==(const ExtendedDate&) const = default;
};

// One cell. monostate is Null. Whole numbers (Byte, Integer, Long, AutoNumber) are int64,
// Single and Double are double, Text and Memo are UTF-8 strings, Binary and OLE are Bytes.
using Value = std::variant<std::monostate, bool, std::int64_t, double, Currency, DateTime, std::string, Bytes, Guid,
                           Decimal, ExtendedDate>;
using Row = std::vector<Value>;

struct Column {
    std::string name;
    FieldType type = FieldType::Long;
    int length = 0;          // Text: characters (1..255); Binary: bytes (1..510); otherwise unused
    bool autoNumber = false; // Long only: AutoNumber
    bool autoGuid = false;   // GUID only: filled in by the engine (flag 0x40)
    bool hyperlink = false;  // Memo only
    int precision = 18;      // Decimal only
    int scale = 0;           // Decimal only
    // Complex only: the system table (of the same database) that holds the field's values, one
    // row per value: an AutoNumber key, the Long "_<field>" with the record's number, then the
    // value column (multi-value) or the six attachment columns. The writer lists the pair in
    // MSysComplexColumns.
    std::string flatTable;

    // Column properties; a column with none of them gets no property chunk.
    std::optional<std::string> defaultValue; // as typed in Access, quotes included: "\"abc\"", "0", "=Date()"
    std::optional<bool> required;
    std::optional<bool> allowZeroLength;
};

struct IndexKey {
    std::string column;
    bool ascending = true;
};

struct Index {
    std::string name;
    std::vector<IndexKey> keys; // 1..10
    bool primary = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool required = false;
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<Index> indexes;
    std::vector<Row> rows;
    // Large tables generate their records instead of holding them: row i for i < generatedRows.
    std::size_t generatedRows = 0;
    std::function<Row(std::size_t)> generate;
    // False: the catalog row has no property blob at all (as files written by other tools).
    bool withProperties = true;
    // True: Text and Memo values whose characters all lie in U+0001..U+00FF are stored in the
    // compressed form (FF FE, then one byte per character), as Access stores them.
    bool compressText = false;
    // True: the catalog marks it a system table, as MSysACEs; readers leave it out of table lists.
    bool system = false;

    std::size_t rowCount() const { return rows.size() + generatedRows; }
    Row rowAt(std::size_t i) const { return i < rows.size() ? rows[i] : generate(i - rows.size()); }
};

// A relationship: the foreign side's columns refer to the primary side's primary key.
struct Relationship {
    std::string name;
    std::string primaryTable;
    std::string foreignTable;
    std::vector<std::string> foreignColumns;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
};

struct Database {
    std::vector<Table> tables;
    std::vector<Relationship> relationships;
    DateTime created = DateTime::fromParts(2024, 1, 15, 9, 30, 0); // fixed, so files are reproducible
};

// UTF-8 to UTF-16 code units; throws std::invalid_argument on malformed input.
std::u16string toUtf16(std::string_view utf8);

// Whether a value suits the column's type (Null suits every column).
bool valueFits(const Column& column, const Value& value);

} // namespace kavero::jet::writer
