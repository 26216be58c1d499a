// Numbers are written with std::to_chars so the text does not depend on the process locale.
#include "odbc/error_text.h"

#include <charconv>

namespace kavero::odbc {

std::string errorBlocks(const std::vector<DiagnosticRecord>& records) {
    std::string text;
    for (const DiagnosticRecord& record : records) {
        char number[24];
        const auto end = std::to_chars(number, number + sizeof number, record.nativeError).ptr;
        text += "Error number: ";
        text.append(number, end);
        text += '\r';
        text += record.message;
        text += "\r\n";
    }
    return text;
}

std::string serverText(const std::string& message) {
    std::size_t start = 0;
    while (start < message.size() && message[start] == '[') {
        const std::size_t close = message.find(']', start);
        if (close == std::string::npos) break;
        start = close + 1;
    }
    return message.substr(start);
}

std::string connectionFailureText(std::string_view dataSource, const Error& error) {
    return "ODBC--connection to '" + std::string(dataSource) + "' failed.\r\n" + errorBlocks(error.records());
}

} // namespace kavero::odbc
