// Quoting and literal texts.
#include "source/sql_text.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <type_traits>
#include <variant>

namespace kavero::source {

namespace {

template <class F> std::string floatLiteral(F value) {
    // MySQL has no literal for these; a quoted word makes the server refuse the record
    // instead of storing something else in silence.
    if (std::isnan(value)) return "'NaN'";
    if (std::isinf(value)) return value > 0 ? "'Infinity'" : "'-Infinity'";
    return jet::shortestText(value);
}

} // namespace

std::string quoteName(std::string_view name, NameQuoting quoting) {
    std::string text;
    text.reserve(name.size() + 2);
    if (quoting == NameQuoting::Bare) {
        for (char c : name) {
            if (c != '`') text += c;
        }
        return text;
    }
    text += '`';
    for (char c : name) {
        if (c == '`') text += '`';
        text += c;
    }
    text += '`';
    return text;
}

std::string textLiteral(std::string_view utf8) {
    std::string literal;
    literal.reserve(utf8.size() + 2);
    literal += '\'';
    for (char c : utf8) {
        switch (c) {
        case '\\':
            literal += "\\\\";
            break;
        case '\'':
            literal += "\\'";
            break;
        case '\0':
            literal += "\\0";
            break;
        default:
            literal += c;
        }
    }
    literal += '\'';
    return literal;
}

std::string binaryLiteral(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string literal = "X'";
    literal.reserve(3 + 2 * bytes.size());
    for (std::uint8_t b : bytes) {
        literal += kDigits[b >> 4];
        literal += kDigits[b & 0x0F];
    }
    literal += '\'';
    return literal;
}

std::string PadTwoDigits(std::string_view text) {
    switch (text.size()) {
    case 0:
        return "00";
    case 1:
        return "0" + std::string(text);
    case 2:
        return std::string(text);
    default:
        return "";
    }
}

std::string dateTimeText(const jet::DateTime& value) {
    const std::optional<jet::DateParts> parts = value.roundedToSecond();
    if (!parts) return "";
    // A date of every record goes through here: written into one text with room for it, not
    // joined from pieces.
    std::string text;
    text.reserve(24);
    char digits[12];
    const auto number = [&](int n) { return std::string_view(digits, std::to_chars(digits, std::end(digits), n).ptr); };
    text += number(parts->year);
    text += '-';
    text += number(parts->month);
    text += '-';
    text += number(parts->day);
    text += ' ';
    text += PadTwoDigits(number(parts->hour));
    text += ':';
    text += PadTwoDigits(number(parts->minute));
    text += ':';
    text += PadTwoDigits(number(parts->second));
    return text;
}

std::string recordLiteral(LiteralKind kind, const jet::Value& value) {
    return std::visit(
        [kind](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, jet::Null>) {
                if (kind == LiteralKind::DateTime) return "'0000-00-00 00:00:00'";
                if (kind == LiteralKind::Text) return "''";
                return "NULL";
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? "-1" : "0";
            } else if constexpr (std::is_integral_v<T>) {
                return std::to_string(v);
            } else if constexpr (std::is_same_v<T, float>) {
                if (kind == LiteralKind::SingleExact) return floatLiteral(static_cast<double>(v));
                return floatLiteral(v);
            } else if constexpr (std::is_floating_point_v<T>) {
                return floatLiteral(v);
            } else if constexpr (std::is_same_v<T, jet::Currency> || std::is_same_v<T, jet::Decimal>) {
                return v.toString();
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                const std::string text = dateTimeText(v);
                return text.empty() ? "NULL" : "'" + text + "'";
            } else if constexpr (std::is_same_v<T, jet::Text>) {
                return textLiteral(v.utf8);
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                return binaryLiteral(v.data);
            } else if constexpr (std::is_same_v<T, jet::ExtendedDateTime>) {
                if (kind == LiteralKind::ExtendedDateTimeOrNull) return "'" + v.toMicrosecondString() + "'";
                return binaryLiteral(v.storedBytes()); // the rules that keep unknown types as bytes
            } else {
                return textLiteral(v.toString()); // GUID
            }
        },
        value);
}

} // namespace kavero::source
