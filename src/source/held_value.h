// What a MySQL column holds after a record was copied into it, as a typed value: the rule the
// check after a copy holds the server to. The literal says what is sent; this says what must
// be there afterwards, worked out from the reader's value and never from the literal, so a
// fault in the literals cannot check itself clean.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "jet/value.h"
#include "source/column_rule.h"

namespace kavero::source {

struct HeldNull {
    bool operator==(const HeldNull&) const = default;
};

// An exact decimal with its trailing fraction zeros dropped, so 12.500 and 12.5 are one value.
struct HeldDecimal {
    bool negative = false;
    unsigned __int128 digits = 0;
    int scale = 0;
    bool operator==(const HeldDecimal&) const = default;
};

// A DATETIME to the second, or a DATETIME(6) to the microsecond; all parts zero for the zero
// date.
struct HeldDate {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, microsecond = 0;
    bool operator==(const HeldDate&) const = default;
};

// NULL, a whole number, a DOUBLE, a Single, a decimal, a date, or the bytes of a text or
// binary value. A value the server gave in a form its column type does not explain is kept
// as its text (a string), which then equals no expected value of another kind.
using HeldValue = std::variant<HeldNull, std::int64_t, double, float, HeldDecimal, HeldDate, std::string>;

// The value the column of a copied field must hold for a record value of the field, after the
// copy's documented changes: a Null date becomes the zero date, Null text the empty text, Yes
// -1 and No 0, a Currency amount the double nearest to it; a date is rounded to the second.
// A Null number stays NULL, which the NOT NULL column refuses, so such a record never arrives.
// Under the lossless rules every value is held as read (Currency exactly, a GUID as its braced
// text, an extended date to the microsecond with its seventh fraction digit cut) and Null as
// NULL.
HeldValue expectedHeld(HeldType type, const jet::Value& value);

// Appends a form of the value in which two values are equal exactly when their forms are
// (0 and -0 are one value): for keys and digests.
void appendCanonical(std::string& out, const HeldValue& value);

// The value for a report line: numbers and dates as written, text quoted and bytes in
// hexadecimal, both shortened when long.
std::string describeHeld(HeldType type, const HeldValue& value);

// The server's text of a DECIMAL ("-12.5000") and of a DATETIME ("2002-02-06 09:05:00",
// "0000-00-00 00:00:00", with six fraction digits for DATETIME(6)); nothing for anything else.
std::optional<HeldDecimal> parseHeldDecimal(std::string_view text);
std::optional<HeldDate> parseHeldDate(std::string_view text);

} // namespace kavero::source
