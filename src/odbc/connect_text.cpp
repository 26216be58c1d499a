// Connect-text quoting after the ODBC rules for attribute values.
#include "odbc/connect_text.h"

namespace kavero::odbc {

std::string quoteConnectValue(std::string_view value) {
    const bool edgeBlank = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    if (value.find_first_of(";{}") == std::string_view::npos && !edgeBlank) return std::string(value);
    std::string quoted = "{";
    for (char c : value) {
        quoted += c;
        if (c == '}') quoted += '}';
    }
    quoted += '}';
    return quoted;
}

std::string buildConnectText(const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string text;
    for (const auto& [key, value] : attributes) {
        if (!text.empty()) text += ';';
        text += key;
        text += '=';
        text += quoteConnectValue(value);
    }
    return text;
}

} // namespace kavero::odbc
