// The three ways a value is written into a page, and the one-pass filling of the templates.
// The pages themselves run in the VBScript engine in the page tests beside this one.
#include <gtest/gtest.h>

#include "publish/page_templates.h"
#include "publish/page_text.h"

namespace {

using namespace kavero::publish;

TEST(PageText, ValuesAreEscapedForTheirPlaceAndNothingIsLost) {
    EXPECT_EQ(htmlEscape(R"(a"b'c&d<%e%>)"), "a&quot;b&#39;c&amp;d&lt;%e%&gt;");
    EXPECT_EQ(urlEncode("p&s=#1 'x'/é~-._"), "p%26s%3D%231%20%27x%27%2F%C3%A9~-._");

    // Inside a VBScript string: "" for a quote, one run of chr() pieces per line break, and
    // %> split so that it cannot end the page's server code.
    EXPECT_EQ(vbStringBody("say \"hi\""), "say \"\"hi\"\"");
    EXPECT_EQ(vbStringBody("a\r\nb\nc\rd"), "a\"+chr(13)+chr(10)+\"b\"+chr(10)+\"c\"+chr(13)+\"d");
    EXPECT_EQ(vbStringBody("\r\n"), "\"+chr(13)+chr(10)+\"");
    EXPECT_EQ(vbStringBody("50%> off 100%"), "50%\"+\"> off 100%");
    EXPECT_EQ(vbStringBody("tab\tand \x1b"), "tab\tand \"+chr(27)+\"");
    EXPECT_EQ(vbStringBody("€ 😀"), "€ 😀");
}

TEST(PageTemplates, EveryPlaceholderIsFilledOnceAndInsertedTextIsNeverScannedAgain) {
    const Substitution substitutions[] = {
        {"<strings>", "StrArray(1)=\"<%=nexpage%> <globalarray> <pagestart>\"\r\n"},
        {"<globalarray>", "redim StrArray(5)"},
        {"<%=nexpage%>", "endcopy.asp?sc=1"},
    };
    const std::string page = fillTemplate(PageTemplate::CopyData, substitutions);
    EXPECT_NE(page.find("StrArray(1)=\"<%=nexpage%> <globalarray> <pagestart>\"\r\n"), std::string::npos);
    EXPECT_NE(page.find("location.replace('endcopy.asp?sc=1')"), std::string::npos);
    EXPECT_NE(page.find("redim StrArray(5)"), std::string::npos);
    // The shared page start and server functions are in; no placeholder of the template is left.
    EXPECT_NE(page.find("<title>KAVERO</title>"), std::string::npos);
    EXPECT_NE(page.find("Function KaveroConnectText("), std::string::npos);
    const std::string rest = page.substr(0, page.find("StrArray(1)=")) + page.substr(page.find("\r\n") + 2);
    for (const char* placeholder : {"<strings>", "<globalarray>", "<%=nexpage%>", "<pagestart>", "<serverfunctions>"})
        EXPECT_EQ(rest.find(placeholder), std::string::npos) << placeholder;
}

} // namespace
