// Names and values as MySQL reads them in a statement: one place for quoting and escaping,
// used by the table script, the record statements and the pages alike. Nothing here depends
// on the process locale.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "jet/value.h"
#include "source/column_rule.h"

namespace kavero::source {

enum class NameQuoting {
    Backquoted, // `name`, an inner backquote doubled
    Bare,       // the name as it stands, backquotes removed, for servers set up without quoting
};

// Adds NO_AUTO_VALUE_ON_ZERO to the session's sql_mode, so an AutoNumber value of 0 is stored
// as 0 rather than numbered anew: the lossless copy sends every AutoNumber value.
inline constexpr std::string_view kKeepZeroAutoNumbers =
    "SET SESSION sql_mode = TRIM(BOTH ',' FROM CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO'))";

std::string quoteName(std::string_view name, NameQuoting quoting = NameQuoting::Backquoted);

// A string literal that keeps every character: backslash, quote and NUL are escaped, nothing
// is removed. 'O\'Brien'
std::string textLiteral(std::string_view utf8);

// X'00FF…': bytes, zero bytes included.
std::string binaryLiteral(std::span<const std::uint8_t> bytes);

// "05" for "5", "00" for "", the text itself for two characters, and "" for longer texts.
std::string PadTwoDigits(std::string_view text);

// 2002-2-6 09:05:00: year, month and day without leading zeros, the time always written.
// Empty for a value no calendar holds.
std::string dateTimeText(const jet::DateTime& value);

// The literal of one record value of a copied field, without separator. Null is written as
// NULL, except that a Null date becomes the zero date and Null text the empty text. An
// extended date goes to the microsecond, or as its stored bytes under a Binary kind.
std::string recordLiteral(LiteralKind kind, const jet::Value& value);

} // namespace kavero::source
