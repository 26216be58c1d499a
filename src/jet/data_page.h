// A data or long-value page (type 0x01): its owner and the slot table of its rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jet/byte_view.h"
#include "jet/format.h"

namespace kavero::jet {

struct RowSlot {
    std::size_t start = 0; // offsets within the page; end is exclusive
    std::size_t end = 0;
    std::uint16_t flags = 0; // kRowDeleted, kRowOverflow

    bool deleted() const { return (flags & kRowDeleted) != 0; }
    bool overflow() const { return (flags & kRowOverflow) != 0; }
};

class DataPage {
public:
    // Checks the type byte and that the slot table lies inside the page.
    DataPage(const ByteView& page, const Format& format);

    std::uint32_t owner() const { return m_page.u32(m_format.dataOwnerOffset); }
    bool isLongValuePage() const;
    std::size_t rowCount() const { return m_rowCount; }
    // The bounds of slot `index`: from its offset to the previous slot's offset (or the page
    // end for slot 0). Throws FormatError when they do not lie inside the page.
    RowSlot slot(std::size_t index) const;
    // The bytes of a slot's row.
    ByteView row(const RowSlot& slot) const { return m_page.sub(slot.start, slot.end - slot.start); }
    const ByteView& view() const { return m_page; }

private:
    ByteView m_page;
    const Format& m_format;
    std::size_t m_rowCount = 0;
};

// A row pointer as stored everywhere: page in the high 24 bits, slot in the low 8.
inline std::uint32_t pointerPage(std::uint32_t pointer) { return pointer >> 8; }
inline std::size_t pointerRow(std::uint32_t pointer) { return pointer & 0xFF; }

} // namespace kavero::jet
