// The file being written, page by page, and the packing of rows into data pages. Every page
// lives in memory until the whole file is written at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "jet/format.h"

namespace kavero::jet::writer {

inline void putU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putU64(std::uint8_t* at, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A growing little-endian byte string (rows, table definitions, property blobs).
class ByteString {
public:
    std::vector<std::uint8_t> bytes;

    std::size_t size() const { return bytes.size(); }
    void u8(std::uint8_t v) { bytes.push_back(v); }
    void u16(std::uint16_t v) { grow(2, [&](std::uint8_t* p) { putU16(p, v); }); }
    void u32(std::uint32_t v) { grow(4, [&](std::uint8_t* p) { putU32(p, v); }); }
    void u64(std::uint64_t v) { grow(8, [&](std::uint8_t* p) { putU64(p, v); }); }
    void zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    void append(std::span<const std::uint8_t> data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void utf16(std::u16string_view text) {
        for (char16_t c : text) u16(static_cast<std::uint16_t>(c));
    }
    void patchU16(std::size_t at, std::uint16_t v) { putU16(bytes.data() + at, v); }
    void patchU32(std::size_t at, std::uint32_t v) { putU32(bytes.data() + at, v); }

private:
    template <class F> void grow(std::size_t n, F&& put) {
        bytes.resize(bytes.size() + n);
        put(bytes.data() + bytes.size() - n);
    }
};

// Row pointer: page number in the high 24 bits, row slot in the low 8.
inline std::uint32_t pageRow(std::uint32_t page, unsigned row) { return (page << 8) | (row & 0xFF); }

class PageFile {
public:
    explicit PageFile(const Format& format) : m_format(format) {}

    const Format& format() const { return m_format; }
    std::uint32_t allocate(); // a zeroed page at the end of the file
    std::uint8_t* page(std::uint32_t number) { return m_pages.at(number).get(); }
    std::uint32_t pageCount() const { return static_cast<std::uint32_t>(m_pages.size()); }
    std::vector<std::uint8_t> bytes() const;

private:
    const Format& m_format;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_pages;
};

// Packs rows into one data page from its end downwards; the slot table grows from the header.
class DataPage {
public:
    // Jet refuses pages with more rows than this; Access itself stays far below.
    static constexpr unsigned kMaxRows = 255;

    DataPage(PageFile& file, std::uint32_t number, std::span<const std::uint8_t, 4> owner);
    DataPage(PageFile& file, std::uint32_t number, std::uint32_t ownerPage);

    std::uint32_t number() const { return m_number; }
    unsigned rows() const { return m_rows; }
    bool fits(std::size_t rowLength) const;
    // Largest row an empty page can take.
    static std::size_t capacity(const Format& format) { return format.pageSize - format.dataRowTableOffset - 2; }
    std::uint32_t add(std::span<const std::uint8_t> row); // returns the row's pg_row pointer

private:
    void start(std::span<const std::uint8_t, 4> owner);

    PageFile& m_file;
    std::uint32_t m_number;
    unsigned m_rows = 0;
    std::size_t m_top; // start of the lowest row so far
};

} // namespace kavero::jet::writer
