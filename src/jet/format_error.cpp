// Numbers and texts of the reader's errors.
#include "jet/format_error.h"

#include <array>

namespace kavero::jet {

namespace {

struct ErrorInfo {
    int number;
    std::string_view text;
};

constexpr std::array<ErrorInfo, 8> kErrors = {{
    {3024, "Could not find file"},
    {3051, "Cannot open the file"},
    {3343, "Unrecognized database format"},
    {3049, "The database is damaged"},
    {3078, "Cannot find the input table"},
    {3265, "Item not found in this collection"},
    {3031, "The database is encrypted"},
    {3418, "Cannot use the code page"},
}};
static_assert(kErrors.size() == static_cast<std::size_t>(ErrorCode::CodePage) + 1, "one entry per error code");

} // namespace

int errorNumber(ErrorCode code) {
    return kErrors[static_cast<std::size_t>(code)].number;
}

std::string_view errorText(ErrorCode code) {
    return kErrors[static_cast<std::size_t>(code)].text;
}

FormatError::FormatError(ErrorCode code, const std::string& detail)
    : shell::NumberedError(errorNumber(code), std::string(errorText(code)) + ": " + detail), m_code(code) {}

FormatError FormatError::withContext(std::string_view context) const {
    const std::string_view prefix = errorText(m_code);
    const std::string description = this->description();
    std::string detail = description.substr(std::min(description.size(), prefix.size() + 2));
    return FormatError(m_code, std::string(context) + ", " + detail);
}

} // namespace kavero::jet
