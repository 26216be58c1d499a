// The expected server values, their canonical form, their report text and the server's texts.
#include "source/held_value.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <type_traits>

namespace kavero::source {

namespace {

HeldDecimal normalized(bool negative, unsigned __int128 digits, int scale) {
    while (scale > 0 && digits % 10 == 0) {
        digits /= 10;
        --scale;
    }
    if (digits == 0) return {};
    return {negative, digits, scale};
}

// The double nearest to the amount: its exact decimal text read by a correctly rounding
// parser, as the server reads it, and not the integer divided by 10,000 (which rounds twice
// for amounts beyond 2^53 units).
double currencyAsDouble(std::int64_t scaled) {
    const std::string text = std::to_string(scaled) + "e-4";
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

HeldDecimal currencyAsDecimal(std::int64_t scaled) {
    const bool negative = scaled < 0;
    // The magnitude of the smallest amount does not fit its own type: widen before negating.
    const auto wide = static_cast<__int128>(scaled);
    return normalized(negative, static_cast<unsigned __int128>(negative ? -wide : wide), 4);
}

HeldDecimal decimalOf(const jet::Decimal& value) {
    unsigned __int128 digits = 0;
    for (std::size_t i = value.magnitude.size(); i-- > 0;) digits = (digits << 32) | value.magnitude[i];
    return normalized(value.negative, digits, value.scale);
}

HeldValue dateOf(const jet::DateTime& value) {
    const std::optional<jet::DateParts> parts = value.roundedToSecond();
    if (!parts) return HeldNull{}; // no calendar holds it: the copy sends NULL
    return HeldDate{parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second, 0};
}

HeldDate microsecondDateOf(const jet::ExtendedDateTime& value) {
    const jet::DateParts parts = value.split();
    return HeldDate{parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second, value.ticks / 10};
}

template <class T> void appendBigEndian(std::string& out, T value) {
    for (int shift = static_cast<int>(sizeof(T) * 8) - 8; shift >= 0; shift -= 8) {
        out += static_cast<char>(static_cast<unsigned char>(value >> shift));
    }
}

std::string decimalText(const HeldDecimal& value) {
    std::string digits;
    unsigned __int128 rest = value.digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
        rest /= 10;
    } while (rest != 0);
    const auto scale = static_cast<std::size_t>(value.scale);
    if (scale > 0) {
        if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
        digits.insert(digits.size() - scale, 1, '.');
    }
    return value.negative ? "-" + digits : digits;
}

template <class T> std::string numberText(T value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// At most `limit` bytes, cut before a UTF-8 continuation byte so no character is split.
std::string_view textPrefix(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) --limit;
    return text.substr(0, limit);
}

constexpr std::size_t kShownTextBytes = 40;
constexpr std::size_t kShownBinaryBytes = 16;

std::string bytesText(HeldType type, const std::string& bytes) {
    const std::string size = " (" + std::to_string(bytes.size()) + " bytes)";
    if (type == HeldType::Text || type == HeldType::TextOrNull) {
        const std::string_view shown = textPrefix(bytes, kShownTextBytes);
        return "'" + std::string(shown) + (shown.size() < bytes.size() ? "…'" + size : "'");
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (std::size_t i = 0; i < bytes.size() && i < kShownBinaryBytes; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return bytes.size() > kShownBinaryBytes ? text + "…" + size : text;
}

// Digits at `text[pos]`, exactly `count` of them.
std::optional<int> fixedDigits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

HeldValue expectedHeld(HeldType type, const jet::Value& value) {
    if (jet::isNull(value)) {
        if (type == HeldType::DateTime) return HeldDate{};
        if (type == HeldType::Text) return std::string();
        return HeldNull{};
    }
    return std::visit(
        [type](const auto& v) -> HeldValue {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                if (type == HeldType::Integer) return std::int64_t{v ? -1 : 0};
            } else if constexpr (std::is_integral_v<T>) {
                if (type == HeldType::Integer) return static_cast<std::int64_t>(v);
            } else if constexpr (std::is_same_v<T, float>) {
                if (type == HeldType::Single) return v;
            } else if constexpr (std::is_same_v<T, double>) {
                if (type == HeldType::Double) return v;
            } else if constexpr (std::is_same_v<T, jet::Currency>) {
                if (type == HeldType::Double) return currencyAsDouble(v.scaled);
                if (type == HeldType::Decimal) return currencyAsDecimal(v.scaled);
            } else if constexpr (std::is_same_v<T, jet::Decimal>) {
                if (type == HeldType::Decimal) return decimalOf(v);
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                if (type == HeldType::DateTime || type == HeldType::DateTimeOrNull) return dateOf(v);
            } else if constexpr (std::is_same_v<T, jet::Text>) {
                if (type == HeldType::Text || type == HeldType::TextOrNull) return v.utf8;
            } else if constexpr (std::is_same_v<T, jet::Guid>) {
                if (type == HeldType::TextOrNull) return v.toString();
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                if (type == HeldType::Bytes) return std::string(v.data.begin(), v.data.end());
            } else if constexpr (std::is_same_v<T, jet::ExtendedDateTime>) {
                if (type == HeldType::ExtendedDateTimeOrNull) return microsecondDateOf(v);
                if (type == HeldType::Bytes) {
                    const std::vector<std::uint8_t> stored = v.storedBytes();
                    return std::string(stored.begin(), stored.end());
                }
            }
            // A value the column rule does not give this column: nothing is sent for it.
            return HeldNull{};
        },
        value);
}

void appendCanonical(std::string& out, const HeldValue& value) {
    std::visit(
        [&out](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, HeldNull>) {
                out += 'N';
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                out += 'I';
                appendBigEndian(out, static_cast<std::uint64_t>(v));
            } else if constexpr (std::is_same_v<T, double>) {
                out += 'D';
                appendBigEndian(out, std::bit_cast<std::uint64_t>(v + 0.0)); // -0 + 0 is +0
            } else if constexpr (std::is_same_v<T, float>) {
                out += 'F';
                appendBigEndian(out, std::bit_cast<std::uint32_t>(v + 0.0f));
            } else if constexpr (std::is_same_v<T, HeldDecimal>) {
                out += v.negative ? 'M' : 'P';
                appendBigEndian(out, v.digits);
                out += static_cast<char>(v.scale);
            } else if constexpr (std::is_same_v<T, HeldDate>) {
                out += 'T';
                for (int part : {v.year, v.month, v.day, v.hour, v.minute, v.second, v.microsecond})
                    appendBigEndian(out, static_cast<std::uint32_t>(part));
            } else {
                out += 'B';
                appendBigEndian(out, static_cast<std::uint64_t>(v.size()));
                out += v;
            }
        },
        value);
}

std::string describeHeld(HeldType type, const HeldValue& value) {
    return std::visit(
        [type](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, HeldNull>) {
                return "NULL";
            } else if constexpr (std::is_same_v<T, HeldDecimal>) {
                return decimalText(v);
            } else if constexpr (std::is_same_v<T, HeldDate>) {
                char text[80];
                std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", v.year, v.month, v.day, v.hour,
                              v.minute, v.second);
                if (type != HeldType::ExtendedDateTimeOrNull) return text;
                char fraction[16];
                std::snprintf(fraction, sizeof fraction, ".%06d", v.microsecond);
                return std::string(text) + fraction;
            } else if constexpr (std::is_same_v<T, std::string>) {
                return bytesText(type, v);
            } else {
                return numberText(v);
            }
        },
        value);
}

