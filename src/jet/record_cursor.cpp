// Walks the owned pages of a table and hands each live row to the row decoder.
#include "jet/record_cursor.h"

#include <algorithm>
#include <cstdio>

#include "jet/data_page.h"
#include "jet/usage_map.h"

namespace kavero::jet {

RecordCursor::RecordCursor(const PageChannel& channel, const TableDefinition& table, const CodePageDecoder& codePage,
                           std::vector<bool> wanted, PageShare share)
    : m_channel(channel), m_table(table), m_decoder(channel, table, codePage), m_wanted(std::move(wanted)) {
    try {
        m_pages = UsageMap::pages(channel, table.ownedPagesMap);
    } catch (const FormatError& e) {
        throw e.withContext(context() + ", owned-pages map");
    }
    if (share.count > 1) {
        const std::size_t pages = m_pages.size();
        const auto at = [&](std::size_t index) {
            return static_cast<std::ptrdiff_t>(pages * std::min(index, share.count) / share.count);
        };
        m_pages.erase(m_pages.begin() + at(share.index + 1), m_pages.end());
        m_pages.erase(m_pages.begin(), m_pages.begin() + at(share.index));
    }
}

std::string RecordCursor::context() const {
    return "file '" + m_channel.path() + "', table '" + m_table.name + "'";
}

// Access clears a page's bit in the map when it frees the page, so every page the map lists is
// one of the table's data pages (some with every row deleted). Anything else is damage, and
// passing over it would lose that page's records without a word.
void RecordCursor::checkOwnedPage(const ByteView& view) const {
    const Format& f = m_channel.format();
    const std::uint8_t type = view.u8(kPageTypeOffset);
    if (type == kPageData && view.u32(f.dataOwnerOffset) == m_table.page) return;
    std::string found;
    if (type != kPageData) {
        bool blank = true;
        for (const std::byte b : view.all()) blank = blank && b == std::byte{0};
        char text[48];
        std::snprintf(text, sizeof text, "a page of type 0x%02x", type);
        found = blank ? "a blank page (all bytes zero)" : text;
    } else if (DataPage(view, f).isLongValuePage()) {
        found = "a long-value page";
    } else {
        found = "a data page of the table defined at page " + std::to_string(view.u32(f.dataOwnerOffset));
    }
    throw FormatError(ErrorCode::Corrupt, "its page map lists page " + std::to_string(view.page()) +
                                              " as one of its data pages, but that is " + found);
}

bool RecordCursor::nextRow(ByteView& row) {
    const Format& f = m_channel.format();
    for (;;) {
        if (!m_pageLoaded) {
            if (m_pageIndex >= m_pages.size()) return false;
            const std::uint32_t number = m_pages[m_pageIndex++];
            if (number >= m_channel.pageCount()) {
                throw FormatError(ErrorCode::Corrupt, "its page map lists page " + std::to_string(number) +
                                                          ", past the end of the file (" +
                                                          std::to_string(m_channel.pageCount()) + " pages)");
            }
            const ByteView view = m_channel.readPage(number, m_pageBuffer);
            checkOwnedPage(view);
            m_rowCount = DataPage(view, f).rowCount();
            m_slot = 0;
            m_pageLoaded = true;
        }
        if (m_slot >= m_rowCount) {
            m_pageLoaded = false;
            continue;
        }
        const DataPage page(ByteView(m_pageBuffer, m_pages[m_pageIndex - 1], 0), f);
        const RowSlot slot = page.slot(m_slot++);
        if (slot.deleted()) continue;
        if (!slot.overflow()) {
            row = page.row(slot);
            return true;
        }
        // The row moved: its stub holds the pointer, and the target row is marked deleted so
        // that a scan does not meet it twice.
        const ByteView stub = page.row(slot);
        const std::uint32_t pointer = stub.u32(0);
        const ByteView target =
            m_channel.readPageOfType(pointerPage(pointer), kPageData, m_overflowBuffer, "overflow row");
        const DataPage targetPage(target, f);
        if (targetPage.owner() != m_table.page) {
            target.corrupt(f.dataOwnerOffset, "overflow row belongs to another table");
        }
        row = targetPage.row(targetPage.slot(pointerRow(pointer)));
        return true;
    }
}

bool RecordCursor::next(std::vector<Value>& values) {
    try {
        ByteView row;
        if (!nextRow(row)) return false;
        m_decoder.decode(row, values, m_wanted);
        return true;
    } catch (const FormatError& e) {
        throw e.withContext(context());
    }
}

} // namespace kavero::jet
