// The one way the reader looks at file bytes: a bounds-checked window that knows where it
// lies in the file (page and offset), so that every failed read names its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "jet/format_error.h"

namespace kavero::jet {

// True when n bytes from off lie inside size bytes. Written by subtraction so that a hostile
// offset cannot wrap around.
constexpr bool fits(std::size_t size, std::size_t off, std::size_t n) { return off <= size && n <= size - off; }

class ByteView {
public:
    static constexpr std::uint32_t kNoPage = 0xFFFFFFFF;

    ByteView() = default;
    ByteView(std::span<const std::byte> bytes, std::uint32_t page, std::size_t base)
        : m_bytes(bytes), m_page(page), m_base(base) {}

    std::size_t size() const { return m_bytes.size(); }
    std::uint32_t page() const { return m_page; }
    // Offset of this view's first byte within its page (or its buffer when kNoPage).
    std::size_t base() const { return m_base; }

    bool has(std::size_t off, std::size_t n) const { return fits(m_bytes.size(), off, n); }
    void require(std::size_t off, std::size_t n, const char* what) const {
        if (!has(off, n)) fail(off, n, what);
    }

    std::uint8_t u8(std::size_t off) const { return load<std::uint8_t>(off); }
    std::uint16_t u16(std::size_t off) const { return load<std::uint16_t>(off); }
    std::uint32_t u32(std::size_t off) const { return load<std::uint32_t>(off); }
    std::uint64_t u64(std::size_t off) const { return load<std::uint64_t>(off); }
    std::int16_t i16(std::size_t off) const { return static_cast<std::int16_t>(u16(off)); }
    std::int32_t i32(std::size_t off) const { return static_cast<std::int32_t>(u32(off)); }
    std::int64_t i64(std::size_t off) const { return static_cast<std::int64_t>(u64(off)); }
    float f32(std::size_t off) const;
    double f64(std::size_t off) const;

    // A narrower view of n bytes from off.
    ByteView sub(std::size_t off, std::size_t n) const {
        require(off, n, "sub-range");
        return ByteView(m_bytes.subspan(off, n), m_page, m_base + off);
    }
    std::span<const std::byte> bytes(std::size_t off, std::size_t n) const {
        require(off, n, "bytes");
        return m_bytes.subspan(off, n);
    }
    std::span<const std::byte> all() const { return m_bytes; }

    // Where an offset of this view lies, for error texts: "page 5, offset 0x1a2".
    std::string place(std::size_t off) const;
    [[noreturn]] void fail(std::size_t off, std::size_t n, const char* what) const;
    [[noreturn]] void corrupt(std::size_t off, const std::string& why) const;

private:
    // Little-endian, whatever the host: assemble byte by byte.
    template <class T> T load(std::size_t off) const {
        require(off, sizeof(T), "integer");
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value = static_cast<T>(value | (static_cast<T>(std::to_integer<std::uint8_t>(m_bytes[off + i])) << (8 * i)));
        }
        return value;
    }

    std::span<const std::byte> m_bytes;
    std::uint32_t m_page = kNoPage;
    std::size_t m_base = 0;
};

} // namespace kavero::jet
