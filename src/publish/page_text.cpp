// Escaping for the three places a page carries values.
#include "publish/page_text.h"

#include <charconv>

namespace kavero::publish {

std::string htmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string urlEncode(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                                byte == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kDigits[byte >> 4];
            encoded += kDigits[byte & 0x0F];
        }
    }
    return encoded;
}

std::string vbStringBody(std::string_view text) {
    std::string body;
    body.reserve(text.size() + text.size() / 8);
    bool inPieces = false; // after a chr() piece, outside the string
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 && byte != '\t') {
            body += inPieces ? "+chr(" : "\"+chr(";
            char digits[4];
            body.append(digits, std::to_chars(digits, digits + sizeof digits, int{byte}).ptr);
            body += ')';
            inPieces = true;
            continue;
        }
        if (inPieces) body += "+\"";
        inPieces = false;
        if (byte == '"') {
            body += "\"\"";
        } else if (byte == '%' && i + 1 < text.size() && text[i + 1] == '>') {
            body += "%\"+\"";
        } else {
            body += text[i];
        }
    }
    if (inPieces) body += "+\"";
    return body;
}

} // namespace kavero::publish
