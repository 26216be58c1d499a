// A small scanner over the quoting rules of MySQL; comments are not looked at, because the
// script builder writes none.
#include "odbc/statement_split.h"

namespace kavero::odbc {
namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n";

void addStatement(std::vector<std::string>& statements, std::string_view piece) {
    const std::size_t first = piece.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return;
    const std::size_t last = piece.find_last_not_of(kWhiteSpace);
    statements.emplace_back(piece.substr(first, last - first + 1));
}

} // namespace

std::vector<std::string> splitStatements(std::string_view script) {
    std::vector<std::string> statements;
    std::size_t start = 0;
    char quote = 0; // the quote character of the literal or name being read, or 0
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (quote != 0) {
            if (c == '\\' && quote != '`') {
                ++i; // the escaped character cannot end the literal
            } else if (c == quote) {
                quote = 0; // a doubled quote closes and opens again, which reads the same
            }
        } else if (c == '\'' || c == '"' || c == '`') {
            quote = c;
        } else if (c == ';') {
            addStatement(statements, script.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < script.size()) addStatement(statements, script.substr(start));
    return statements;
}

} // namespace kavero::odbc
