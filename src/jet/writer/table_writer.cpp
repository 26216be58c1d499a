// Column planning, row encoding, page packing, usage maps and the table definition.
#include "jet/writer/table_writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace kavero::jet::writer {
namespace {

// Largest row Access writes on a Jet 4 page.
constexpr std::size_t kMaxRowLength = 4060;
constexpr std::size_t kMaxTextChars = 255;
constexpr std::size_t kMaxBinaryBytes = 510;
// Text columns carry the sort order followed by two zero bytes.
constexpr std::uint8_t kTextMisc[4] = {0x09, 0x04, 0x00, 0x00};

bool isLongValue(FieldType t) { return t == FieldType::Memo || t == FieldType::Ole; }
bool isVariable(FieldType t) { return t == FieldType::Text || t == FieldType::Binary || isLongValue(t); }

std::uint16_t storedLength(const Column& c) {
    switch (c.type) {
    case FieldType::Boolean: return 1;
    case FieldType::Text: return static_cast<std::uint16_t>(2 * c.length);
    case FieldType::Binary: return static_cast<std::uint16_t>(c.length);
    case FieldType::Complex: return static_cast<std::uint16_t>(kComplexValueIdSize);
    default: return static_cast<std::uint16_t>(valueSizeOf(static_cast<std::uint8_t>(c.type)));
    }
}

std::runtime_error tableError(const Table& t, const std::string& what) {
    return std::runtime_error("table \"" + t.name + "\": " + what);
}

void writeUsageMapInline(std::vector<std::uint8_t>& row, std::uint32_t start, const std::vector<std::uint32_t>& pages) {
    row[0] = kUsageMapInline;
    putU32(row.data() + 1, start);
    for (std::uint32_t p : pages) row[5 + (p - start) / 8] |= static_cast<std::uint8_t>(1u << ((p - start) % 8));
}

} // namespace

std::vector<LogicalIndex> ownIndexes(const Table& table) {
    std::vector<LogicalIndex> out;
    for (const Index& index : table.indexes) {
        LogicalIndex l;
        l.name = index.name;
        l.keys = index.keys;
        l.kind = index.primary ? kLogicalIndexPrimary : kLogicalIndexNormal;
        l.realFlags = kIndexFlagJet4Always;
        if (index.primary || index.unique) l.realFlags |= kIndexFlagUnique;
        if (index.primary || index.required) l.realFlags |= kIndexFlagRequired;
        if (index.ignoreNulls) l.realFlags |= kIndexFlagIgnoreNulls;
        out.push_back(std::move(l));
    }
    return out;
}

TableWriter::TableWriter(PageFile& file, const Table& table, std::uint32_t tdefPage, std::uint8_t tableType,
                         std::size_t inlineLimit, std::vector<std::int32_t> complexIds)
    : m_file(file), m_table(table), m_tdefPage(tdefPage), m_tableType(tableType), m_inlineLimit(inlineLimit),
      m_complexIds(std::move(complexIds)), m_longValues(file) {
    m_complexIds.resize(table.columns.size(), 0);
    planColumns();
}