std::optional<HeldDecimal> parseHeldDecimal(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    unsigned __int128 digits = 0;
    int scale = 0;
    bool point = false;
    bool any = false;
    constexpr unsigned __int128 kLimit = (~static_cast<unsigned __int128>(0) - 9) / 10; // room for one more digit
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9' || digits > kLimit) return std::nullopt;
        digits = digits * 10 + static_cast<unsigned>(c - '0');
        any = true;
        if (point) ++scale;
    }
    if (!any) return std::nullopt;
    return normalized(negative, digits, scale);
}

std::optional<HeldDate> parseHeldDate(std::string_view text) {
    // YYYY-MM-DD HH:MM:SS, the separators where they belong, and for DATETIME(6) .ffffff.
    constexpr std::size_t kSeconds = 19, kMicroseconds = 26;
    if ((text.size() != kSeconds && text.size() != kMicroseconds) || text[4] != '-' || text[7] != '-' ||
        text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto year = fixedDigits(text, 0, 4), month = fixedDigits(text, 5, 2), day = fixedDigits(text, 8, 2);
    const auto hour = fixedDigits(text, 11, 2), minute = fixedDigits(text, 14, 2), second = fixedDigits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    std::optional<int> microsecond = 0;
    if (text.size() == kMicroseconds)
        microsecond = text[kSeconds] == '.' ? fixedDigits(text, kSeconds + 1, 6) : std::nullopt;
    if (!microsecond) return std::nullopt;
    return HeldDate{*year, *month, *day, *hour, *minute, *second, *microsecond};
}

} // namespace kavero::source
