// Value helpers of the fixture description: dates, GUIDs, decimals and UTF-16.
#include "jet/writer/description.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kavero::jet::writer {
namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

DateTime DateTime::fromParts(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        throw std::invalid_argument("date outside 0100-01-01 .. 9999-12-31 23:59:59");
    const long long days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                           daysFromCivil(1899, 12, 30);
    const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    // Before the epoch the day count is negative but the time still counts forward.
    return DateTime{days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction};
}

std::string ExtendedDate::text() const {
    char out[64];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%07d", year, month, day, hour, minute, second, ticks);
    return out;
}

Bytes ExtendedDate::stored() const {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59 || ticks < 0 || ticks > 9999999)
        throw std::invalid_argument("extended date outside 0001-01-01 .. 9999-12-31 23:59:59.9999999");
    const long long days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - daysFromCivil(1, 1, 1);
    char out[64];
    std::snprintf(out, sizeof out, "%019lld:%012d%07d:7", days, hour * 3600 + minute * 60 + second, ticks);
    Bytes bytes(out, out + std::strlen(out));
    bytes.push_back(0);
    return bytes;
}

Guid Guid::parse(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
    if (text.size() != 36) throw std::invalid_argument("GUID text must have 36 characters");
    Guid guid;
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') throw std::invalid_argument("GUID text misses a dash");
            ++i;
            continue;
        }
        const int hi = hexDigit(text[i]);
        const int lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) throw std::invalid_argument("GUID text holds a non-hex digit");
        guid.bytes[out++] = static_cast<std::uint8_t>(hi * 16 + lo);
        i += 2;
    }
    return guid;
}

std::string Guid::text() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out = "{";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out + "}";
}

Decimal Decimal::parse(std::string_view text, int scale) {
    Decimal d;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        d.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int fractionDigits = -1;
    bool anyDigit = false;
    for (char c : text) {
        if (c == '.' && fractionDigits < 0) {
            fractionDigits = 0;
            continue;
        }
        if (c < '0' || c > '9') throw std::invalid_argument("decimal text holds a non-digit");
        if (fractionDigits >= 0 && ++fractionDigits > scale)
            throw std::invalid_argument("decimal text has more digits after the point than the scale");
        d.unscaled = d.unscaled * 10 + static_cast<unsigned>(c - '0');
        anyDigit = true;
    }
    if (!anyDigit) throw std::invalid_argument("decimal text has no digits");
    for (int i = fractionDigits < 0 ? 0 : fractionDigits; i < scale; ++i) d.unscaled *= 10;
    if (d.unscaled == 0) d.negative = false;
    return d;
}

std::string Decimal::text(int scale) const {
    std::string digits;
    UInt128 v = unscaled;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    while (static_cast<int>(digits.size()) <= scale) digits.insert(digits.begin(), '0');
    if (scale > 0) digits.insert(digits.end() - scale, '.');
    return (negative ? "-" : "") + digits;
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            extra = 3;
        } else {
            throw std::invalid_argument("malformed UTF-8 lead byte");
        }
        if (extra > utf8.size() - i - 1) throw std::invalid_argument("truncated UTF-8 sequence");
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) throw std::invalid_argument("malformed UTF-8 continuation byte");
            cp = (cp << 6) | (c & 0x3F);
        }
        i += extra + 1;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) throw std::invalid_argument("invalid code point");
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

bool valueFits(const Column& column, const Value& value) {
    if (std::holds_alternative<std::monostate>(value)) return true;
    switch (column.type) {
    case FieldType::Boolean: return std::holds_alternative<bool>(value);
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Complex: {
        if (!std::holds_alternative<std::int64_t>(value)) return false;
        const std::int64_t v = std::get<std::int64_t>(value);
        if (column.type == FieldType::Byte) return v >= 0 && v <= 255;
        if (column.type == FieldType::Integer) return v >= -32768 && v <= 32767;
        return v >= INT32_MIN && v <= INT32_MAX;
    }
    case FieldType::Currency: return std::holds_alternative<Currency>(value);
    case FieldType::Single:
    case FieldType::Double: return std::holds_alternative<double>(value);
    case FieldType::DateTime: return std::holds_alternative<DateTime>(value);
    case FieldType::Text:
    case FieldType::Memo: return std::holds_alternative<std::string>(value);
    case FieldType::Binary:
    case FieldType::Ole: return std::holds_alternative<Bytes>(value);
    case FieldType::Guid: return std::holds_alternative<Guid>(value);
    case FieldType::Decimal: return std::holds_alternative<Decimal>(value);
    case FieldType::ExtendedDate:
        return std::holds_alternative<ExtendedDate>(value);
    }
    return false;
}

} // namespace kavero::jet::writer
