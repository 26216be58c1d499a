// The numeric test for defaults and the cleaning of stored default expressions.
#include <gtest/gtest.h>

#include <string>

#include "script/default_value.h"

using kavero::script::cleanDefault;
using kavero::script::readsAsNumber;

TEST(DefaultValue, NumbersAsMySqlReadsThem) {
    for (const char* number : {"0", "-1", "+1", "1000", "3.25", ".5", "5.", "-0.0", "1e5", "1E+05", "2.5e-3",
                               "007", "1.7976931348623157e308"}) {
        EXPECT_TRUE(readsAsNumber(number)) << number;
    }
    for (const char* text : {"", "+", "-", ".", "e5", "1e", "1.2.3", "1,5", "1 000", "$5", "5$", "5%", "&H1F", "0x1F",
                             "inf", "-inf", "nan", "infinity", "--1", "+-1", "-+1", "1e999", "(5)", "5-", "Date()",
                             "Yes", "\xC2\xA0" "5"}) {
        EXPECT_FALSE(readsAsNumber(text)) << text;
    }
}

TEST(DefaultValue, CleaningRemovesBlanksQuotesAndEquals) {
    EXPECT_EQ(cleanDefault("=\"New York\""), "NewYork");
    EXPECT_EQ(cleanDefault("'it''s'"), "its");
    EXPECT_EQ(cleanDefault("= Date( )"), "Date()");
    EXPECT_EQ(cleanDefault("1 000"), "1000");
    EXPECT_EQ(cleanDefault("\"\""), "");
    // Only the plain blank goes; other white space and backslashes stay.
    EXPECT_EQ(cleanDefault("a\tb\\c"), "a\tb\\c");
    EXPECT_EQ(cleanDefault("M\xC3\xBCller"), "M\xC3\xBCller");
}
