// Default cleaning, the numeric test and the DEFAULT clause by type word.
#include "script/default_value.h"

#include <charconv>
#include <system_error>

#include "jet/format.h"
#include "shell/ascii.h"
#include "source/column_rule.h"
#include "source/sql_text.h"

namespace kavero::script {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Access writes Yes/No defaults as words or as numbers; any number but 0 means Yes, and
// Yes is stored as -1, as the records are.
bool meansYes(std::string_view cleaned) {
    for (std::string_view word : {"YES", "TRUE", "ON"}) {
        if (shell::equalsIgnoringCase(cleaned, word)) return true;
    }
    if (!readsAsNumber(cleaned)) return false;
    std::string_view digits = cleaned;
    if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
    for (char c : digits) {
        if (c == 'e' || c == 'E') break; // 0e5 is still zero
        if (isDigit(c) && c != '0') return true;
    }
    return false;
}

} // namespace

std::string cleanDefault(std::string_view stored) {
    std::string cleaned;
    cleaned.reserve(stored.size());
    for (char c : stored) {
        if (c != ' ' && c != '"' && c != '=' && c != '\'') cleaned += c;
    }
    return cleaned;
}

bool readsAsNumber(std::string_view text) {
    std::string_view body = text;
    if (!body.empty() && body.front() == '+')
        body.remove_prefix(1); // from_chars takes no plus
    else if (!body.empty() && body.front() == '-')
        body.remove_prefix(1);
    // Leaves out inf, nan and a second sign, which from_chars would read.
    if (body.empty() || !(isDigit(body.front()) || body.front() == '.')) return false;
    double value = 0;
    const char* end = body.data() + body.size();
    const auto [stop, error] = std::from_chars(body.data(), end, value, std::chars_format::general);
    return error == std::errc{} && stop == end;
}

std::string defaultClause(const shell::DesignField& field) {
    const std::string cleaned = cleanDefault(field.defaultValue);
    switch (source::columnRule(field).literal) {
    case source::LiteralKind::Text:
        return " DEFAULT " + source::textLiteral(cleaned) + ", ";
    case source::LiteralKind::TextOrNull:
        // A GUID's default is a function call (GenGUID()), never a value to keep.
        if (field.type == jet::kTypeGuid) return ", ";
        return " DEFAULT " + source::textLiteral(cleaned) + ", ";
    case source::LiteralKind::DateTimeOrNull:
    case source::LiteralKind::ExtendedDateTimeOrNull:
        // Access date defaults are expressions (Date(), Now()); a number would be no date.
        return ", ";
    case source::LiteralKind::YesNo:
        return meansYes(cleaned) ? " DEFAULT -1, " : " DEFAULT 0, ";
    default:
        return readsAsNumber(cleaned) ? " DEFAULT " + cleaned + ", " : ", ";
    }
}

} // namespace kavero::script
