// The one shape of every error the commands report: a number and a description, as the old
// engine's errors had them. Reader, ODBC, settings and command errors all derive from it.
#pragma once

#include <stdexcept>
#include <string>

namespace kavero::shell {

class NumberedError : public std::runtime_error {
public:
    NumberedError(int number, const std::string& description) : std::runtime_error(description), m_number(number) {}

    int number() const { return m_number; }
    std::string description() const { return what(); }
    // The form a message box shows: the description, one blank, the number.
    std::string boxText() const { return description() + " " + std::to_string(m_number); }

private:
    int m_number;
};

} // namespace kavero::shell