void TableWriter::planColumns() {
    const auto& columns = m_table.columns;
    if (columns.empty() || columns.size() > 255) throw tableError(m_table, "needs 1 to 255 columns");
    m_plan.resize(columns.size());
    std::uint16_t fixedOffset = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        ColumnPlan& p = m_plan[i];
        if (c.type == FieldType::Text && (c.length < 1 || c.length > static_cast<int>(kMaxTextChars)))
            throw tableError(m_table, "text column \"" + c.name + "\" needs a length of 1 to 255");
        if (c.type == FieldType::Binary && (c.length < 1 || c.length > static_cast<int>(kMaxBinaryBytes)))
            throw tableError(m_table, "binary column \"" + c.name + "\" needs a length of 1 to 510");
        if (c.autoNumber && c.type != FieldType::Long)
            throw tableError(m_table, "AutoNumber column \"" + c.name + "\" must be Long");
        if (c.type == FieldType::Decimal && (c.precision < 1 || c.precision > 28 || c.scale < 0 || c.scale > c.precision))
            throw tableError(m_table, "decimal column \"" + c.name + "\" has a bad precision or scale");
        p.number = static_cast<std::uint16_t>(i);
        p.length = storedLength(c);
        p.fixed = !isVariable(c.type);
        p.longValue = isLongValue(c.type);
        p.flags = kColumnUpdatable;
        if (p.fixed) p.flags |= kColumnFixed;
        // Access numbers each record's set of values itself, and marks the column so.
        if (c.autoNumber || c.type == FieldType::Complex) p.flags |= kColumnAutoLong;
        if (c.autoGuid && c.type == FieldType::Guid) p.flags |= kColumnAutoGuid;
        if (c.hyperlink && c.type == FieldType::Memo) p.flags |= kColumnHyperlink;
        // Yes/No lives only in the null mask and takes no fixed bytes.
        if (p.fixed && c.type != FieldType::Boolean) {
            p.fixedOffset = fixedOffset;
            fixedOffset = static_cast<std::uint16_t>(fixedOffset + p.length);
        }
    }
    m_fixedSize = fixedOffset;
    // Text and Binary take the first var indexes, Memo and OLE the rest.
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (!m_plan[i].fixed && m_plan[i].longValue == (pass == 1)) {
                m_plan[i].varIndex = static_cast<std::uint16_t>(m_varOrder.size());
                m_varOrder.push_back(i);
            }
}

void TableWriter::encodeFixed(std::uint8_t* at, const Column& column, const Value& value) const {
    switch (column.type) {
    case FieldType::Byte: at[0] = static_cast<std::uint8_t>(std::get<std::int64_t>(value)); break;
    case FieldType::Integer: putU16(at, static_cast<std::uint16_t>(std::get<std::int64_t>(value))); break;
    case FieldType::Long:
    case FieldType::Complex: putU32(at, static_cast<std::uint32_t>(std::get<std::int64_t>(value))); break;
    case FieldType::Currency: putU64(at, static_cast<std::uint64_t>(std::get<Currency>(value).tenThousandths)); break;
    case FieldType::Single:
        putU32(at, std::bit_cast<std::uint32_t>(static_cast<float>(std::get<double>(value))));
        break;
    case FieldType::Double: putU64(at, std::bit_cast<std::uint64_t>(std::get<double>(value))); break;
    case FieldType::DateTime: putU64(at, std::bit_cast<std::uint64_t>(std::get<DateTime>(value).days)); break;
    case FieldType::Guid: {
        // Microsoft order: the first three groups little-endian, the last eight bytes as written.
        const auto& b = std::get<Guid>(value).bytes;
        const std::uint8_t order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
        for (int i = 0; i < 16; ++i) at[i] = b[order[i]];
        break;
    }
    case FieldType::Decimal: {
        // Sign byte, then the 128-bit magnitude as four little-endian words, most significant first.
        const Decimal& d = std::get<Decimal>(value);
        at[0] = d.negative ? 0x80 : 0x00;
        for (int w = 0; w < 4; ++w)
            putU32(at + 1 + 4 * w, static_cast<std::uint32_t>(d.unscaled >> (32 * (3 - w))));
        break;
    }
    case FieldType::ExtendedDate: {
        const Bytes stored = std::get<ExtendedDate>(value).stored();
        std::copy(stored.begin(), stored.end(), at);
        break;
    }
    default: break;
    }
}

