// UCS-2, compressed Jet 4 text and code pages to UTF-8.
#include "jet/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "jet/format.h"
#include "jet/format_error.h"

namespace kavero::jet {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F. The undefined five (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 controls of the same value, which is what Windows' own conversion does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint8_t byteAt(std::span<const std::byte> bytes, std::size_t i) {
    return std::to_integer<std::uint8_t>(bytes[i]);
}

// UTF-8 of one code point at `at`; gives the byte after it.
char* writeUtf8(char* at, char32_t cp) {
    if (cp < 0x80) {
        *at++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *at++ = static_cast<char>(0xC0 | (cp >> 6));
        *at++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *at++ = static_cast<char>(0xE0 | (cp >> 12));
        *at++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *at++ = static_cast<char>(0xF0 | (cp >> 18));
        *at++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *at++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return at;
}

// Writes UCS-2 code units as UTF-8, joining surrogate pairs. Text is read for every value
// of every record, so the room is made once (`room`: at most three bytes a unit, which no
// unit, pair or replacement exceeds) and written without a check per byte; finish() cuts the
// text to what was written.
class Utf16Sink {
public:
    Utf16Sink(std::string& out, std::size_t room) : m_out(out) {
        m_out.resize(room);
        m_at = m_out.data();
    }
    void put(char16_t unit) {
        if (m_high == 0 && unit < 0x80) {
            *m_at++ = static_cast<char>(unit);
            return;
        }
        if (m_high != 0) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                m_at = writeUtf8(m_at, 0x10000 + ((static_cast<char32_t>(m_high) - 0xD800) << 10) + (unit - 0xDC00));
                m_high = 0;
                return;
            }
            m_at = writeUtf8(m_at, kReplacement);
            m_high = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            m_high = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            m_at = writeUtf8(m_at, kReplacement);
        } else {
            m_at = writeUtf8(m_at, unit);
        }
    }
    void finish() {
        if (m_high != 0) m_at = writeUtf8(m_at, kReplacement);
        m_high = 0;
        m_out.resize(static_cast<std::size_t>(m_at - m_out.data()));
        // A long memo of plain letters fills a third of its room: give the rest back.
        if (m_out.capacity() - m_out.size() > kKeptSpareRoom) m_out.shrink_to_fit();
    }

private:
    static constexpr std::size_t kKeptSpareRoom = 4096;
    std::string& m_out;
    char* m_at = nullptr;
    char16_t m_high = 0;
};

void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, writeUtf8(bytes, cp));
}

} // namespace

std::string decodeUcs2(std::span<const std::byte> bytes) {
    if (bytes.size() % 2 != 0) {
        throw FormatError(ErrorCode::Corrupt, "UCS-2 text of odd length " + std::to_string(bytes.size()));
    }
    std::string out;
    Utf16Sink sink(out, bytes.size() / 2 * 3);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        sink.put(static_cast<char16_t>(byteAt(bytes, i) | (byteAt(bytes, i + 1) << 8)));
    }
    sink.finish();
    return out;
}

std::string decodeJet4Text(std::span<const std::byte> bytes) {
    if (bytes.size() < 2 || byteAt(bytes, 0) != kCompressedTextMarker[0] ||
        byteAt(bytes, 1) != kCompressedTextMarker[1]) {
        return decodeUcs2(bytes);
    }
    std::string out;
    // A compressed byte is at most two bytes of UTF-8, a stored pair at most three.
    Utf16Sink sink(out, bytes.size() * 2);
    bool compressed = true;
    std::size_t i = 2;
    while (i < bytes.size()) {
        const std::uint8_t b = byteAt(bytes, i);
        if (b == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            sink.put(b);
            ++i;
        } else {
            if (i + 1 >= bytes.size()) {
                throw FormatError(ErrorCode::Corrupt, "compressed text ends inside a UCS-2 character");
            }
            sink.put(static_cast<char16_t>(b | (byteAt(bytes, i + 1) << 8)));
            i += 2;
        }
    }
    sink.finish();
    return out;
}

struct CodePageDecoder::Converter {
    iconv_t handle;
};

CodePageDecoder::CodePageDecoder(int codePage) : m_codePage(codePage) {
    if (codePage == kDefaultCodePage) return;
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t handle = iconv_open("UTF-8", name.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        throw FormatError(ErrorCode::CodePage, "code page " + std::to_string(codePage) + " is not known here");
    }
    m_converter = std::make_unique<Converter>(Converter{handle});
}

CodePageDecoder::~CodePageDecoder() {
    if (m_converter) iconv_close(m_converter->handle);
}

void requireObjectName(std::string_view name, const std::string& what) {
    auto control = [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    };
    const auto found = std::find_if(name.begin(), name.end(), control);
    if (found == name.end()) return;
    std::string shown;
    for (const char c : name) {
        if (!control(c)) {
            shown += c;
            continue;
        }
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
        shown += escape;
    }
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(*found));
    throw FormatError(ErrorCode::Corrupt, what + " has a name with the control character " + code + " ('" + shown +
                                              "'), which Access does not allow in names");
}

std::string CodePageDecoder::decode(std::span<const std::byte> bytes) const {
    std::string out;
    if (!m_converter) {
        out.reserve(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::uint8_t b = byteAt(bytes, i);
            if (b < 0x80) {
                out.push_back(static_cast<char>(b));
                continue;
            }
            appendUtf8(out, b < 0xA0 ? static_cast<char32_t>(kCp1252High[b - 0x80]) : b);
        }
        return out;
    }
    iconv(m_converter->handle, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> input(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) input[i] = static_cast<char>(byteAt(bytes, i));
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::array<char, 1024> buffer{};
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(m_converter->handle, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or cut-off sequence: mark it and go on with the next byte.
            appendUtf8(out, kReplacement);
            ++in;
            --inLeft;
            iconv(m_converter->handle, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

} // namespace kavero::jet
