// A table definition (tdef): columns in the order of their entries, which is the design-view
// order, the indexes that are real indexes, and apart from them this table's side of each
// relationship that enforces referential integrity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/format.h"
#include "jet/page_channel.h"
#include "jet/text_codec.h"

namespace kavero::jet {

struct Column {
    std::string name;
    std::uint8_t type = 0;       // ColumnType, or another code as stored
    std::uint16_t number = 0;    // col_num: null-mask bit and index key reference
    std::uint16_t varIndex = 0;  // slot in the row's variable-offset table
    std::uint16_t fixedOffset = 0;
    std::uint16_t length = 0;    // bytes as stored
    std::uint8_t flags = 0;
    std::uint8_t extFlags = 0;   // Jet 4 / ACE only
    std::uint8_t precision = 0;  // Decimal
    std::uint8_t scale = 0;      // Decimal
    std::int32_t complexId = 0;  // attachment / multi-value: its ComplexID in MSysComplexColumns
    // An attachment's file data: stored wrapped (and maybe compressed), read as the file's bytes.
    bool attachmentData = false;

    // Column properties (from the catalog's property blob).
    std::optional<std::string> defaultValue; // the expression exactly as stored
    bool allowZeroLength = false;
    bool required = false;

    bool fixed() const { return (flags & kColumnFixed) != 0; }
    bool isLongValue() const { return type == kTypeMemo || type == kTypeOle; }
    bool calculated() const { return (extFlags & kExtFlagCalculated) != 0; }
    // Size as DAO reports it: bytes for numbers, characters for Text, 0 for Memo and OLE.
    std::int32_t daoSize(const Format& format) const;
    // DAO's Attributes: fixed 1 / variable 2, auto-increment 16, updatable 32, hyperlink 0x8000.
    std::int32_t daoAttributes() const;
};

struct IndexKey {
    std::uint16_t columnNumber = 0;
    bool ascending = true;
};

struct Index {
    std::string name;
    std::int32_t number = 0; // the logical index number a relationship's other side refers to
    std::vector<IndexKey> keys;
    bool unique = false;
    bool primary = false;
    std::string fieldsText; // "+A;-B"
};

// One side of a relationship: its key columns in this table, and where the other side is.
struct RelationshipSide {
    std::string name;        // on the foreign side, the relationship's name
    std::int32_t number = 0; // this entry's logical index number
    std::vector<std::uint16_t> columnNumbers;
    bool primarySide = false; // this table holds the referenced key
    std::int32_t otherIndex = -1;
    std::uint32_t otherTablePage = 0;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
};

struct TableDefinition {
    std::string name;
    std::uint32_t page = 0;
    std::uint32_t storedRowCount = 0; // the tdef's own count; not trusted for reading
    std::uint8_t tableType = 0;
    std::uint16_t maxColumns = 0;     // deleted columns included: the widest row's column count
    std::uint16_t variableColumns = 0;
    std::uint32_t ownedPagesMap = 0;  // row pointer of the owned-pages usage map
    std::vector<Column> columns;      // entry order
    std::vector<Index> indexes;       // logical entries of type 0 and 1, in order
    std::vector<RelationshipSide> relationships; // logical entries of type 2, in order

    // Reads the tdef chain from `page`. Names are code-page text in Jet 3, decoded by `names`.
    static TableDefinition read(const PageChannel& channel, std::uint32_t page, const std::string& tableName,
                                const CodePageDecoder& names);

    const Column* findColumn(std::string_view columnName) const;
    const Column* findColumnByNumber(std::uint16_t number) const;
    // The key columns of the index or relationship entry with this logical number; nothing
    // when there is none.
    std::optional<std::vector<std::uint16_t>> logicalKeys(std::int32_t number) const;
};

} // namespace kavero::jet
