// The one error type of the Access reader: a Jet error number, as the old engine reported
// them, and a text that names the place (file, page, offset, table, column).
#pragma once

#include <string>
#include <string_view>

#include "shell/numbered_error.h"

namespace kavero::jet {

enum class ErrorCode {
    FileNotFound,       // 3024
    CannotOpenFile,     // 3051: exists but cannot be read
    UnrecognizedFormat, // 3343: not an Access file, or a version we do not read
    Corrupt,            // 3049: a structure inside the file is damaged
    TableNotFound,      // 3078
    ItemNotFound,       // 3265: a field name that the table does not have
    Encrypted,          // 3031: encrypted ACE file, no password support
    CodePage,           // 3418: the Jet 3 code page cannot be used
};

// The Jet number of a code, and the engine's own short text for it.
int errorNumber(ErrorCode code);
std::string_view errorText(ErrorCode code);

// The description is the engine's short text, then the place and the cause.
class FormatError : public shell::NumberedError {
public:
    FormatError(ErrorCode code, const std::string& detail);

    ErrorCode code() const { return m_code; }

    // The same error with the context (file, table, column) put in front of the place.
    FormatError withContext(std::string_view context) const;

private:
    ErrorCode m_code;
};

} // namespace kavero::jet
