// Walks the owned pages of a table and hands each live row to the row decoder.
#include "jet/record_cursor.h"

#include "jet/data_page.h"
#include "jet/usage_map.h"

namespace kavero::jet {

RecordCursor::RecordCursor(const PageChannel& channel, const TableDefinition& table, const CodePageDecoder& codePage,
                           std::vector<bool> wanted)
    : m_channel(channel), m_table(table), m_decoder(channel, table, codePage), m_wanted(std::move(wanted)) {
    try {
        m_pages = UsageMap::pages(channel, table.ownedPagesMap);
    } catch (const FormatError& e) {
        throw e.withContext("table '" + table.name + "', owned-pages map");
    }
}

bool RecordCursor::nextRow(ByteView& row) {
    const Format& f = m_channel.format();
    for (;;) {
        if (!m_pageLoaded) {
            if (m_pageIndex >= m_pages.size()) return false;
            const ByteView view = m_channel.readPage(m_pages[m_pageIndex++], m_pageBuffer);
            // Only the table's own data pages hold its rows; anything else the map names is
            // skipped, as Access does.
            if (view.u8(kPageTypeOffset) != kPageData || view.u32(f.dataOwnerOffset) != m_table.page) continue;
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
        const ByteView target = m_channel.readPageOfType(pointerPage(pointer), kPageData, m_overflowBuffer, "overflow row");
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
        throw e.withContext("table '" + m_table.name + "'");
    }
}

} // namespace kavero::jet
