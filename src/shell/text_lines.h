// Lines of text kept end to end in one buffer. Adding a line costs the same however many
// there are, and a line costs its characters and one offset, so a status box of 200,000
// lines stays a few megabytes and a batch of lines passes between threads by a swap.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavero::shell {

class TextLines {
public:
    void append(std::string_view line);
    void clear();
    void swap(TextLines& other) noexcept;

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    // Line `index`, 0 being the first added; the view lasts until the next append or clear.
    std::string_view operator[](std::size_t index) const;
    // Characters of all lines together.
    std::size_t characters() const { return m_chars.size(); }

private:
    std::string m_chars;
    std::vector<std::size_t> m_ends; // where each line ends in m_chars
};

} // namespace kavero::shell
