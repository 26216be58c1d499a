// Appending to and reading from the one buffer of lines.
#include "shell/text_lines.h"

#include <utility>

namespace kavero::shell {

void TextLines::append(std::string_view line) {
    m_chars.append(line);
    m_ends.push_back(m_chars.size());
}

void TextLines::clear() {
    m_chars.clear();
    m_ends.clear();
}

void TextLines::swap(TextLines& other) noexcept {
    m_chars.swap(other.m_chars);
    m_ends.swap(other.m_ends);
}

std::string_view TextLines::operator[](std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_chars).substr(begin, m_ends[index] - begin);
}

} // namespace kavero::shell
