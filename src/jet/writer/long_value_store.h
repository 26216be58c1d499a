// Memo and OLE data: the 12-byte field a row holds, and the LVAL pages it points to.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/writer/page_file.h"

namespace kavero::jet::writer {

class LongValueStore {
public:
    explicit LongValueStore(PageFile& file) : m_file(file) {}

    // The field for data kept inline in the row: header followed by the data.
    static std::vector<std::uint8_t> inlineField(std::span<const std::uint8_t> data);
    // Writes the data to LVAL pages (one row when it fits, else a chain) and returns the field.
    std::vector<std::uint8_t> store(std::span<const std::uint8_t> data);

private:
    std::uint32_t putRow(std::span<const std::uint8_t> row);

    PageFile& m_file;
    std::optional<DataPage> m_page;
};

} // namespace kavero::jet::writer
