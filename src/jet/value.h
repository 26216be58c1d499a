// One cell of a record with its exact type: nothing is rounded or reformatted on the way
// from the file to the caller.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kavero::jet {

struct Null {
    bool operator==(const Null&) const = default;
};

// Currency: the stored integer, in units of 1/10,000.
struct Currency {
    std::int64_t scaled = 0;
    bool operator==(const Currency&) const = default;
    std::string toString() const; // "-1.0000"
};

// Decimal: sign, a 96-bit (stored as 128-bit) magnitude and the column's scale.
struct Decimal {
    bool negative = false;
    std::array<std::uint32_t, 4> magnitude{}; // least significant word first
    std::uint8_t scale = 0;
    bool operator==(const Decimal&) const = default;
    std::string toString() const; // exact digits, "-1110.554"
    double toDouble() const;
};

// A split date and time of day.
struct DateParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    double fraction = 0; // of a second, 0 <= fraction < 1
};

// Date/Time: days since 1899-12-30; the integer part carries the sign, the fraction is the
// time of day whatever the sign (-1.25 is 1899-12-29 06:00).
struct DateTime {
    double days = 0;
    bool operator==(const DateTime&) const = default;
    DateParts split() const;
    // The parts rounded to the nearest second; nothing for NaN, infinities and days beyond
    // any calendar year the engine could store.
    std::optional<DateParts> roundedToSecond() const;
    // "YYYY-MM-DD HH:MM:SS" of roundedToSecond(); empty when it gives nothing.
    std::string toString() const;
};

// Date/Time Extended, as stored: whole days since 0001-01-01, seconds since midnight and the
// fraction of the second in units of 100 ns (ticks). The reader hands out only values within
// 0001-01-01 .. 9999-12-31 23:59:59.9999999.
struct ExtendedDateTime {
    std::int32_t days = 0;    // 0 .. 3,652,058
    std::int32_t seconds = 0; // 0 .. 86,399
    std::int32_t ticks = 0;   // 0 .. 9,999,999
    bool operator==(const ExtendedDateTime&) const = default;
    // The calendar parts; the fraction is ticks / 10,000,000.
    DateParts split() const;
    // "YYYY-MM-DD HH:MM:SS.fffffff", every digit stored.
    std::string toString() const;
    // "YYYY-MM-DD HH:MM:SS.ffffff": the seventh digit cut off, never rounded up, so the value
    // stays within its second (and 9999-12-31 23:59:59.9999999 within its year).
    std::string toMicrosecondString() const;
    // Whether the microsecond text drops a digit other than 0.
    bool finerThanMicroseconds() const { return ticks % 10 != 0; }
    // The 42 bytes the engine stores for the value.
    std::vector<std::uint8_t> storedBytes() const;
};

struct Text {
    std::string utf8;
    bool operator==(const Text&) const = default;
};

struct Bytes {
    std::vector<std::uint8_t> data;
    bool operator==(const Bytes&) const = default;
    std::string toHex() const; // "0x" + lowercase hex
};

struct Guid {
    std::array<std::uint8_t, 16> bytes{}; // as stored (mixed-endian)
    bool operator==(const Guid&) const = default;
    std::string toString() const; // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
};

using Value = std::variant<Null, bool, std::uint8_t, std::int16_t, std::int32_t, std::int64_t, float, double, Currency,
                           Decimal, DateTime, Text, Bytes, Guid, ExtendedDateTime>;

inline bool isNull(const Value& v) { return std::holds_alternative<Null>(v); }

// The number a Byte, Integer or Long value holds, as the system tables store their ids and
// flags; nothing for any other value, Null included.
inline std::optional<std::int64_t> wholeNumber(const Value& v) {
    if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
    if (const auto* s = std::get_if<std::int16_t>(&v)) return *s;
    if (const auto* b = std::get_if<std::uint8_t>(&v)) return *b;
    return std::nullopt;
}

// The shortest decimal text that reads back to the same value.
std::string shortestText(float value);
std::string shortestText(double value);

} // namespace kavero::jet
