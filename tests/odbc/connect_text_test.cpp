// Connect texts: values that would end or confuse an attribute are braced, others stay bare,
// and parsing undoes the braces.
#include <gtest/gtest.h>

#include "odbc/connect_text.h"

using kavero::odbc::buildConnectText;
using kavero::odbc::parseConnectText;
using kavero::odbc::quoteConnectValue;
using Attributes = std::vector<std::pair<std::string, std::string>>;

TEST(ConnectText, OnlyValuesThatNeedBracesGetThem) {
    for (const char* bare : {"kavero", "", "a b", "x=y"}) EXPECT_EQ(quoteConnectValue(bare), bare);
    EXPECT_EQ(buildConnectText({{"DATABASE", "shop"},
                                {"DSN", "local"},
                                {"pwd", "x;y"},
                                {"a", "{x"},
                                {"b", "a}b"},
                                {"c", " lead"},
                                {"d", "trail "}}),
              "DATABASE=shop;DSN=local;pwd={x;y};a={{x};b={a}}b};c={ lead};d={trail }");
}

TEST(ConnectText, ParsingUndoesTheBraces) {
    EXPECT_EQ(parseConnectText("DRIVER={MariaDB ODBC};SERVER=db.example ; PORT = 3306;"),
              (Attributes{{"DRIVER", "MariaDB ODBC"}, {"SERVER", "db.example"}, {"PORT", "3306"}}));
    EXPECT_EQ(parseConnectText("ODBC;DSN=shop;pwd={a;b=}}c};uid="),
              (Attributes{{"DSN", "shop"}, {"pwd", "a;b=}c"}, {"uid", ""}}));
    for (const std::string value : {"pa;ss", "{x", "a}b", "}}", " lead", "=;{}"}) {
        const auto parsed = parseConnectText(buildConnectText({{"PWD", value}, {"UID", "u"}}));
        EXPECT_EQ(parsed, (Attributes{{"PWD", value}, {"UID", "u"}})) << value;
    }
}
