// Layout: magic, a chunk naming every property used, a table chunk, then one chunk per
// column that has properties. DefaultValue is kept as Memo text exactly as typed; Required
// and AllowZeroLength are one-byte Yes/No values, as Access writes them.
#include "jet/writer/property_blob.h"

#include <algorithm>
#include <string>

#include "jet/format.h"
#include "jet/writer/page_file.h"

namespace kavero::jet::writer {
namespace {

constexpr std::uint8_t kDdlFlag = 0x01;

struct Entry {
    std::uint16_t nameIndex;
    FieldType type;
    std::vector<std::uint8_t> value;
};

class NamePool {
public:
    std::uint16_t index(const std::u16string& name) {
        auto it = std::find(m_names.begin(), m_names.end(), name);
        if (it != m_names.end()) return static_cast<std::uint16_t>(it - m_names.begin());
        m_names.push_back(name);
        return static_cast<std::uint16_t>(m_names.size() - 1);
    }
    const std::vector<std::u16string>& names() const { return m_names; }

private:
    std::vector<std::u16string> m_names;
};

void appendChunk(ByteString& blob, std::uint16_t type, const ByteString& body) {
    blob.u32(static_cast<std::uint32_t>(6 + body.size()));
    blob.u16(type);
    blob.append(body.bytes);
}

// A value chunk: the name block (u32 its own length, u16 name length, name), then entries.
ByteString valueChunk(const std::u16string& objectName, const std::vector<Entry>& entries) {
    ByteString body;
    body.u32(static_cast<std::uint32_t>(4 + 2 + objectName.size() * 2));
    body.u16(static_cast<std::uint16_t>(objectName.size() * 2));
    body.utf16(objectName);
    for (const Entry& e : entries) {
        body.u16(static_cast<std::uint16_t>(8 + e.value.size()));
        body.u8(kDdlFlag);
        body.u8(static_cast<std::uint8_t>(e.type));
        body.u16(e.nameIndex);
        body.u16(static_cast<std::uint16_t>(e.value.size()));
        body.append(e.value);
    }
    return body;
}

} // namespace

std::vector<std::uint8_t> buildPropertyBlob(const Table& table) {
    if (!table.withProperties) return {};
    NamePool pool;
    std::vector<ByteString> columnChunks;
    for (const Column& column : table.columns) {
        std::vector<Entry> entries;
        if (column.defaultValue) {
            ByteString text;
            text.utf16(toUtf16(*column.defaultValue));
            entries.push_back({pool.index(u"DefaultValue"), FieldType::Memo, text.bytes});
        }
        if (column.required)
            entries.push_back({pool.index(u"Required"), FieldType::Boolean, {std::uint8_t(*column.required ? 1 : 0)}});
        if (column.allowZeroLength)
            entries.push_back({pool.index(u"AllowZeroLength"), FieldType::Boolean,
                               {std::uint8_t(*column.allowZeroLength ? 1 : 0)}});
        if (!entries.empty()) columnChunks.push_back(valueChunk(toUtf16(column.name), entries));
    }

    ByteString blob;
    blob.append(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(kPropertyMagicJet4), 4));
    ByteString names;
    for (const std::u16string& name : pool.names()) {
        names.u16(static_cast<std::uint16_t>(name.size() * 2));
        names.utf16(name);
    }
    appendChunk(blob, kPropertyChunkNames, names);
    appendChunk(blob, kPropertyChunkTable, valueChunk(u"", {}));
    for (const ByteString& chunk : columnChunks) appendChunk(blob, kPropertyChunkColumn, chunk);
    return blob.bytes;
}

} // namespace kavero::jet::writer
