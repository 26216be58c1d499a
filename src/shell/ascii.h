// Comparing names the way Access and ODBC do: without regard to the case of ASCII letters,
// and independent of the process locale.
#pragma once

#include <string_view>

namespace kavero::shell {

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

} // namespace kavero::shell
