// Slot table checks of data pages.
#include "jet/data_page.h"

#include <cstring>

namespace kavero::jet {

DataPage::DataPage(const ByteView& page, const Format& format) : m_page(page), m_format(format) {
    if (m_page.u8(kPageTypeOffset) != kPageData) m_page.corrupt(0, "expected a data page (type 0x01)");
    m_rowCount = m_page.u16(format.dataRowCountOffset);
    if (!fits(m_page.size(), format.dataRowTableOffset, 2 * m_rowCount)) {
        m_page.corrupt(format.dataRowCountOffset,
                       "row count " + std::to_string(m_rowCount) + " does not fit the page's slot table");
    }
}

bool DataPage::isLongValuePage() const {
    for (std::size_t i = 0; i < 4; ++i) {
        if (m_page.u8(m_format.dataOwnerOffset + i) != static_cast<std::uint8_t>(kLongValuePageTag[i])) return false;
    }
    return true;
}

RowSlot DataPage::slot(std::size_t index) const {
    if (index >= m_rowCount) {
        m_page.corrupt(m_format.dataRowCountOffset, "row " + std::to_string(index) + " does not exist (" +
                                                        std::to_string(m_rowCount) + " rows)");
    }
    const std::uint16_t raw = m_page.u16(m_format.dataRowTableOffset + 2 * index);
    RowSlot slot;
    slot.flags = static_cast<std::uint16_t>(raw & (kRowDeleted | kRowOverflow));
    slot.start = raw & kRowOffsetMask;
    slot.end = index == 0 ? m_page.size() : (m_page.u16(m_format.dataRowTableOffset + 2 * (index - 1)) & kRowOffsetMask);
    const std::size_t tableEnd = m_format.dataRowTableOffset + 2 * m_rowCount;
    if (slot.start < tableEnd || slot.start > slot.end || slot.end > m_page.size()) {
        if (slot.deleted()) {
            // A deleted slot is never read; only its offset bounds a neighbour.
            slot.start = slot.end = tableEnd;
            return slot;
        }
        m_page.corrupt(m_format.dataRowTableOffset + 2 * index,
                       "row " + std::to_string(index) + " spans " + std::to_string(slot.start) + ".." +
                           std::to_string(slot.end) + ", outside the page's row area");
    }
    return slot;
}

} // namespace kavero::jet