std::vector<std::uint8_t> TableWriter::encodeVariable(const Column& column, const Value& value) const {
    if (std::holds_alternative<std::string>(value)) {
        const std::u16string text = toUtf16(std::get<std::string>(value));
        if (column.type == FieldType::Text && text.size() > static_cast<std::size_t>(column.length))
            throw tableError(m_table, "text longer than column \"" + column.name + "\" allows");
        ByteString out;
        // Empty text stays empty: a lone marker would read back as U+FEFF in some readers.
        const bool compressible = m_table.compressText && !text.empty() &&
                                  std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 1 && c <= 0xFF; });
        if (compressible) {
            out.append(kCompressedTextMarker);
            for (char16_t c : text) out.u8(static_cast<std::uint8_t>(c));
        } else {
            out.utf16(text);
        }
        return out.bytes;
    }
    const Bytes& bytes = std::get<Bytes>(value);
    if (column.type == FieldType::Binary && bytes.size() > static_cast<std::size_t>(column.length))
        throw tableError(m_table, "binary value longer than column \"" + column.name + "\" allows");
    return bytes;
}

std::vector<std::uint8_t> TableWriter::encodeRow(const Row& row) {
    const auto& columns = m_table.columns;
    if (row.size() != columns.size()) throw tableError(m_table, "a record has the wrong number of values");
    const std::size_t maskLength = (columns.size() + 7) / 8;
    std::vector<std::uint8_t> mask(maskLength, 0);
    std::vector<std::uint8_t> out(m_file.format().rowColumnCountSize + m_fixedSize, 0);
    putU16(out.data(), static_cast<std::uint16_t>(columns.size()));

    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        if (!valueFits(c, row[i])) throw tableError(m_table, "value does not suit column \"" + c.name + "\"");
        const bool isNull = std::holds_alternative<std::monostate>(row[i]);
        bool bit = !isNull;
        if (c.type == FieldType::Boolean) {
            bit = !isNull && std::get<bool>(row[i]);
        } else if (m_plan[i].fixed && !isNull) {
            encodeFixed(out.data() + m_file.format().rowColumnCountSize + m_plan[i].fixedOffset, c, row[i]);
            if (c.autoNumber) m_lastAutoNumber = std::max(m_lastAutoNumber, std::get<std::int64_t>(row[i]));
        }
        if (bit) mask[m_plan[i].number / 8] |= static_cast<std::uint8_t>(1u << (m_plan[i].number % 8));
    }

    if (!m_varOrder.empty()) {
        std::vector<std::vector<std::uint8_t>> data(m_varOrder.size());
        std::vector<std::size_t> longOnes;
        std::size_t total = out.size() + 2 * (m_varOrder.size() + 1) + 2 + maskLength;
        for (std::size_t v = 0; v < m_varOrder.size(); ++v) {
            const std::size_t i = m_varOrder[v];
            if (std::holds_alternative<std::monostate>(row[i])) continue; // NULL: zero length
            data[v] = encodeVariable(columns[i], row[i]);
            if (m_plan[i].longValue) {
                longOnes.push_back(v);
                total += kLongValueHeaderSize;
            } else {
                total += data[v].size();
            }
        }
        // Small long values stay in the row while it has room; the rest go to LVAL pages.
        std::stable_sort(longOnes.begin(), longOnes.end(),
                         [&](std::size_t a, std::size_t b) { return data[a].size() < data[b].size(); });
        for (std::size_t v : longOnes) {
            if (data[v].size() <= m_inlineLimit && total + data[v].size() <= kMaxRowLength) {
                total += data[v].size();
                data[v] = LongValueStore::inlineField(data[v]);
            } else {
                data[v] = m_longValues.store(data[v]);
            }
        }
        if (total > kMaxRowLength) throw tableError(m_table, "a record is longer than a page can hold");
        std::vector<std::uint16_t> offsets;
        for (const auto& d : data) {
            offsets.push_back(static_cast<std::uint16_t>(out.size()));
            out.insert(out.end(), d.begin(), d.end());
        }
        offsets.push_back(static_cast<std::uint16_t>(out.size())); // end of the variable data
        // The offset table runs backwards: eod first, var index 0 last, then the count.
        for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
            out.push_back(static_cast<std::uint8_t>(*it));
            out.push_back(static_cast<std::uint8_t>(*it >> 8));
        }
        out.push_back(static_cast<std::uint8_t>(m_varOrder.size()));
        out.push_back(static_cast<std::uint8_t>(m_varOrder.size() >> 8));
    } else if (out.size() + maskLength > kMaxRowLength) {
        throw tableError(m_table, "a record is longer than a page can hold");
    }
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

