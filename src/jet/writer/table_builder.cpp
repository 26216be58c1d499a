// The fixture table builder.
#include <stdexcept>

#include "jet/writer/fixtures.h"

namespace kavero::jet::writer {

Column& TableBuilder::last() {
    if (m_table.columns.empty()) throw std::logic_error("no column to set a property on");
    return m_table.columns.back();
}

TableBuilder& TableBuilder::column(std::string name, FieldType type, int length) {
    Column c;
    c.name = std::move(name);
    c.type = type;
    c.length = length;
    m_table.columns.push_back(std::move(c));
    return *this;
}

TableBuilder& TableBuilder::autoNumber(std::string name) {
    column(std::move(name), FieldType::Long);
    last().autoNumber = true;
    return *this;
}

TableBuilder& TableBuilder::decimal(std::string name, int precision, int scale) {
    column(std::move(name), FieldType::Decimal);
    last().precision = precision;
    last().scale = scale;
    return *this;
}

TableBuilder& TableBuilder::complex(std::string name, std::string flatTable) {
    column(std::move(name), FieldType::Complex);
    last().flatTable = std::move(flatTable);
    return *this;
}

TableBuilder& TableBuilder::attachmentColumns(std::string link) {
    return column(std::move(link), FieldType::Long)
        .column("FileData", FieldType::Ole)
        .column("FileFlags", FieldType::Long)
        .column("FileName", FieldType::Text, 255)
        .column("FileTimeStamp", FieldType::DateTime)
        .column("FileType", FieldType::Text, 255)
        .column("FileURL", FieldType::Memo)
        .system();
}

TableBuilder& TableBuilder::defaultValue(std::string text) {
    last().defaultValue = std::move(text);
    return *this;
}
TableBuilder& TableBuilder::required(bool on) {
    last().required = on;
    return *this;
}
TableBuilder& TableBuilder::allowZeroLength(bool on) {
    last().allowZeroLength = on;
    return *this;
}
TableBuilder& TableBuilder::hyperlink() {
    last().hyperlink = true;
    return *this;
}
TableBuilder& TableBuilder::autoGuid() {
    last().autoGuid = true;
    return *this;
}

TableBuilder& TableBuilder::primaryKey(std::string name, std::vector<std::string> columns) {
    Index index;
    index.name = std::move(name);
    for (auto& c : columns) index.keys.push_back({std::move(c), true});
    index.primary = true;
    index.unique = true;
    m_table.indexes.push_back(std::move(index));
    return *this;
}

TableBuilder& TableBuilder::index(std::string name, std::vector<IndexKey> keys, bool unique) {
    Index index;
    index.name = std::move(name);
    index.keys = std::move(keys);
    index.unique = unique;
    m_table.indexes.push_back(std::move(index));
    return *this;
}

TableBuilder& TableBuilder::row(Row values) {
    m_table.rows.push_back(std::move(values));
    return *this;
}

TableBuilder& TableBuilder::generated(std::size_t count, std::function<Row(std::size_t)> generate) {
    m_table.generatedRows = count;
    m_table.generate = std::move(generate);
    return *this;
}

TableBuilder& TableBuilder::withoutProperties() {
    m_table.withProperties = false;
    return *this;
}

TableBuilder& TableBuilder::compressText() {
    m_table.compressText = true;
    return *this;
}

TableBuilder& TableBuilder::system() {
    m_table.system = true;
    return *this;
}

} // namespace kavero::jet::writer
