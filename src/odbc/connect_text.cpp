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

std::vector<std::pair<std::string, std::string>> parseConnectText(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> attributes;
    const auto trimmed = [](std::string_view s) {
        const auto first = s.find_first_not_of(' ');
        if (first == std::string_view::npos) return std::string();
        return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find(';', pos);
        const std::size_t equals = text.find('=', pos);
        if (equals == std::string_view::npos || (end != std::string_view::npos && end < equals)) {
            if (end == std::string_view::npos) break;
            pos = end + 1;
            continue;
        }
        std::string key = trimmed(text.substr(pos, equals - pos));
        std::size_t valueStart = text.find_first_not_of(' ', equals + 1);
        if (valueStart != std::string_view::npos && text[valueStart] == '{') {
            // A braced value runs to the first "}" that is not doubled, ";" and "=" included.
            std::string value;
            std::size_t i = valueStart + 1;
            for (; i < text.size(); ++i) {
                if (text[i] == '}') {
                    if (i + 1 < text.size() && text[i + 1] == '}') {
                        value += '}';
                        ++i;
                        continue;
                    }
                    break;
                }
                value += text[i];
            }
            attributes.emplace_back(std::move(key), std::move(value));
            const std::size_t next = text.find(';', i);
            pos = next == std::string_view::npos ? text.size() : next + 1;
            continue;
        }
        const std::size_t valueEnd = end == std::string_view::npos ? text.size() : end;
        attributes.emplace_back(std::move(key), trimmed(text.substr(equals + 1, valueEnd - equals - 1)));
        pos = valueEnd + 1;
    }
    return attributes;
}

} // namespace kavero::odbc
