// An open Access database: the entry point of the reader. Open it for one operation and let
// it go; it holds the file open only while it lives.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/catalog.h"
#include "jet/complex_field.h"
#include "jet/page_channel.h"
#include "jet/record_cursor.h"
#include "jet/table_definition.h"
#include "jet/text_codec.h"

namespace kavero::jet {

struct ReadOptions {
    // The code page of Jet 3 text; the file cannot tell it (it says 1252 whatever it holds).
    int jet3CodePage = kDefaultCodePage;
};

// A relationship that enforces referential integrity: the foreign table's columns refer to the
// primary table's, pair by pair.
struct Relationship {
    std::string name;
    std::string primaryTable;
    std::vector<std::string> primaryColumns;
    std::string foreignTable;
    std::vector<std::string> foreignColumns;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
};

class Database {
public:
    // Throws FormatError: 3024 no such file, 3343 not an Access file, 3031 encrypted.
    explicit Database(const std::string& path, ReadOptions options = {});
    // A database image in memory (tests, fuzzing); `name` stands for the file in error texts.
    Database(const std::string& name, std::vector<std::byte> image, ReadOptions options = {});

    const std::string& path() const { return m_channel.path(); }
    const DatabaseHeader& header() const { return m_channel.header(); }
    const Format& format() const { return m_channel.format(); }
    const PageChannel& channel() const { return m_channel; }
    const CodePageDecoder& codePage() const { return m_codePage; }

    // Every local table, system tables included, in catalog order.
    const std::vector<CatalogEntry>& tables();
    // The definition with column properties. Throws FormatError 3078 when there is no such
    // table (the name is matched exactly, then ignoring ASCII letter case, as Access does).
    // A name no catalog table has may be a values table (see complexFields()).
    TableDefinition table(std::string_view name);

    // The attachment and multi-value fields, each with the name of its values table.
    const std::vector<ComplexField>& complexFields();

    // Every relationship between local tables, once each, in the catalog order of its foreign
    // table. One whose other side cannot be found or read is left out: a file's tables are
    // still read when its relationships are damaged.
    std::vector<Relationship> relationships();
    // A cursor over the records of `table` (of one share of its pages), which must outlive it.
    RecordCursor records(const TableDefinition& table, std::vector<bool> wanted = {}, PageShare share = {}) const;
    // Records present, counted by reading them (the tdef's own count can be stale).
    std::uint64_t recordCount(const TableDefinition& table) const;
    // Records whose value in column `column` (entry index) is not Null.
    std::uint64_t nonNullCount(const TableDefinition& table, std::size_t column) const;

private:
    PageChannel m_channel;
    CodePageDecoder m_codePage;
    const CatalogEntry* findTable(std::string_view name);
    TableDefinition readTable(const CatalogEntry& entry);

    std::unique_ptr<std::vector<CatalogEntry>> m_tables;
    std::unique_ptr<std::vector<ComplexField>> m_complexFields;
};

} // namespace kavero::jet
