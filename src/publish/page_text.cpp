// Escaping for the three places a page carries values.
#include "publish/page_text.h"

#include <charconv>
#include <cstdint>

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

std::string base64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                                    static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                                    static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) encoded += kAlphabet[(group >> shift) & 0x3F];
    }
    const std::size_t left = bytes.size() - i;
    if (left > 0) {
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (left == 2) group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        encoded += kAlphabet[(group >> 18) & 0x3F];
        encoded += kAlphabet[(group >> 12) & 0x3F];
        encoded += left == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        encoded += '=';
    }
    return encoded;
}

namespace {

bool needsVbPiece(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '"' || c == '%' || (byte < 0x20 && c != '\t');
}

} // namespace

void appendVbStringBody(std::string& body, std::string_view text) {
    bool inPieces = false; // after a chr() piece, outside the string
    std::size_t i = 0;
    while (i < text.size()) {
        // Plain characters are copied as one run; pages are mostly such runs.
        std::size_t run = i;
        while (run < text.size() && !needsVbPiece(text[run])) ++run;
        if (run > i) {
            if (inPieces) body += "+\"";
            inPieces = false;
            body.append(text, i, run - i);
            i = run;
            continue;
        }
        const char c = text[i++];
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            body += inPieces ? "+chr(" : "\"+chr(";
            char digits[4];
            body.append(digits, std::to_chars(digits, digits + sizeof digits, int{byte}).ptr);
            body += ')';
            inPieces = true;
            continue;
        }
        if (inPieces) body += "+\"";
        inPieces = false;
        if (c == '"') {
            body += "\"\"";
        } else if (i < text.size() && text[i] == '>') { // "%>"
            body += "%\"+\"";
        } else {
            body += c;
        }
    }
    if (inPieces) body += "+\"";
}

std::string vbStringBody(std::string_view text) {
    std::string body;
    body.reserve(text.size() + text.size() / 8);
    appendVbStringBody(body, text);
    return body;
}

} // namespace kavero::publish
