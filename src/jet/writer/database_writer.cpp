// Page plan: 0 header, 1 global usage map, 2 the catalog's definition, then one definition
// page per user table (so the catalog can name them), then each table's maps, records and
// long values, and last the catalog's own records.
#include "jet/writer/database_writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>

#include "jet/format.h"
#include "jet/writer/page_file.h"
#include "jet/writer/property_blob.h"
#include "jet/writer/table_writer.h"

namespace kavero::jet::writer {
namespace {

constexpr std::int64_t kTablesContainerId = 0x0F000001;
constexpr std::int64_t kTopContainerId = 0x0F000000;
constexpr std::int64_t kObjectTypeTable = 1;
constexpr std::int64_t kObjectTypeContainer = 3;
constexpr std::int64_t kSystemObjectFlags = INT32_MIN; // 0x80000000
// The hidden tables that hold attachments and multi-values carry these catalog flags.
constexpr std::int64_t kFlatTableFlags = static_cast<std::int32_t>(0x800A0000u);
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint32_t kGlobalMapPage = 1;
// The catalog keeps property blobs in the row while it has room, as Access does.
constexpr std::size_t kCatalogInlineLimit = 4000;
constexpr std::size_t kUserInlineLimit = 200;

void addColumn(Table& table, const char* name, FieldType type, int length) {
    Column column;
    column.name = name;
    column.type = type;
    column.length = length;
    table.columns.push_back(std::move(column));
}

Table catalogTable() {
    Table t;
    t.name = "MSysObjects";
    t.withProperties = false;
    auto col = [&t](const char* name, FieldType type, int length = 0) { addColumn(t, name, type, length); };
    col("Id", FieldType::Long);
    col("ParentId", FieldType::Long);
    col("Name", FieldType::Text, 255);
    col("Type", FieldType::Integer);
    col("DateCreate", FieldType::DateTime);
    col("DateUpdate", FieldType::DateTime);
    col("Owner", FieldType::Binary, 255);
    col("Flags", FieldType::Long);
    col("Database", FieldType::Memo);
    col("Connect", FieldType::Memo);
    col("ForeignName", FieldType::Text, 255);
    col("RmtInfoShort", FieldType::Binary, 255);
    col("RmtInfoLong", FieldType::Ole);
    col("Lv", FieldType::Ole);
    col("LvProp", FieldType::Ole);
    col("LvModule", FieldType::Ole);
    col("LvExtra", FieldType::Ole);
    return t;
}

// One row per attachment or multi-value field. No MSysComplexType_* tables are written, so
// ComplexTypeObjectID is 0: the readers here tell the kind from the flat table's columns.
Table complexColumnsTable() {
    Table t;
    t.name = "MSysComplexColumns";
    t.withProperties = false;
    t.system = true;
    auto col = [&t](const char* name, FieldType type, int length = 0) { addColumn(t, name, type, length); };
    col("ColumnName", FieldType::Text, 255);
    col("ComplexID", FieldType::Long);
    col("ComplexTypeObjectID", FieldType::Long);
    col("ConceptualTableID", FieldType::Long);
    col("FlatTableID", FieldType::Long);
    return t;
}

Row catalogRow(std::int64_t id, std::int64_t parent, const std::string& name, std::int64_t type, std::int64_t flags,
               DateTime when, Value properties) {
    Row r(17);
    r[0] = id;
    r[1] = parent;
    r[2] = name;
    r[3] = type;
    r[4] = when;
    r[5] = when;
    r[7] = flags;
    r[14] = std::move(properties);
    return r;
}

void rc4Xor(std::uint8_t* data, std::size_t length, const std::uint8_t* key, std::size_t keyLength) {
    std::uint8_t s[256];
    for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xFF];
    }
}