void TableWriter::placeRow(const std::vector<std::uint8_t>& row) {
    if (!m_dataPage || !m_dataPage->fits(row.size())) {
        const std::uint32_t number = m_file.allocate();
        m_dataPage.emplace(m_file, number, m_tdefPage);
        m_dataPages.push_back(number);
    }
    m_dataPage->add(row);
    ++m_rowCount;
}

std::vector<std::uint8_t> TableWriter::ownedMapRow() {
    const Format& f = m_file.format();
    std::vector<std::uint8_t> row(f.usageMapRowLength, 0);
    if (m_dataPages.empty()) return row;
    const std::uint32_t first = m_dataPages.front();
    const std::uint32_t last = m_dataPages.back();
    const std::size_t window = (f.usageMapRowLength - 5) * 8;
    if (last - first < window) {
        writeUsageMapInline(row, first, m_dataPages);
        return row;
    }
    // Too wide for one inline window: point at bitmap pages, each covering a fixed page range.
    row[0] = kUsageMapReference;
    const std::size_t perPage = (f.pageSize - kUsageMapPageBitmapOffset) * 8;
    const std::size_t slots = (f.usageMapRowLength - 1) / 4;
    std::vector<std::uint32_t> bitmapPages(slots, 0);
    for (std::uint32_t p : m_dataPages) {
        const std::size_t slot = p / perPage;
        if (slot >= slots) throw tableError(m_table, "file too large for its usage map");
        if (bitmapPages[slot] == 0) {
            bitmapPages[slot] = m_file.allocate();
            std::uint8_t* page = m_file.page(bitmapPages[slot]);
            page[0] = kPageUsageMap;
            page[1] = 0x01;
            putU32(row.data() + 1 + 4 * slot, bitmapPages[slot]);
        }
        const std::size_t bit = p % perPage;
        m_file.page(bitmapPages[slot])[kUsageMapPageBitmapOffset + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    }
    return row;
}

void TableWriter::write(const std::vector<LogicalIndex>& indexes) {
    const std::uint32_t mapPage = m_file.allocate();
    const std::size_t count = m_table.rowCount();
    for (std::size_t r = 0; r < count; ++r) placeRow(encodeRow(m_table.rowAt(r)));
    writeDefinition(indexes, mapPage);
}

std::size_t TableWriter::columnIndex(const std::string& name) const {
    for (std::size_t i = 0; i < m_table.columns.size(); ++i)
        if (m_table.columns[i].name == name) return i;
    throw tableError(m_table, "index names an unknown column \"" + name + "\"");
}

void TableWriter::writeDefinition(const std::vector<LogicalIndex>& indexes, std::uint32_t mapPage) {
    const Format& f = m_file.format();

    // Real indexes: one per distinct key list; relationship entries share an existing one.
    std::vector<std::size_t> realOf(indexes.size());
    std::vector<const LogicalIndex*> reals;
    for (std::size_t l = 0; l < indexes.size(); ++l) {
        const LogicalIndex& li = indexes[l];
        if (li.keys.empty() || li.keys.size() > kIndexKeyColumns)
            throw tableError(m_table, "index \"" + li.name + "\" needs 1 to 10 keys");
        auto same = std::find_if(reals.begin(), reals.end(), [&](const LogicalIndex* r) {
            return std::equal(r->keys.begin(), r->keys.end(), li.keys.begin(), li.keys.end(),
                              [](const IndexKey& a, const IndexKey& b) {
                                  return a.column == b.column && a.ascending == b.ascending;
                              }) &&
                   (li.kind == kLogicalIndexForeign || r->realFlags == li.realFlags);
        });
        realOf[l] = static_cast<std::size_t>(same - reals.begin());
        if (same == reals.end()) reals.push_back(&li);
    }

    // The usage map page: owned pages, free pages, one row per real index, two per long column.
    DataPage maps(m_file, mapPage, 0u);
    const std::uint32_t ownedMap = maps.add(ownedMapRow());
    const std::vector<std::uint8_t> emptyMap(f.usageMapRowLength, 0);
    const std::uint32_t freeMap = maps.add(emptyMap);
    std::vector<std::uint32_t> indexMaps;
    for (std::size_t r = 0; r < reals.size(); ++r) indexMaps.push_back(maps.add(emptyMap));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> longMaps;
    for (const ColumnPlan& p : m_plan)
        if (p.longValue) longMaps.emplace_back(maps.add(emptyMap), maps.add(emptyMap));

    ByteString def;
    def.zeros(f.tdefRealIndexHeadersOffset);
    def.bytes[0] = kPageTableDefinition;
    def.bytes[1] = 0x01;
    def.patchU32(kJet4TdefMagicOffset, kJet4TdefMagic);
    def.patchU32(f.tdefRowCountOffset, m_rowCount);
    def.patchU32(f.tdefAutoNumberOffset, static_cast<std::uint32_t>(m_lastAutoNumber));
    def.bytes[kJet4TdefBeforeTypeOffset] = 0x01;
    def.bytes[f.tdefTableTypeOffset] = m_tableType;
    def.patchU16(f.tdefMaxColsOffset, static_cast<std::uint16_t>(m_plan.size()));
    def.patchU16(f.tdefVarColsOffset, static_cast<std::uint16_t>(m_varOrder.size()));
    def.patchU16(f.tdefColumnCountOffset, static_cast<std::uint16_t>(m_plan.size()));
    def.patchU32(f.tdefIndexCountOffset, static_cast<std::uint32_t>(indexes.size()));
    def.patchU32(f.tdefRealIndexCountOffset, static_cast<std::uint32_t>(reals.size()));
    def.patchU32(f.tdefOwnedMapOffset, ownedMap);
    def.patchU32(f.tdefFreeMapOffset, freeMap);

    for (std::size_t r = 0; r < reals.size(); ++r) {
        const std::size_t at = def.size();
        def.zeros(f.realIndexHeaderSize);
        def.patchU32(at + kJet4RealIndexRowsOffset, m_rowCount);
    }
    for (std::size_t i = 0; i < m_plan.size(); ++i) {
        const ColumnPlan& p = m_plan[i];
        const Column& c = m_table.columns[i];
        const std::size_t at = def.size();
        def.zeros(f.columnEntrySize);
        def.bytes[at + f.columnTypeOffset] = static_cast<std::uint8_t>(c.type);
        def.patchU32(at + kJet4ColumnMagicOffset, kJet4TdefMagic);
        def.patchU16(at + f.columnNumberOffset, p.number);
        def.patchU16(at + f.columnVarIndexOffset, p.varIndex);
        def.patchU16(at + kJet4ColumnNumberAgainOffset, p.number);
        if (c.type == FieldType::Text || c.type == FieldType::Memo) {
            std::copy(std::begin(kTextMisc), std::end(kTextMisc), def.bytes.begin() + at + f.columnSortOrderOffset);
        } else if (c.type == FieldType::Decimal) {
            def.bytes[at + f.columnPrecisionOffset] = static_cast<std::uint8_t>(c.precision);
            def.bytes[at + f.columnScaleOffset] = static_cast<std::uint8_t>(c.scale);
        } else if (c.type == FieldType::Complex) {
            def.patchU32(at + kColumnComplexIdOffset, static_cast<std::uint32_t>(m_complexIds.at(i)));
        }
        def.bytes[at + f.columnFlagsOffset] = p.flags;
        def.patchU16(at + f.columnFixedOffsetOffset, p.fixedOffset);
        def.patchU16(at + f.columnLengthOffset, p.length);
    }
    for (const Column& c : m_table.columns) {
        const std::u16string name = toUtf16(c.name);
        def.u16(static_cast<std::uint16_t>(name.size() * 2));
        def.utf16(name);
    }
    for (std::size_t r = 0; r < reals.size(); ++r) {
        const std::size_t at = def.size();
        def.zeros(f.realIndexEntrySize);
        def.patchU32(at, kJet4RealIndexMagic);
        for (std::size_t k = 0; k < kIndexKeyColumns; ++k) {
            const std::size_t slot = at + f.realIndexColumnsOffset + 3 * k;
            if (k < reals[r]->keys.size()) {
                def.patchU16(slot, m_plan[columnIndex(reals[r]->keys[k].column)].number);
                def.bytes[slot + 2] = reals[r]->keys[k].ascending ? 1 : 0;
            } else {
                def.patchU16(slot, kIndexSlotUnused);
            }
        }
        def.patchU32(at + kJet4RealIndexUsageMapOffset, indexMaps[r]);
        def.bytes[at + f.realIndexFlagsOffset] = reals[r]->realFlags;
    }
    for (std::size_t l = 0; l < indexes.size(); ++l) {
        const LogicalIndex& li = indexes[l];
        const std::size_t at = def.size();
        def.zeros(f.logicalIndexEntrySize);
        def.patchU32(at + kJet4LogicalIndexMagicOffset, kJet4TdefMagic);
        def.patchU32(at + f.logicalIndexNumberOffset, static_cast<std::uint32_t>(l));
        def.patchU32(at + f.logicalIndexRealOffset, static_cast<std::uint32_t>(realOf[l]));
        def.bytes[at + f.logicalIndexRelTypeOffset] = li.relType;
        def.patchU32(at + f.logicalIndexRelIndexOffset, static_cast<std::uint32_t>(li.relIndex));
        def.patchU32(at + f.logicalIndexRelPageOffset, li.relPage);
        def.bytes[at + f.logicalIndexCascadeUpdateOffset] = li.cascadeUpdates ? 1 : 0;
        def.bytes[at + f.logicalIndexCascadeDeleteOffset] = li.cascadeDeletes ? 1 : 0;
        def.bytes[at + f.logicalIndexTypeOffset] = li.kind;
    }
    for (const LogicalIndex& li : indexes) {
        const std::u16string name = toUtf16(li.name);
        def.u16(static_cast<std::uint16_t>(name.size() * 2));
        def.utf16(name);
    }
    std::size_t longColumn = 0;
    for (const ColumnPlan& p : m_plan) {
        if (!p.longValue) continue;
        def.u16(p.number);
        def.u32(longMaps[longColumn].first);
        def.u32(longMaps[longColumn].second);
        ++longColumn;
    }
    def.u16(kTdefTrailer);
    def.patchU32(f.tdefLengthOffset, static_cast<std::uint32_t>(def.size()));

    // The first page takes the buffer as is; each continuation page repeats the 8-byte header.
    const std::size_t perPage = f.pageSize - kTdefPageHeaderSize;
    std::uint32_t page = m_tdefPage;
    std::size_t at = 0;
    while (true) {
        const std::size_t take = std::min(def.size() - at, at == 0 ? f.pageSize : perPage);
        std::uint8_t* p = m_file.page(page);
        const std::size_t headerSkip = at == 0 ? 0 : kTdefPageHeaderSize;
        std::memcpy(p + headerSkip, def.bytes.data() + at, take);
        p[0] = kPageTableDefinition;
        p[1] = 0x01;
        const std::size_t used = headerSkip + take;
        putU16(p + kJet4TdefFreeSpaceOffset,
               static_cast<std::uint16_t>(f.pageSize >= used + kTdefPageHeaderSize
                                              ? f.pageSize - used - kTdefPageHeaderSize
                                              : 0));
        at += take;
        if (at >= def.size()) {
            putU32(p + f.tdefNextPageOffset, 0);
            break;
        }
        const std::uint32_t next = m_file.allocate();
        putU32(m_file.page(page) + f.tdefNextPageOffset, next);
        page = next;
    }
}

} // namespace kavero::jet::writer
