// Error texts and floating-point loads of the bounds-checked view.
#include "jet/byte_view.h"

#include <bit>
#include <cstdio>

namespace kavero::jet {

float ByteView::f32(std::size_t off) const { return std::bit_cast<float>(u32(off)); }

double ByteView::f64(std::size_t off) const { return std::bit_cast<double>(u64(off)); }

std::string ByteView::place(std::size_t off) const {
    char text[64];
    if (m_page == kNoPage) {
        std::snprintf(text, sizeof text, "offset 0x%zx", m_base + off);
    } else {
        std::snprintf(text, sizeof text, "page %u, offset 0x%zx", static_cast<unsigned>(m_page), m_base + off);
    }
    return text;
}

void ByteView::fail(std::size_t off, std::size_t n, const char* what) const {
    throw FormatError(ErrorCode::Corrupt, place(off) + ": " + what + " of " + std::to_string(n) +
                                              " bytes runs past the end of a " + std::to_string(size()) +
                                              "-byte structure");
}

void ByteView::corrupt(std::size_t off, const std::string& why) const {
    throw FormatError(ErrorCode::Corrupt, place(off) + ": " + why);
}

} // namespace kavero::jet