void writeHeader(PageFile& file, DateTime created) {
    const Format& f = file.format();
    std::uint8_t* p = file.page(0);
    p[1] = 0x01;
    std::memcpy(p + f.engineNameOffset, kJetEngineName, sizeof kJetEngineName);
    p[f.versionByteOffset] = kVersionJet4;
    putU16(p + f.codePageOffset, kCodePage1252);
    putU32(p + f.databaseKeyOffset, 0); // no page encoding
    // An empty password reads back as the mask itself: the creation day repeated.
    const auto day = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(created.days)));
    for (std::size_t i = 0; i < f.passwordLength; i += 4) putU32(p + f.passwordOffset + i, day);
    putU16(p + f.sortOrderOffset, kSortGeneralLegacy);
    putU64(p + f.creationDateOffset, std::bit_cast<std::uint64_t>(created.days));
    rc4Xor(p + f.maskedOffset, f.maskedLength, kHeaderMaskKey, sizeof kHeaderMaskKey);
}

// Page 1: a set bit means the page is free. Readers ignore it; Access wants it right.
void writeGlobalMap(PageFile& file) {
    const Format& f = file.format();
    DataPage page(file, kGlobalMapPage, 1u);
    std::vector<std::uint8_t> row(f.usageMapRowLength, 0);
    const std::size_t window = (f.usageMapRowLength - 5) * 8;
    for (std::size_t n = file.pageCount(); n < window; ++n) row[5 + n / 8] |= static_cast<std::uint8_t>(1u << (n % 8));
    page.add(row);
    page.add(std::vector<std::uint8_t>(f.usageMapRowLength, 0));
}

// Each relationship adds an entry on both sides: the foreign side gets an index on its
// columns, the primary side shares its primary key's index.
void addRelationships(const Database& db, const std::map<std::string, std::size_t>& byName,
                      const std::vector<std::uint32_t>& tdefPages, std::vector<std::vector<LogicalIndex>>& indexes) {
    for (const Relationship& rel : db.relationships) {
        const auto p = byName.find(rel.primaryTable);
        const auto f = byName.find(rel.foreignTable);
        if (p == byName.end() || f == byName.end())
            throw std::runtime_error("relationship \"" + rel.name + "\" names an unknown table");
        auto& primarySide = indexes[p->second];
        auto& foreignSide = indexes[f->second];
        const auto pk = std::find_if(primarySide.begin(), primarySide.end(),
                                     [](const LogicalIndex& l) { return l.kind == kLogicalIndexPrimary; });
        if (pk == primarySide.end())
            throw std::runtime_error("relationship \"" + rel.name + "\": its primary table has no primary key");
        if (pk->keys.size() != rel.foreignColumns.size())
            throw std::runtime_error("relationship \"" + rel.name + "\": key column counts differ");
        const auto pkNumber = static_cast<std::int32_t>(pk - primarySide.begin());
        const std::vector<IndexKey> pkKeys = pk->keys;
        LogicalIndex foreign;
        foreign.name = rel.name;
        for (const std::string& c : rel.foreignColumns) foreign.keys.push_back({c, true});
        foreign.kind = kLogicalIndexForeign;
        foreign.relIndex = pkNumber;
        foreign.relPage = tdefPages[p->second];
        foreign.cascadeUpdates = rel.cascadeUpdates;
        foreign.cascadeDeletes = rel.cascadeDeletes;
        const auto foreignNumber = static_cast<std::int32_t>(foreignSide.size());
        foreignSide.push_back(std::move(foreign));
        LogicalIndex primary;
        primary.name = ".r" + rel.name;
        primary.keys = pkKeys;
        primary.kind = kLogicalIndexForeign;
        primary.relType = kRelationshipPrimarySide;
        primary.relIndex = foreignNumber;
        primary.relPage = tdefPages[f->second];
        primary.cascadeUpdates = rel.cascadeUpdates;
        primary.cascadeDeletes = rel.cascadeDeletes;
        primarySide.push_back(std::move(primary));
    }
}

} // namespace

