// Lines and statement of LOAD DATA.
#include "source/load_data_text.h"

#include <string_view>

#include "source/sql_text.h"

namespace kavero::source {

namespace {

void appendEscaped(std::string& text, char c) {
    switch (c) {
    case '\\':
        text += "\\\\";
        break;
    case '\t':
        text += "\\t";
        break;
    case '\n':
        text += "\\n";
        break;
    case '\r':
        text += "\\r";
        break;
    case '\0':
        text += "\\0";
        break;
    default:
        text += c;
    }
}

bool needsEscape(char c) {
    return c == '\\' || c == '\t' || c == '\n' || c == '\r' || c == '\0';
}

std::string variableName(std::size_t column) {
    return "@c" + std::to_string(column);
}

} // namespace

void appendLoadDataField(std::string& text, std::string_view literal) {
    if (literal == "NULL") {
        text += "\\N";
    } else if (literal.starts_with("X'")) {
        text += literal.substr(2, literal.size() - 3);
    } else if (literal.starts_with('\'')) {
        const std::string_view inner = literal.substr(1, literal.size() - 2);
        for (std::size_t i = 0; i < inner.size(); ++i) {
            // Most text needs no escape: a run of it goes at once.
            const std::size_t run = i;
            while (i < inner.size() && !needsEscape(inner[i])) ++i;
            text.append(inner.substr(run, i - run));
            if (i == inner.size()) break;
            char c = inner[i];
            if (c == '\\' && i + 1 < inner.size()) {
                c = inner[++i];
                if (c == '0') c = '\0'; // the literal's other escapes stand for the character itself
            }
            appendEscaped(text, c);
        }
    } else {
        text += literal;
    }
}

std::string BuildLoadDataStatement(const std::string& table, const std::vector<CopiedField>& fields,
                                   const std::string& path) {
    std::string columns;
    std::string conversions;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) columns += ", ";
        if (fields[i].literal != LiteralKind::Binary) {
            columns += quoteName(fields[i].name);
            continue;
        }
        columns += variableName(i);
        conversions += conversions.empty() ? " SET " : ", ";
        conversions += quoteName(fields[i].name) + " = UNHEX(" + variableName(i) + ")";
    }
    return "LOAD DATA LOCAL INFILE " + textLiteral(path) + " INTO TABLE " + quoteName(table) +
           " CHARACTER SET utf8mb4 FIELDS TERMINATED BY '\\t' ESCAPED BY '\\\\' LINES TERMINATED BY '\\n' (" + columns +
           ")" + conversions;
}

} // namespace kavero::source
