// Parses the concatenated tdef chain: header, column entries and names, real and logical
// index entries, index names, and the column usage-map list ending in 0xFFFF.
#include "jet/table_definition.h"

#include <set>

#include "jet/byte_view.h"

namespace kavero::jet {

namespace {

// Tdefs of the widest tables (255 columns with long names and many indexes) take a handful
// of pages; anything longer is a damaged or hostile chain.
constexpr std::size_t kMaxTdefPages = 64;
constexpr std::size_t kMaxColumns = 4096;

std::vector<std::byte> readChain(const PageChannel& channel, std::uint32_t first) {
    std::vector<std::byte> buffer;
    std::vector<std::byte> chain;
    std::set<std::uint32_t> visited;
    std::uint32_t page = first;
    while (page != 0) {
        if (!visited.insert(page).second) {
            throw FormatError(ErrorCode::Corrupt, "table definition chain returns to page " + std::to_string(page));
        }
        if (visited.size() > kMaxTdefPages) {
            throw FormatError(ErrorCode::Corrupt,
                              "table definition chain longer than " + std::to_string(kMaxTdefPages) + " pages");
        }
        const ByteView view = channel.readPageOfType(page, kPageTableDefinition, buffer, "table definition");
        const std::size_t from = chain.empty() ? 0 : kTdefPageHeaderSize;
        chain.insert(chain.end(), buffer.begin() + static_cast<std::ptrdiff_t>(from), buffer.end());
        page = view.u32(channel.format().tdefNextPageOffset);
    }
    return chain;
}

class NameReader {
public:
    NameReader(const ByteView& view, const Format& format, const CodePageDecoder& names)
        : m_view(view), m_format(format), m_names(names) {}
    std::string read(std::size_t& pos) const {
        std::size_t length = 0;
        if (m_format.nameLengthSize == 1) {
            length = m_view.u8(pos);
        } else {
            length = m_view.u16(pos);
        }
        pos += m_format.nameLengthSize;
        const auto bytes = m_view.bytes(pos, length);
        pos += length;
        return m_format.version == Version::Jet3 ? m_names.decode(bytes) : decodeUcs2(bytes);
    }

private:
    const ByteView& m_view;
    const Format& m_format;
    const CodePageDecoder& m_names;
};

struct RealIndex {
    std::vector<IndexKey> keys;
    std::uint8_t flags = 0;
};

} // namespace

std::int32_t Column::daoSize(const Format& format) const {
    switch (type) {
    case kTypeBoolean:
        return 1;
    case kTypeDecimal:
        return 16; // the row holds 17 bytes; DAO counts the 16 of its value
    case kTypeText:
        return static_cast<std::int32_t>(length / format.textUnitSize);
    case kTypeMemo:
    case kTypeOle:
        return 0;
    default: {
        const std::size_t size = valueSizeOf(type);
        return size != 0 ? static_cast<std::int32_t>(size) : length;
    }
    }
}

std::int32_t Column::daoAttributes() const {
    std::int32_t attributes = fixed() ? 1 : 2;
    // Access also marks attachment and multi-value columns, whose sets of values it numbers;
    // such a field is no AutoNumber.
    if ((flags & kColumnAutoLong) != 0 && type != kTypeComplex) attributes |= 16;
    if ((flags & kColumnUpdatable) != 0) attributes |= 32;
    if (type == kTypeMemo && (flags & kColumnHyperlink) != 0) attributes |= 0x8000;
    return attributes;
}

TableDefinition TableDefinition::read(const PageChannel& channel, std::uint32_t page, const std::string& tableName,
                                      const CodePageDecoder& names) {
    const Format& f = channel.format();
    TableDefinition def;
    def.name = tableName;
    def.page = page;
    try {
        const std::vector<std::byte> chain = readChain(channel, page);
        const ByteView td(chain, page, 0);
        const std::uint32_t tdefLength = td.u32(f.tdefLengthOffset);
        def.storedRowCount = td.u32(f.tdefRowCountOffset);
        def.tableType = td.u8(f.tdefTableTypeOffset);
        def.maxColumns = td.u16(f.tdefMaxColsOffset);
        def.variableColumns = td.u16(f.tdefVarColsOffset);
        const std::size_t columnCount = td.u16(f.tdefColumnCountOffset);
        const std::int32_t logicalCount = td.i32(f.tdefIndexCountOffset);
        const std::int32_t realCount = td.i32(f.tdefRealIndexCountOffset);
        def.ownedPagesMap = td.u32(f.tdefOwnedMapOffset);
        if (columnCount > kMaxColumns || def.maxColumns < columnCount) {
            td.corrupt(f.tdefColumnCountOffset, std::to_string(columnCount) + " columns, at most " +
                                                    std::to_string(def.maxColumns) + " expected");
        }
        if (logicalCount < 0 || realCount < 0) td.corrupt(f.tdefIndexCountOffset, "negative index count");
        const auto realIndexes = static_cast<std::size_t>(realCount);
        const auto logicalIndexes = static_cast<std::size_t>(logicalCount);

        std::size_t pos = f.tdefRealIndexHeadersOffset;
        // Check each block fits before sizing anything by a count from the file.
        td.require(pos, realIndexes * f.realIndexHeaderSize, "real index headers");
        pos += realIndexes * f.realIndexHeaderSize;
        td.require(pos, columnCount * f.columnEntrySize, "column entries");
        def.columns.resize(columnCount);
        for (Column& c : def.columns) {
            const ByteView entry = td.sub(pos, f.columnEntrySize);
            c.type = entry.u8(f.columnTypeOffset);
            c.number = entry.u16(f.columnNumberOffset);
            c.varIndex = entry.u16(f.columnVarIndexOffset);
            c.flags = entry.u8(f.columnFlagsOffset);
            c.fixedOffset = entry.u16(f.columnFixedOffsetOffset);
            c.length = entry.u16(f.columnLengthOffset);
            if (f.version != Version::Jet3) {
                c.extFlags = entry.u8(kJet4ColumnExtFlagsOffset);
                if (c.type == kTypeDecimal) {
                    c.precision = entry.u8(f.columnPrecisionOffset);
                    c.scale = entry.u8(f.columnScaleOffset);
                }
                if (c.type == kTypeComplex) c.complexId = entry.i32(kColumnComplexIdOffset);
            }
            if (c.number >= def.maxColumns) {
                entry.corrupt(f.columnNumberOffset, "column number " + std::to_string(c.number) +
                                                        " not below the column count " +
                                                        std::to_string(def.maxColumns));
            }
            pos += f.columnEntrySize;
        }
        const NameReader nameReader(td, f, names);
        for (std::size_t i = 0; i < columnCount; ++i) {
            def.columns[i].name = nameReader.read(pos);
            requireObjectName(def.columns[i].name,
                              "column " + std::to_string(i + 1) + " of " + std::to_string(columnCount));
        }

        td.require(pos, realIndexes * f.realIndexEntrySize, "real index entries");
        std::vector<RealIndex> reals(realIndexes);
        for (RealIndex& real : reals) {
            const ByteView entry = td.sub(pos, f.realIndexEntrySize);
            for (std::size_t k = 0; k < kIndexKeyColumns; ++k) {
                const std::size_t slot = f.realIndexColumnsOffset + k * kIndexKeySlotSize;
                const std::uint16_t number = entry.u16(slot);
                if (number == kIndexSlotUnused) continue;
                real.keys.push_back({number, (entry.u8(slot + 2) & kIndexOrderAscending) != 0});
            }
            real.flags = entry.u8(f.realIndexFlagsOffset);
            pos += f.realIndexEntrySize;
        }

        td.require(pos, logicalIndexes * f.logicalIndexEntrySize, "logical index entries");
        struct Logical {
            std::int32_t number;
            std::int32_t real;
            std::uint8_t type;
            RelationshipSide relationship;
        };
        std::vector<Logical> logicals(logicalIndexes);
        for (Logical& logical : logicals) {
            const ByteView entry = td.sub(pos, f.logicalIndexEntrySize);
            logical.number = entry.i32(f.logicalIndexNumberOffset);
            logical.real = entry.i32(f.logicalIndexRealOffset);
            logical.type = entry.u8(f.logicalIndexTypeOffset);
            if (logical.type == kLogicalIndexForeign) {
                RelationshipSide& side = logical.relationship;
                side.primarySide = entry.u8(f.logicalIndexRelTypeOffset) == kRelationshipPrimarySide;
                side.otherIndex = entry.i32(f.logicalIndexRelIndexOffset);
                side.otherTablePage = entry.u32(f.logicalIndexRelPageOffset);
                side.cascadeUpdates = entry.u8(f.logicalIndexCascadeUpdateOffset) != 0;
                side.cascadeDeletes = entry.u8(f.logicalIndexCascadeDeleteOffset) != 0;
            }
            pos += f.logicalIndexEntrySize;
        }
        std::vector<std::string> indexNames(logicalIndexes);
        for (std::size_t i = 0; i < logicalIndexes; ++i) {
            indexNames[i] = nameReader.read(pos);
            requireObjectName(indexNames[i],
                              "index " + std::to_string(i + 1) + " of " + std::to_string(logicalIndexes));
        }

        // The usage maps of long-value columns, up to the trailer.
        while (td.u16(pos) != kTdefTrailer) pos += kTdefColumnMapEntrySize;
        pos += 2;
        // The stored length is where the trailer ends: the best check that every count and
        // name length above was read right.
        if (pos != tdefLength) {
            td.corrupt(f.tdefLengthOffset, "the definition ends at " + std::to_string(pos) +
                                               ", its stored length says " + std::to_string(tdefLength));
        }

        for (std::size_t i = 0; i < logicals.size(); ++i) {
            Logical& logical = logicals[i];
            if (logical.type == kLogicalIndexForeign) {
                // A relationship whose index is gone cannot be followed; the table still reads.
                if (logical.real < 0 || static_cast<std::size_t>(logical.real) >= reals.size()) continue;
                RelationshipSide& side = logical.relationship;
                side.name = indexNames[i];
                side.number = logical.number;
                for (const IndexKey& key : reals[static_cast<std::size_t>(logical.real)].keys)
                    side.columnNumbers.push_back(key.columnNumber);
                def.relationships.push_back(std::move(side));
                continue;
            }
            if (logical.real < 0 || static_cast<std::size_t>(logical.real) >= reals.size()) {
                td.corrupt(f.tdefIndexCountOffset, "index '" + indexNames[i] + "' refers to real index " +
                                                       std::to_string(logical.real) + " of " +
                                                       std::to_string(reals.size()));
            }
            const RealIndex& real = reals[static_cast<std::size_t>(logical.real)];
            Index index;
            index.name = indexNames[i];
            index.number = logical.number;
            index.keys = real.keys;
            index.primary = logical.type == kLogicalIndexPrimary;
            index.unique = index.primary || (real.flags & kIndexFlagUnique) != 0;
            for (const IndexKey& key : index.keys) {
                const Column* column = def.findColumnByNumber(key.columnNumber);
                if (column == nullptr) {
                    td.corrupt(f.tdefIndexCountOffset, "index '" + index.name + "' uses column number " +
                                                           std::to_string(key.columnNumber) +
                                                           ", which the table does not have");
                }
                if (!index.fieldsText.empty()) index.fieldsText += ';';
                index.fieldsText += (key.ascending ? '+' : '-') + column->name;
            }
            def.indexes.push_back(std::move(index));
        }
    } catch (const FormatError& e) {
        throw e.withContext("table '" + tableName + "' (definition page " + std::to_string(page) + ")");
    }
    return def;
}

const Column* TableDefinition::findColumn(std::string_view columnName) const {
    for (const Column& c : columns) {
        if (c.name == columnName) return &c;
    }
    return nullptr;
}

const Column* TableDefinition::findColumnByNumber(std::uint16_t number) const {
    for (const Column& c : columns) {
        if (c.number == number) return &c;
    }
    return nullptr;
}

std::optional<std::vector<std::uint16_t>> TableDefinition::logicalKeys(std::int32_t number) const {
    for (const Index& index : indexes) {
        if (index.number != number) continue;
        std::vector<std::uint16_t> columns;
        for (const IndexKey& key : index.keys) columns.push_back(key.columnNumber);
        return columns;
    }
    for (const RelationshipSide& side : relationships) {
        if (side.number == number) return side.columnNumbers;
    }
    return std::nullopt;
}

} // namespace kavero::jet