std::vector<std::uint8_t> buildDatabase(const Database& db) {
    PageFile file(kJet4Format);
    for (std::uint32_t i = 0; i <= kCatalogPage; ++i) file.allocate();

    // The described tables, then MSysComplexColumns when a field needs it.
    std::vector<const Table*> tables;
    for (const Table& t : db.tables) tables.push_back(&t);
    Table complexColumns = complexColumnsTable();
    const bool anyComplex = std::any_of(db.tables.begin(), db.tables.end(), [](const Table& t) {
        return std::any_of(t.columns.begin(), t.columns.end(),
                           [](const Column& c) { return c.type == FieldType::Complex; });
    });
    if (anyComplex) tables.push_back(&complexColumns);

    std::map<std::string, std::size_t> byName;
    std::vector<std::uint32_t> tdefPages;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        if (!byName.emplace(tables[t]->name, t).second)
            throw std::runtime_error("two tables are named \"" + tables[t]->name + "\"");
        tdefPages.push_back(file.allocate());
    }
    std::vector<std::vector<LogicalIndex>> indexes;
    for (const Table* t : tables) indexes.push_back(ownIndexes(*t));
    addRelationships(db, byName, tdefPages, indexes);

    // ComplexIDs in order of appearance; each field's flat table gets the hidden tables' flags.
    std::vector<std::vector<std::int32_t>> complexIds(tables.size());
    std::vector<bool> flat(tables.size(), false);
    std::int32_t nextComplexId = 1;
    for (std::size_t t = 0; t < db.tables.size(); ++t) {
        for (const Column& c : db.tables[t].columns) {
            complexIds[t].push_back(c.type == FieldType::Complex ? nextComplexId : 0);
            if (c.type != FieldType::Complex) continue;
            const auto values = byName.find(c.flatTable);
            if (values == byName.end() || !tables[values->second]->system)
                throw std::runtime_error("table \"" + db.tables[t].name + "\": field \"" + c.name +
                                         "\" needs a system table \"" + c.flatTable + "\" for its values");
            flat[values->second] = true;
            complexColumns.rows.push_back({c.name, std::int64_t{nextComplexId}, std::int64_t{0},
                                           std::int64_t{tdefPages[t]}, std::int64_t{tdefPages[values->second]}});
            ++nextComplexId;
        }
    }

    for (std::size_t t = 0; t < tables.size(); ++t)
        TableWriter(file, *tables[t], tdefPages[t], tables[t]->system ? kTableTypeSystem : kTableTypeUser,
                    kUserInlineLimit, complexIds[t])
            .write(indexes[t]);

    Table catalog = catalogTable();
    catalog.rows.push_back(catalogRow(kTablesContainerId, kTopContainerId, "Tables", kObjectTypeContainer,
                                      kSystemObjectFlags, db.created, std::monostate{}));
    catalog.rows.push_back(catalogRow(kCatalogPage, kTablesContainerId, "MSysObjects", kObjectTypeTable,
                                      kSystemObjectFlags, db.created, std::monostate{}));
    for (std::size_t t = 0; t < tables.size(); ++t) {
        Bytes blob = buildPropertyBlob(*tables[t]);
        Value properties = blob.empty() ? Value{} : Value{std::move(blob)};
        const std::int64_t flags = flat[t] ? kFlatTableFlags : tables[t]->system ? kSystemObjectFlags : 0;
        catalog.rows.push_back(catalogRow(tdefPages[t], kTablesContainerId, tables[t]->name, kObjectTypeTable, flags,
                                          db.created, std::move(properties)));
    }
    TableWriter(file, catalog, kCatalogPage, kTableTypeSystem, kCatalogInlineLimit).write({});

    writeGlobalMap(file);
    writeHeader(file, db.created);
    return file.bytes();
}

void writeDatabase(const Database& database, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = buildDatabase(database);
    const std::filesystem::path partial = path.string() + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot create " + partial.string());
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

} // namespace kavero::jet::writer
