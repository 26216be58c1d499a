// What the check after a copy holds the server to, at the edges the copied fixtures do not
// reach: amounts a double cannot divide exactly, signed zeros, the zero date, decimals written
// at the column's scale, and the server's own texts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "source/held_value.h"

namespace kavero::source {
namespace {

std::string canonical(const HeldValue& value) {
    std::string text;
    appendCanonical(text, value);
    return text;
}

TEST(HeldValue, DocumentedChangesAndTheServersTextsMeetExactly) {
    // Currency: the double nearest the exact amount, as a correctly rounding parser reads the
    // reader's own text; for this amount 1/10,000 of the integer in doubles is one step off.
    for (std::int64_t scaled : {std::int64_t{4611686018427388422}, INT64_MAX, INT64_MIN, std::int64_t{-1}}) {
        const jet::Currency amount{scaled};
        EXPECT_EQ(std::get<double>(expectedHeld(HeldType::Double, amount)),
                  std::strtod(amount.toString().c_str(), nullptr))
            << amount.toString();
    }
    EXPECT_NE(std::strtod("461168601842738.8422", nullptr), 4611686018427388422.0 / 10000.0);

    // Null: the zero date, the empty text, and NULL for the rest; Yes is -1.
    EXPECT_EQ(expectedHeld(HeldType::DateTime, jet::Null{}), HeldValue(HeldDate{}));
    EXPECT_EQ(expectedHeld(HeldType::Text, jet::Null{}), HeldValue(std::string()));
    EXPECT_EQ(expectedHeld(HeldType::Integer, jet::Null{}), HeldValue(HeldNull{}));
    EXPECT_EQ(expectedHeld(HeldType::Bytes, jet::Null{}), HeldValue(HeldNull{}));
    EXPECT_EQ(expectedHeld(HeldType::Integer, true), HeldValue(std::int64_t{-1}));

    // The server's texts: the zero date, a date, decimals at the column's scale; a signed zero
    // is one value with zero.
    EXPECT_EQ(parseHeldDate("0000-00-00 00:00:00"), HeldDate{});
    EXPECT_EQ(canonical(*parseHeldDate("1899-12-29 06:00:00")),
              canonical(expectedHeld(HeldType::DateTime, jet::DateTime{-1.25})));
    for (const char* bad : {"2002-2-6 09:05:00", "2002-02-06 09:05:00.5", "", "2002-02-06T09:05:00"})
        EXPECT_FALSE(parseHeldDate(bad)) << bad;
    jet::Decimal exact{true, {125, 0, 0, 0}, 1}; // -12.5
    EXPECT_EQ(canonical(*parseHeldDecimal("-12.5000")), canonical(expectedHeld(HeldType::Decimal, exact)));
    exact = {true, {0, 0, 0, 0}, 4};
    EXPECT_EQ(canonical(*parseHeldDecimal("0.0000")), canonical(expectedHeld(HeldType::Decimal, exact)));
    exact = {false, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0}; // 2^96 - 1, the largest Access holds
    EXPECT_EQ(canonical(*parseHeldDecimal("79228162514264337593543950335")),
              canonical(expectedHeld(HeldType::Decimal, exact)));
    for (const char* bad : {"", "-", "1.2.3", "1e5", "12a"}) EXPECT_FALSE(parseHeldDecimal(bad)) << bad;
    EXPECT_EQ(canonical(-0.0), canonical(0.0));
    EXPECT_EQ(canonical(-0.0f), canonical(0.0f));
    EXPECT_NE(canonical(1.0), canonical(1.0f));
    EXPECT_NE(canonical(std::string("1")), canonical(std::int64_t{1}));

    // Reports: long text cut before a whole character, bytes in hexadecimal.
    EXPECT_EQ(describeHeld(HeldType::Text, std::string(39, 'a') + "€x"), "'" + std::string(39, 'a') + "…' (43 bytes)");
    EXPECT_EQ(describeHeld(HeldType::Bytes, std::string("\x00\xff", 2)), "0x00FF");
    EXPECT_EQ(describeHeld(HeldType::DateTime, HeldDate{}), "0000-00-00 00:00:00");
}

TEST(HeldValue, LosslessKeepsNullAndExactAmounts) {
    // Null stays NULL for dates and texts too, and a NULL on the server is no zero date.
    EXPECT_EQ(expectedHeld(HeldType::DateTimeOrNull, jet::Null{}), HeldValue(HeldNull{}));
    EXPECT_EQ(expectedHeld(HeldType::TextOrNull, jet::Null{}), HeldValue(HeldNull{}));
    EXPECT_NE(canonical(expectedHeld(HeldType::DateTimeOrNull, jet::Null{})),
              canonical(*parseHeldDate("0000-00-00 00:00:00")));
    EXPECT_EQ(canonical(*parseHeldDate("1899-12-29 06:00:00")),
              canonical(expectedHeld(HeldType::DateTimeOrNull, jet::DateTime{-1.25})));
    // Currency exactly as DECIMAL(19,4) gives it back, both extremes included.
    EXPECT_EQ(canonical(*parseHeldDecimal("-922337203685477.5808")),
              canonical(expectedHeld(HeldType::Decimal, jet::Currency{INT64_MIN})));
    EXPECT_EQ(canonical(*parseHeldDecimal("922337203685477.5807")),
              canonical(expectedHeld(HeldType::Decimal, jet::Currency{INT64_MAX})));
    EXPECT_EQ(canonical(*parseHeldDecimal("0.0000")), canonical(expectedHeld(HeldType::Decimal, jet::Currency{0})));
    // A GUID as its braced text; empty text is not NULL.
    jet::Guid guid;
    guid.bytes[0] = 0xAB;
    EXPECT_EQ(expectedHeld(HeldType::TextOrNull, guid),
              HeldValue(std::string("{000000AB-0000-0000-0000-000000000000}")));
    EXPECT_NE(canonical(expectedHeld(HeldType::TextOrNull, jet::Text{""})), canonical(HeldNull{}));

    // An extended date to the microsecond: the seventh digit cut, never rounded into the next
    // second (or year); the server's DATETIME(6) text meets it, a text to the second does not.
    const HeldValue last =
        expectedHeld(HeldType::ExtendedDateTimeOrNull, jet::ExtendedDateTime{3652058, 86399, 9999999});
    EXPECT_EQ(canonical(*parseHeldDate("9999-12-31 23:59:59.999999")), canonical(last));
    EXPECT_NE(canonical(*parseHeldDate("9999-12-31 23:59:59")), canonical(last));
    EXPECT_EQ(describeHeld(HeldType::ExtendedDateTimeOrNull, last), "9999-12-31 23:59:59.999999");
    EXPECT_EQ(canonical(*parseHeldDate("0001-01-01 00:00:00.000001")),
              canonical(expectedHeld(HeldType::ExtendedDateTimeOrNull, jet::ExtendedDateTime{0, 0, 19})));
    EXPECT_EQ(expectedHeld(HeldType::ExtendedDateTimeOrNull, jet::Null{}), HeldValue(HeldNull{}));
    for (const char* bad : {"2024-02-29 13:45:30.12345", "2024-02-29 13:45:30,123456", "2024-02-29 13:45:30.12345x"})
        EXPECT_FALSE(parseHeldDate(bad)) << bad;
    // Where unknown types keep their bytes, the 42 bytes the engine stores.
    EXPECT_EQ(expectedHeld(HeldType::Bytes, jet::ExtendedDateTime{1, 2, 3}),
              HeldValue(std::string("0000000000000000001:0000000000020000003:7\0", 42)));
}

} // namespace
} // namespace kavero::source
