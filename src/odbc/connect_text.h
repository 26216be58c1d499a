// Builds ODBC connect texts. A value holding ';', '{', '}' or blanks at either end is put in
// braces (a '}' inside doubled), so a password like "a;b" cannot cut the text short.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavero::odbc {

std::string quoteConnectValue(std::string_view value);

// "KEY=value;KEY=value", in the order given.
std::string buildConnectText(const std::vector<std::pair<std::string, std::string>>& attributes);

// The attributes of a connect text, in order, keys as written and values without their braces
// ("}}" inside braces is one "}"). Pieces without "=", such as a leading "ODBC", are passed over.
std::vector<std::pair<std::string, std::string>> parseConnectText(std::string_view text);

} // namespace kavero::odbc
