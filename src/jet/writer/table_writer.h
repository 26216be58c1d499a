// Writes one table: its records onto data and LVAL pages, its usage maps and its definition.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/writer/description.h"
#include "jet/writer/long_value_store.h"
#include "jet/writer/page_file.h"

namespace kavero::jet::writer {

// One logical index entry of the tdef; several may share a real index.
struct LogicalIndex {
    std::string name;
    std::vector<IndexKey> keys;
    std::uint8_t kind = kLogicalIndexNormal;
    std::uint8_t realFlags = kIndexFlagJet4Always;
    std::uint8_t relType = 0;    // 1 on the relationship's primary side
    std::int32_t relIndex = -1;  // the other side's logical index number
    std::uint32_t relPage = 0;   // the other side's tdef page
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
};

// The logical entries a table's own indexes make, in description order.
std::vector<LogicalIndex> ownIndexes(const Table& table);

class TableWriter {
public:
    // inlineLimit: long values up to this many bytes stay in the row when it has room.
    // complexIds: per column, the ComplexID of a Complex column (the others' are unused).
    TableWriter(PageFile& file, const Table& table, std::uint32_t tdefPage, std::uint8_t tableType,
                std::size_t inlineLimit, std::vector<std::int32_t> complexIds = {});

    void write(const std::vector<LogicalIndex>& indexes);

private:
    struct ColumnPlan {
        std::uint16_t number = 0;
        std::uint16_t varIndex = 0;
        std::uint16_t fixedOffset = 0;
        std::uint16_t length = 0;
        std::uint8_t flags = 0;
        bool fixed = false;
        bool longValue = false;
    };

    void planColumns();
    std::vector<std::uint8_t> encodeRow(const Row& row);
    void encodeFixed(std::uint8_t* at, const Column& column, const Value& value) const;
    std::vector<std::uint8_t> encodeVariable(const Column& column, const Value& value) const;
    void placeRow(const std::vector<std::uint8_t>& row);
    std::vector<std::uint8_t> ownedMapRow();
    void writeDefinition(const std::vector<LogicalIndex>& indexes, std::uint32_t mapPage);
    std::size_t columnIndex(const std::string& name) const;

    PageFile& m_file;
    const Table& m_table;
    std::uint32_t m_tdefPage;
    std::uint8_t m_tableType;
    std::size_t m_inlineLimit;
    std::vector<std::int32_t> m_complexIds;
    std::vector<ColumnPlan> m_plan;
    std::vector<std::size_t> m_varOrder; // column indexes in var-index order
    std::size_t m_fixedSize = 0;
    LongValueStore m_longValues;
    std::optional<DataPage> m_dataPage;
    std::vector<std::uint32_t> m_dataPages;
    std::uint32_t m_rowCount = 0;
    std::int64_t m_lastAutoNumber = 0;
};

} // namespace kavero::jet::writer
