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
