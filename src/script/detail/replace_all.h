// Plain text replacement shared by the builder and the "To file" command.
#pragma once

#include <string>
#include <string_view>

namespace kavero::script::detail {

// Replaces every occurrence of `from` (not empty), scanning on after each replacement so the
// replacement text itself is never searched again.
inline void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

} // namespace kavero::script::detail
