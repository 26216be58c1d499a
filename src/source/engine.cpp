// The engine operations over the Access reader.
#include "source/engine.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <functional>
#include <numeric>
#include <system_error>
#include <thread>

#include "jet/text_codec.h"

namespace kavero::source {

ReadOptions readOptionsFromEnvironment() {
    const char* text = std::getenv(kCodePageVariable);
    if (text == nullptr || *text == '\0') return {};
    const std::string_view value(text);
    int codePage = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), codePage);
    if (result.ec != std::errc() || result.ptr != value.data() + value.size() || codePage <= 0) {
        throw EngineError(jet::ErrorCode::CodePage,
                          std::string(kCodePageVariable) + " holds '" + text + "', not a code page number");
    }
    return readOptionsForCodePage(codePage);
}

ReadOptions readOptionsForCodePage(int codePage) {
    if (codePage <= 0) throw EngineError(jet::ErrorCode::CodePage, std::to_string(codePage) + " is no code page");
    const jet::CodePageDecoder known(codePage); // throws for a code page iconv cannot read
    ReadOptions options;
    options.jet3CodePage = codePage;
    return options;
}

Recordset::Recordset(const jet::Database& database, jet::TableDefinition definition, TableDef def, jet::PageShare share)
    : m_definition(std::make_unique<jet::TableDefinition>(std::move(definition))),
      m_def(std::make_unique<TableDef>(std::move(def))),
      m_cursor(std::make_unique<jet::RecordCursor>(database.records(*m_definition, {}, share))) {
    moveNext();
}

void Recordset::moveNext() {
    if (m_eof) return;
    m_eof = !m_cursor->next(m_row);
    if (m_eof) m_row.assign(m_def->fields.size(), jet::Null{});
}

const Value& Recordset::value(std::size_t field) const {
    if (field >= m_row.size()) {
        throw EngineError(jet::ErrorCode::ItemNotFound,
                          "table '" + m_def->name + "' has no field " + std::to_string(field));
    }
    return m_row[field];
}

const Value& Recordset::value(std::string_view fieldName) const {
    for (std::size_t i = 0; i < m_def->fields.size(); ++i) {
        if (m_def->fields[i].name == fieldName) return value(i);
    }
    throw EngineError(jet::ErrorCode::ItemNotFound,
                      "table '" + m_def->name + "' has no field '" + std::string(fieldName) + "'");
}

AccessDatabase::AccessDatabase(const std::string& path, const ReadOptions& options) : m_database(path, options) {}

std::vector<std::string> AccessDatabase::tableDefNames() {
    std::vector<std::string> names;
    for (const jet::CatalogEntry& entry : m_database.tables()) names.push_back(entry.name);
    return names;
}

std::vector<TableEntry> AccessDatabase::tableDefs() {
    std::vector<TableEntry> entries;
    for (const jet::CatalogEntry& entry : m_database.tables()) entries.push_back({entry.name, entry.system});
    return entries;
}

std::vector<ValuesTable> AccessDatabase::valuesTables() {
    std::vector<ValuesTable> out;
    for (const jet::ComplexField& field : m_database.complexFields()) {
        out.push_back({field.valuesTable, field.table, field.column});
    }
    return out;
}

TableDef AccessDatabase::describe(const jet::TableDefinition& definition) const {
    TableDef def;
    def.name = definition.name;
    for (const jet::Column& c : definition.columns) {
        Field field;
        field.name = c.name;
        field.type = c.type;
        field.size = c.daoSize(m_database.format());
        field.attributes = c.daoAttributes();
        field.allowZeroLength = c.allowZeroLength;
        field.required = c.required;
        field.defaultValue = c.defaultValue.value_or("");
        field.precision = c.precision;
        field.scale = c.scale;
        def.fields.push_back(std::move(field));
    }
    for (const jet::Index& index : definition.indexes) {
        def.indexes.push_back({index.name, index.fieldsText, index.unique, index.primary});
    }
    return def;
}

TableDef AccessDatabase::tableDef(std::string_view tableName) {
    return describe(m_database.table(tableName));
}

Recordset AccessDatabase::openRecordset(std::string_view tableName, jet::PageShare share) {
    jet::TableDefinition definition = m_database.table(tableName);
    TableDef def = describe(definition);
    return Recordset(m_database, std::move(definition), std::move(def), share);
}

std::uint64_t AccessDatabase::recordCount(std::string_view tableName) {
    return m_database.recordCount(m_database.table(tableName));
}

std::uint64_t AccessDatabase::countValues(std::string_view tableName, std::string_view fieldName) {
    const jet::TableDefinition definition = m_database.table(tableName);
    for (std::size_t i = 0; i < definition.columns.size(); ++i) {
        if (definition.columns[i].name == fieldName) return m_database.nonNullCount(definition, i);
    }
    throw EngineError(jet::ErrorCode::ItemNotFound,
                      "table '" + definition.name + "' has no field '" + std::string(fieldName) + "'");
}

std::size_t readingShares() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
}

void readInShares(std::size_t shares, const std::function<void(std::size_t)>& read) {
    std::vector<std::exception_ptr> errors(shares);
    const auto readShare = [&](std::size_t index) {
        try {
            read(index);
        } catch (...) {
            errors[index] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t index = 1; index < shares; ++index) {
        try {
            threads.emplace_back(readShare, index);
        } catch (const std::system_error&) {
            readShare(index); // no thread to be had: read the share here
        }
    }
    if (shares > 0) readShare(0);
    for (std::thread& thread : threads) thread.join();
    // A share ends at its first damage, the shares are in stored order: the first error met
    // is the one a reading from the start would have met.
    for (const std::exception_ptr& error : errors) {
        if (error) std::rethrow_exception(error);
    }
}

std::int64_t readEveryRecord(const std::string& path, const ReadOptions& options, std::string_view tableName,
                             std::size_t shares) {
    if (shares == 0) shares = readingShares();
    std::vector<std::int64_t> records(shares, 0);
    readInShares(shares, [&](std::size_t index) {
        AccessDatabase database(path, options);
        for (Recordset set = database.openRecordset(tableName, {index, shares}); !set.eof(); set.moveNext())
            ++records[index];
    });
    return std::accumulate(records.begin(), records.end(), std::int64_t{0});
}

} // namespace kavero::source
