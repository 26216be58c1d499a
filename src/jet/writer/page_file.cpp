// Pages in memory and the row packing of data pages.
#include "jet/writer/page_file.h"

#include <stdexcept>

namespace kavero::jet::writer {

std::uint32_t PageFile::allocate() {
    m_pages.push_back(std::make_unique<std::uint8_t[]>(m_format.pageSize)); // value-initialised: zeros
    return static_cast<std::uint32_t>(m_pages.size() - 1);
}

std::vector<std::uint8_t> PageFile::bytes() const {
    std::vector<std::uint8_t> out(m_pages.size() * m_format.pageSize);
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        std::memcpy(out.data() + i * m_format.pageSize, m_pages[i].get(), m_format.pageSize);
    return out;
}

DataPage::DataPage(PageFile& file, std::uint32_t number, std::span<const std::uint8_t, 4> owner)
    : m_file(file), m_number(number), m_top(file.format().pageSize) {
    start(owner);
}

DataPage::DataPage(PageFile& file, std::uint32_t number, std::uint32_t ownerPage)
    : m_file(file), m_number(number), m_top(file.format().pageSize) {
    std::uint8_t owner[4];
    putU32(owner, ownerPage);
    start(std::span<const std::uint8_t, 4>(owner, 4));
}

void DataPage::start(std::span<const std::uint8_t, 4> owner) {
    const Format& f = m_file.format();
    std::uint8_t* p = m_file.page(m_number);
    p[0] = kPageData;
    p[1] = 0x01;
    std::memcpy(p + f.dataOwnerOffset, owner.data(), 4);
    putU16(p + kJet4DataPageFreeSpaceOffset, static_cast<std::uint16_t>(f.pageSize - f.dataRowTableOffset));
}

bool DataPage::fits(std::size_t rowLength) const {
    const std::size_t tableEnd = m_file.format().dataRowTableOffset + 2 * (m_rows + 1);
    return m_rows < kMaxRows && rowLength <= m_top && m_top - rowLength >= tableEnd;
}

std::uint32_t DataPage::add(std::span<const std::uint8_t> row) {
    if (!fits(row.size())) throw std::logic_error("row does not fit the data page");
    const Format& f = m_file.format();
    std::uint8_t* p = m_file.page(m_number);
    m_top -= row.size();
    if (!row.empty()) std::memcpy(p + m_top, row.data(), row.size());
    // Row N ends where row N-1 starts; no flag bits, every row is live.
    putU16(p + f.dataRowTableOffset + 2 * m_rows, static_cast<std::uint16_t>(m_top));
    ++m_rows;
    putU16(p + f.dataRowCountOffset, static_cast<std::uint16_t>(m_rows));
    const std::size_t tableEnd = f.dataRowTableOffset + 2 * m_rows;
    putU16(p + kJet4DataPageFreeSpaceOffset, static_cast<std::uint16_t>(m_top - tableEnd));
    return pageRow(m_number, m_rows - 1);
}

} // namespace kavero::jet::writer
