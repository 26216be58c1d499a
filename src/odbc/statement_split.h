// Cuts a one-line table script into the statements it holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavero::odbc {

// Splits at every ";" outside '…', "…" and `…` (a backslash inside '…' or "…" escapes the
// next character, as MySQL reads it), so a ";" in a default value or a name stays in its
// statement. Statements lose surrounding white space; empty ones are dropped, and a text
// after the last ";" (or a script without any) is a statement like the others.
std::vector<std::string> splitStatements(std::string_view script);

} // namespace kavero::odbc
