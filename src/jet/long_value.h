// Long values (Memo, OLE): the 12-byte field in the row and the LVAL rows it points to,
// inline, in one row, or as a chain of rows.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/page_channel.h"

namespace kavero::jet {

class LongValueReader {
public:
    explicit LongValueReader(const PageChannel& channel) : m_channel(channel) {}

    // The value's bytes. `field` is the column's whole variable-length slice of the row.
    std::vector<std::uint8_t> read(const ByteView& field);

private:
    ByteView lvalRow(std::uint32_t pointer, std::vector<std::byte>& buffer) const;

    const PageChannel& m_channel;
    std::vector<std::byte> m_buffer;
};

} // namespace kavero::jet
