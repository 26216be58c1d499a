// LVAL rows are packed into shared LVAL pages. A chain is written back to front so that
// each row already knows where the next one lives.
#include "jet/writer/long_value_store.h"

#include <algorithm>
#include <stdexcept>

namespace kavero::jet::writer {
namespace {

// Chain chunks stay a little under a page's capacity, as Access writes them.
constexpr std::size_t kChainChunk = 4072;

std::vector<std::uint8_t> header(std::size_t length, std::uint8_t kind, std::uint32_t pointer) {
    if (length > kLongValueLengthMask) throw std::invalid_argument("long value too large");
    std::vector<std::uint8_t> field(kLongValueHeaderSize, 0);
    putU32(field.data(), static_cast<std::uint32_t>(length) | (static_cast<std::uint32_t>(kind) << 24));
    putU32(field.data() + 4, pointer);
    return field;
}

} // namespace

std::vector<std::uint8_t> LongValueStore::inlineField(std::span<const std::uint8_t> data) {
    auto field = header(data.size(), kLongValueInline, 0);
    field.insert(field.end(), data.begin(), data.end());
    return field;
}

std::uint32_t LongValueStore::putRow(std::span<const std::uint8_t> row) {
    if (!m_page || !m_page->fits(row.size())) {
        const std::uint32_t number = m_file.allocate();
        m_page.emplace(m_file, number,
                       std::span<const std::uint8_t, 4>(reinterpret_cast<const std::uint8_t*>(kLongValuePageTag), 4));
    }
    return m_page->add(row);
}

std::vector<std::uint8_t> LongValueStore::store(std::span<const std::uint8_t> data) {
    // A single row must be exactly the value's length, never padded.
    if (data.size() <= DataPage::capacity(m_file.format()))
        return header(data.size(), kLongValueSingle, putRow(data));

    std::vector<std::span<const std::uint8_t>> chunks;
    for (std::size_t at = 0; at < data.size(); at += kChainChunk)
        chunks.push_back(data.subspan(at, std::min(kChainChunk, data.size() - at)));
    std::uint32_t next = 0;
    std::vector<std::uint8_t> row;
    for (auto it = chunks.rbegin(); it != chunks.rend(); ++it) {
        row.assign(4, 0);
        putU32(row.data(), next);
        row.insert(row.end(), it->begin(), it->end());
        next = putRow(row);
    }
    return header(data.size(), kLongValueChain, next);
}

} // namespace kavero::jet::writer
