// Connect texts: values that would end or confuse an attribute are braced, others stay bare.
#include <gtest/gtest.h>

#include "odbc/connect_text.h"

using kavero::odbc::buildConnectText;
using kavero::odbc::quoteConnectValue;

TEST(ConnectText, PlainValuesStayBare) {
    EXPECT_EQ(quoteConnectValue("kavero"), "kavero");
    EXPECT_EQ(quoteConnectValue(""), "");
    EXPECT_EQ(quoteConnectValue("a b"), "a b");
}

TEST(ConnectText, SpecialValuesAreBraced) {
    EXPECT_EQ(quoteConnectValue("pa;ss"), "{pa;ss}");
    EXPECT_EQ(quoteConnectValue("{x"), "{{x}");
    EXPECT_EQ(quoteConnectValue("a}b"), "{a}}b}");
    EXPECT_EQ(quoteConnectValue(" lead"), "{ lead}");
    EXPECT_EQ(quoteConnectValue("trail "), "{trail }");
}

TEST(ConnectText, AttributesJoinInOrder) {
    EXPECT_EQ(buildConnectText({{"DATABASE", "shop"}, {"DSN", "local"}, {"uid", "me"}, {"pwd", "x;y"}}),
              "DATABASE=shop;DSN=local;uid=me;pwd={x;y}");
}

TEST(ConnectText, ParsingUndoesTheBraces) {
    using Attributes = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(kavero::odbc::parseConnectText("DRIVER={MariaDB ODBC};SERVER=db.example ; PORT = 3306;"),
              (Attributes{{"DRIVER", "MariaDB ODBC"}, {"SERVER", "db.example"}, {"PORT", "3306"}}));
    EXPECT_EQ(kavero::odbc::parseConnectText("ODBC;DSN=shop;pwd={a;b=}}c};uid="),
              (Attributes{{"DSN", "shop"}, {"pwd", "a;b=}c"}, {"uid", ""}}));
    for (const std::string value : {"pa;ss", "{x", "a}b", "}}", " lead", "=;{}"}) {
        const auto parsed = kavero::odbc::parseConnectText(buildConnectText({{"PWD", value}, {"UID", "u"}}));
        EXPECT_EQ(parsed, (Attributes{{"PWD", value}, {"UID", "u"}})) << value;
    }
}
