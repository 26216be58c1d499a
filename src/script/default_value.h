// The DEFAULT clause of a column: how the default expression Access stored is cleaned and
// which defaults MySQL is given.
#pragma once

#include <string>
#include <string_view>

#include "shell/table_design.h"

namespace kavero::script {

// The stored expression without blanks, double quotes, "=" and "'": "=\"New York\"" gives
// NewYork, "=Date()" gives Date().
std::string cleanDefault(std::string_view stored);

// A plain decimal number as MySQL reads one, independent of the process locale: an optional
// sign, digits with at most one decimal point, an optional exponent. Thousands separators,
// currency signs, hexadecimal, "inf" and "nan" are not numbers; nor is a value too large for
// a double.
bool readsAsNumber(std::string_view text);

// The clause appended after NULL/NOT NULL for a field with a non-empty stored default,
// ending in ", " (just ", " when the default cannot be carried over).
std::string defaultClause(const shell::DesignField& field);

} // namespace kavero::script
