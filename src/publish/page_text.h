// How a value is written into a page so that it arrives unchanged: in an HTML attribute or
// text area, in an address, and inside a VBScript string on the server.
#pragma once

#include <string>
#include <string_view>

namespace kavero::publish {

// & < > " ' as character references; the browser hands back the original text. Since "<"
// becomes "&lt;", a value can never open server code ("<%") in a page.
std::string htmlEscape(std::string_view text);

// Standard base64 with "=" padding. Values stand in the PHP pages' code only in this form:
// its 65 characters can end neither a PHP string nor the PHP code, and every byte comes back.
std::string base64(std::string_view bytes);

// One query-string value: every byte but letters, digits and - . _ ~ as %XX of its UTF-8.
std::string urlEncode(std::string_view text);

// The inside of a one-line VBScript string literal that evaluates to `text`: a double quote is
// doubled; line breaks and other control characters close the string and join chr() pieces
// ("a"+chr(13)+chr(10)+"b"); and "%>", which would end the server code of the page even inside
// a string, is split as %"+">. The result goes between two double quotes.
std::string vbStringBody(std::string_view text);
// The same, appended to `body`.
void appendVbStringBody(std::string& body, std::string_view text);

} // namespace kavero::publish
