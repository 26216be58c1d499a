// Ties the reader together: catalog look-up, definitions with properties, record cursors.
#include "jet/database.h"

#include <algorithm>
#include <map>

#include "jet/properties.h"
#include "shell/ascii.h"

namespace kavero::jet {

Database::Database(const std::string& path, ReadOptions options) : m_channel(path), m_codePage(options.jet3CodePage) {}

Database::Database(const std::string& name, std::vector<std::byte> image, ReadOptions options)
    : m_channel(name, std::move(image)), m_codePage(options.jet3CodePage) {}

const std::vector<CatalogEntry>& Database::tables() {
    if (!m_tables) m_tables = std::make_unique<std::vector<CatalogEntry>>(Catalog::tables(m_channel, m_codePage));
    return *m_tables;
}

const CatalogEntry* Database::findTable(std::string_view name) {
    for (const CatalogEntry& entry : tables()) {
        if (entry.name == name) return &entry;
    }
    for (const CatalogEntry& entry : tables()) {
        if (shell::equalsIgnoringCase(entry.name, name)) return &entry;
    }
    return nullptr;
}

TableDefinition Database::readTable(const CatalogEntry& entry) {
    TableDefinition def;
    try {
        def = TableDefinition::read(m_channel, entry.tdefPage, entry.name, m_codePage);
    } catch (const FormatError& e) {
        throw e.withContext("file '" + path() + "'");
    }
    // The catalog's errors name the file already.
    const std::vector<std::uint8_t> blob = Catalog::properties(m_channel, m_codePage, entry.name);
    try {
        applyColumnProperties(blob, format(), m_codePage, def);
    } catch (const FormatError& e) {
        throw e.withContext("file '" + path() + "', table '" + entry.name + "', properties");
    }
    return def;
}

TableDefinition Database::table(std::string_view name) {
    if (const CatalogEntry* found = findTable(name)) return readTable(*found);
    // A table of the catalog keeps its name: a values table of the same name stays unlisted.
    const auto& fields = complexFields();
    auto field =
        std::find_if(fields.begin(), fields.end(), [&](const ComplexField& f) { return f.valuesTable == name; });
    if (field == fields.end()) {
        field = std::find_if(fields.begin(), fields.end(),
                             [&](const ComplexField& f) { return shell::equalsIgnoringCase(f.valuesTable, name); });
    }
    if (field == fields.end()) {
        throw FormatError(ErrorCode::TableNotFound, "file '" + path() + "' has no table '" + std::string(name) + "'");
    }
    const CatalogEntry* flat = findTable(field->flatTable);
    if (flat == nullptr) {
        throw FormatError(ErrorCode::TableNotFound, "file '" + path() + "' has no table '" + field->flatTable + "'");
    }
    try {
        return valuesTableDefinition(readTable(*flat), *field);
    } catch (const FormatError& e) {
        throw e.withContext("file '" + path() + "'");
    }
}

const std::vector<ComplexField>& Database::complexFields() {
    if (!m_complexFields) {
        try {
            m_complexFields =
                std::make_unique<std::vector<ComplexField>>(readComplexFields(m_channel, m_codePage, tables()));
        } catch (const FormatError& e) {
            throw e.withContext("file '" + path() + "', MSysComplexColumns");
        }
    }
    return *m_complexFields;
}

std::vector<Relationship> Database::relationships() {
    std::map<std::uint32_t, TableDefinition> byPage;
    for (const CatalogEntry& entry : tables()) {
        try {
            byPage.emplace(entry.tdefPage, TableDefinition::read(m_channel, entry.tdefPage, entry.name, m_codePage));
        } catch (const FormatError&) {
            // Reading the table itself reports the damage.
        }
    }
    const auto names = [](const TableDefinition& table, const std::vector<std::uint16_t>& numbers) {
        std::vector<std::string> columns;
        for (std::uint16_t number : numbers) {
            const Column* column = table.findColumnByNumber(number);
            if (column == nullptr) return std::vector<std::string>{};
            columns.push_back(column->name);
        }
        return columns;
    };
    std::vector<Relationship> found;
    for (const CatalogEntry& entry : tables()) {
        const auto foreign = byPage.find(entry.tdefPage);
        if (foreign == byPage.end()) continue;
        for (const RelationshipSide& side : foreign->second.relationships) {
            if (side.primarySide) continue; // the foreign side's entry names the relationship
            const auto primary = byPage.find(side.otherTablePage);
            if (primary == byPage.end()) continue;
            const auto keys = primary->second.logicalKeys(side.otherIndex);
            if (!keys) continue;
            Relationship relationship{side.name,
                                      primary->second.name,
                                      names(primary->second, *keys),
                                      foreign->second.name,
                                      names(foreign->second, side.columnNumbers),
                                      side.cascadeUpdates,
                                      side.cascadeDeletes};
            if (relationship.primaryColumns.empty() ||
                relationship.primaryColumns.size() != relationship.foreignColumns.size())
                continue;
            found.push_back(std::move(relationship));
        }
    }
    return found;
}

// The cursor names the file and the table in its errors.
RecordCursor Database::records(const TableDefinition& table, std::vector<bool> wanted, PageShare share) const {
    return RecordCursor(m_channel, table, m_codePage, std::move(wanted), share);
}

std::uint64_t Database::recordCount(const TableDefinition& table) const {
    RecordCursor cursor = records(table, std::vector<bool>(table.columns.size(), false));
    std::vector<Value> row;
    std::uint64_t count = 0;
    while (cursor.next(row)) ++count;
    return count;
}

std::uint64_t Database::nonNullCount(const TableDefinition& table, std::size_t column) const {
    std::vector<bool> wanted(table.columns.size(), false);
    if (column >= wanted.size()) {
        throw FormatError(ErrorCode::ItemNotFound,
                          "table '" + table.name + "' has no column " + std::to_string(column));
    }
    wanted[column] = true;
    RecordCursor cursor = records(table, wanted);
    std::vector<Value> row;
    std::uint64_t count = 0;
    while (cursor.next(row)) count += isNull(row[column]) ? 0 : 1;
    return count;
}

} // namespace kavero::jet
