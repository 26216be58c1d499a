// Turns one stored row of a table into values: the null mask, Booleans in the mask, the fixed
// area, the variable-offset table (Jet 3 with its jump bytes, Jet 4 with u16 offsets) and long
// values.
#pragma once

#include <vector>

#include "jet/long_value.h"
#include "jet/page_channel.h"
#include "jet/table_definition.h"
#include "jet/text_codec.h"
#include "jet/value.h"

namespace kavero::jet {

class RowDecoder {
public:
    RowDecoder(const PageChannel& channel, const TableDefinition& table, const CodePageDecoder& codePage);

    // Decodes the columns marked in `wanted` (one flag per column, entry order; empty = all)
    // into `values`, which is resized to the column count; the others are left Null.
    void decode(const ByteView& row, std::vector<Value>& values, const std::vector<bool>& wanted);

private:
    struct Layout; // the located parts of one row
    Layout locate(const ByteView& row);
    Value decodeColumn(const Column& column, const ByteView& row, const Layout& layout);
    Value decodeBytes(const Column& column, const ByteView& bytes);
    std::string decodeText(std::span<const std::byte> bytes) const;

    const TableDefinition& m_table;
    const CodePageDecoder& m_codePage;
    const Format& m_format;
    LongValueReader m_longValues;
    std::vector<std::size_t> m_offsets; // variable offsets of the current row, reused
};

} // namespace kavero::jet
