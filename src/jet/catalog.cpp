// Reads MSysObjects like any table and picks out the table rows.
#include "jet/catalog.h"

#include "jet/record_cursor.h"
#include "jet/table_definition.h"

namespace kavero::jet {

namespace {

struct CatalogColumns {
    std::size_t id, name, type, flags, properties;
};

CatalogColumns locate(const TableDefinition& def) {
    auto find = [&](std::string_view name) {
        for (std::size_t i = 0; i < def.columns.size(); ++i) {
            if (def.columns[i].name == name) return i;
        }
        throw FormatError(ErrorCode::Corrupt, "the catalog table has no column '" + std::string(name) + "'");
    };
    return {find("Id"), find("Name"), find("Type"), find("Flags"), find("LvProp")};
}

std::int64_t integer(const Value& v) {
    return wholeNumber(v).value_or(-1);
}

template <class Visit>
void scan(const PageChannel& channel, const CodePageDecoder& codePage, bool withProperties, Visit&& visit) {
    const std::string context = "file '" + channel.path() + "', catalog";
    TableDefinition def;
    CatalogColumns at{};
    try {
        def = TableDefinition::read(channel, static_cast<std::uint32_t>(kMsysObjectsPage), "MSysObjects", codePage);
        at = locate(def);
    } catch (const FormatError& e) {
        throw e.withContext(context);
    }
    std::vector<bool> wanted(def.columns.size(), false);
    wanted[at.id] = wanted[at.name] = wanted[at.type] = wanted[at.flags] = true;
    if (withProperties) wanted[at.properties] = true;
    RecordCursor cursor(channel, def, codePage, wanted); // its errors name the file and MSysObjects
    std::vector<Value> row;
    while (cursor.next(row)) {
        if (integer(row[at.type]) != kObjectTypeTable) continue;
        CatalogEntry entry;
        entry.tdefPage = static_cast<std::uint32_t>(integer(row[at.id])) & kObjectIdPageMask;
        // A table row without a usable name cannot be listed; leaving it out would hide the
        // table, so it is reported like any other damage.
        const std::string table = "the table at definition page " + std::to_string(entry.tdefPage);
        const auto* name = std::get_if<Text>(&row[at.name]);
        if (name == nullptr || name->utf8.empty()) {
            throw FormatError(ErrorCode::Corrupt, context + ", " + table + " has no name");
        }
        try {
            requireObjectName(name->utf8, table);
        } catch (const FormatError& e) {
            throw e.withContext(context);
        }
        entry.name = name->utf8;
        entry.flags = static_cast<std::uint32_t>(integer(row[at.flags]));
        entry.system = (entry.flags & kObjectFlagsSystem) != 0;
        if (!visit(entry, row[at.properties])) return;
    }
}

} // namespace

std::vector<CatalogEntry> Catalog::tables(const PageChannel& channel, const CodePageDecoder& codePage) {
    std::vector<CatalogEntry> out;
    scan(channel, codePage, false, [&](CatalogEntry& entry, const Value&) {
        out.push_back(std::move(entry));
        return true;
    });
    return out;
}

std::vector<std::uint8_t> Catalog::properties(const PageChannel& channel, const CodePageDecoder& codePage,
                                              const std::string& tableName) {
    std::vector<std::uint8_t> blob;
    scan(channel, codePage, true, [&](const CatalogEntry& entry, const Value& value) {
        if (entry.name != tableName) return true;
        if (const auto* bytes = std::get_if<Bytes>(&value)) blob = bytes->data;
        return false;
    });
    return blob;
}

} // namespace kavero::jet
