// Follows long-value pointers with every length and pointer checked against the file.
#include "jet/long_value.h"

#include <algorithm>
#include <set>

#include "jet/data_page.h"

namespace kavero::jet {

namespace {

void append(std::vector<std::uint8_t>& out, std::span<const std::byte> bytes) {
    if (bytes.empty()) return; // an empty vector's data() may be null, which memcpy must not see
    const std::size_t at = out.size();
    out.resize(at + bytes.size());
    std::memcpy(out.data() + at, bytes.data(), bytes.size());
}

} // namespace

ByteView LongValueReader::lvalRow(std::uint32_t pointer, std::vector<std::byte>& buffer) const {
    const ByteView view = m_channel.readPageOfType(pointerPage(pointer), kPageData, buffer, "long value");
    const DataPage page(view, m_channel.format());
    if (!page.isLongValuePage()) view.corrupt(m_channel.format().dataOwnerOffset, "long value page lacks its LVAL tag");
    return page.row(page.slot(pointerRow(pointer)));
}

std::vector<std::uint8_t> LongValueReader::read(const ByteView& field) {
    field.require(0, kLongValueHeaderSize, "long value header");
    const std::uint32_t word = field.u32(0);
    const std::uint32_t length = word & kLongValueLengthMask;
    const auto kind = static_cast<std::uint8_t>((word >> 24) & 0xC0);
    const std::uint32_t pointer = field.u32(4);
    // No value is longer than the file that holds it: check before allocating.
    if (length > m_channel.fileSize()) {
        field.corrupt(0, "long value length " + std::to_string(length) + " exceeds the file size");
    }
    std::vector<std::uint8_t> out;
    if (kind == kLongValueInline) {
        append(out, field.bytes(kLongValueHeaderSize, length));
    } else if (kind == kLongValueSingle) {
        const ByteView row = lvalRow(pointer, m_buffer);
        append(out, row.bytes(0, length));
    } else if (kind == kLongValueChain) {
        out.reserve(length);
        std::set<std::uint32_t> visited;
        std::uint32_t next = pointer;
        while (out.size() < length) {
            if (next == 0) field.corrupt(4, "long value chain ends after " + std::to_string(out.size()) + " of " +
                                                std::to_string(length) + " bytes");
            if (!visited.insert(next).second) field.corrupt(4, "long value chain loops back to row " + std::to_string(next));
            const ByteView row = lvalRow(next, m_buffer);
            row.require(0, kLongValueChainLinkSize, "long value chain link");
            next = row.u32(0);
            const std::size_t chunk = std::min<std::size_t>(row.size() - kLongValueChainLinkSize, length - out.size());
            if (chunk == 0) field.corrupt(4, "long value chain has an empty row");
            append(out, row.bytes(kLongValueChainLinkSize, chunk));
        }
    } else {
        field.corrupt(3, "invalid long value kind 0xC0");
    }
    return out;
}

} // namespace kavero::jet
