// Text forms of the exact value types: currency and decimal digits, dates, GUIDs, bytes.
#include "jet/value.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>

namespace kavero::jet {

namespace {

// Days from 1970-01-01 to a civil date, and back (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(y - era * 400);
    const unsigned dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0));
}

const std::int64_t kJetEpoch = daysFromCivil(1899, 12, 30);
const std::int64_t kExtendedEpoch = daysFromCivil(1, 1, 1);

unsigned __int128 toU128(const std::array<std::uint32_t, 4>& words) {
    unsigned __int128 value = 0;
    for (std::size_t i = 4; i-- > 0;) value = (value << 32) | words[i];
    return value;
}

std::string digitsOf(unsigned __int128 value) {
    char digits[40]; // 2^128 has 39
    char* first = std::end(digits);
    // The wide division is slow: only the part above 64 bits takes it.
    while (value > UINT64_MAX) {
        *--first = static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    }
    auto narrow = static_cast<std::uint64_t>(value);
    do {
        *--first = static_cast<char>('0' + narrow % 10);
        narrow /= 10;
    } while (narrow != 0);
    return std::string(first, std::end(digits));
}

std::string withPoint(std::string digits, unsigned scale, bool negative) {
    if (scale > 0) {
        if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
        digits.insert(digits.size() - scale, 1, '.');
    }
    return negative ? "-" + digits : digits;
}

template <class T> std::string shortest(T value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

std::string Currency::toString() const {
    const bool negative = scaled < 0;
    const std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(scaled)
                                             : static_cast<std::uint64_t>(scaled);
    std::string digits = digitsOf(magnitude);
    return withPoint(std::move(digits), 4, negative);
}

std::string Decimal::toString() const {
    const unsigned __int128 value = toU128(magnitude);
    return withPoint(digitsOf(value), scale, negative && value != 0);
}

double Decimal::toDouble() const {
    double value = static_cast<double>(toU128(magnitude)) / std::pow(10.0, scale);
    return negative ? -value : value;
}

namespace {
// Values the reader hands out are checked on decoding; one built elsewhere may be anything.
bool representable(double days) {
    return std::isfinite(days) && std::fabs(days) < 1e8;
}
} // namespace

DateParts DateTime::split() const {
    DateParts parts;
    if (!representable(days)) return parts;
    const double whole = std::trunc(days);
    double seconds = std::fabs(days - whole) * 86400.0;
    auto dayNumber = static_cast<std::int64_t>(whole);
    auto secondsWhole = static_cast<std::int64_t>(std::floor(seconds));
    parts.fraction = seconds - static_cast<double>(secondsWhole);
    if (secondsWhole >= 86400) { // only through rounding of the fraction
        secondsWhole -= 86400;
        ++dayNumber;
    }
    civilFromDays(kJetEpoch + dayNumber, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(secondsWhole / 3600);
    parts.minute = static_cast<int>(secondsWhole / 60 % 60);
    parts.second = static_cast<int>(secondsWhole % 60);
    return parts;
}

std::optional<DateParts> DateTime::roundedToSecond() const {
    if (!representable(days)) return std::nullopt;
    const double whole = std::trunc(days);
    auto dayNumber = static_cast<std::int64_t>(whole);
    auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * 86400.0));
    dayNumber += seconds / 86400;
    seconds %= 86400;
    DateParts parts;
    civilFromDays(kJetEpoch + dayNumber, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    parts.second = static_cast<int>(seconds % 60);
    return parts;
}

std::string DateTime::toString() const {
    const std::optional<DateParts> parts = roundedToSecond();
    if (!parts) return "";
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts->year, parts->month, parts->day,
                  parts->hour, parts->minute, parts->second);
    return text;
}

DateParts ExtendedDateTime::split() const {
    DateParts parts;
    civilFromDays(kExtendedEpoch + days, parts.year, parts.month, parts.day);
    parts.hour = seconds / 3600;
    parts.minute = seconds / 60 % 60;
    parts.second = seconds % 60;
    parts.fraction = static_cast<double>(ticks) / 1e7;
    return parts;
}

std::string ExtendedDateTime::toString() const {
    const DateParts parts = split();
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%07d", parts.year, parts.month, parts.day,
                  parts.hour, parts.minute, parts.second, static_cast<int>(ticks));
    return text;
}

std::string ExtendedDateTime::toMicrosecondString() const {
    std::string text = toString();
    text.pop_back();
    return text;
}

std::vector<std::uint8_t> ExtendedDateTime::storedBytes() const {
    char text[48];
    std::snprintf(text, sizeof text, "%019d:%012d%07d:7", static_cast<int>(days), static_cast<int>(seconds),
                  static_cast<int>(ticks));
    return std::vector<std::uint8_t>(text, text + 42); // the zero byte after "7" included
}

std::string Bytes::toHex() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "0x";
    out.reserve(2 + 2 * data.size());
    for (std::uint8_t b : data) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

std::string Guid::toString() const {
    // The first three groups are little-endian in the file, the last two are byte strings.
    static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = "{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out.push_back('-');
        const std::uint8_t b = bytes[static_cast<std::size_t>(kOrder[i])];
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    out.push_back('}');
    return out;
}

std::string shortestText(float value) {
    return shortest(value);
}
std::string shortestText(double value) {
    return shortest(value);
}

} // namespace kavero::jet
