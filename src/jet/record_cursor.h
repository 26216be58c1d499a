// Reads a table's records one at a time in stored order: its data pages in usage-map order,
// rows in slot order, deleted rows skipped and an overflowed row read at its header's place.
// Only the current page is held, so memory does not grow with the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/row_decoder.h"

namespace kavero::jet {

// One of `count` even shares of a table's data pages, in stored order: cursors over every
// share read each record once, so a table can be read on several threads.
struct PageShare {
    std::size_t index = 0;
    std::size_t count = 1;
};

class RecordCursor {
public:
    // `wanted`: one flag per column (entry order) to decode; empty decodes every column.
    RecordCursor(const PageChannel& channel, const TableDefinition& table, const CodePageDecoder& codePage,
                 std::vector<bool> wanted = {}, PageShare share = {});

    // Fills `values` with the next record and returns true, or returns false at the end.
    bool next(std::vector<Value>& values);

private:
    bool nextRow(ByteView& row);
    void checkOwnedPage(const ByteView& view) const;
    // "file '…', table '…'", put in front of every error.
    std::string context() const;

    const PageChannel& m_channel;
    const TableDefinition& m_table;
    RowDecoder m_decoder;
    std::vector<bool> m_wanted;
    std::vector<std::uint32_t> m_pages;
    std::size_t m_pageIndex = 0;
    std::vector<std::byte> m_pageBuffer;
    std::vector<std::byte> m_overflowBuffer;
    bool m_pageLoaded = false;
    std::size_t m_slot = 0;
    std::size_t m_rowCount = 0;
};

} // namespace kavero::jet
