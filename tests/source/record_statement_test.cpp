// A record as the copy writes it: the VALUES clause of its INSERT and its LOAD DATA line, text
// for text. The copies into a real server only see what the server makes of the text; the
// text itself (the unpadded date, the lone comma after a Null date) is pinned here.
#include <gtest/gtest.h>

#include <string>

#include "source/load_data_text.h"
#include "source/record_statement.h"

namespace kavero::source {
namespace {

using namespace std::string_literals;

TEST(RecordStatement, EveryLiteralKindIsWrittenAsDocumentedForInsertAndForLoadData) {
    const std::vector<std::pair<LiteralKind, jet::Value>> cells = {
        {LiteralKind::Text, jet::Text{R"(O'Br\ien)"}},
        {LiteralKind::Text, jet::Text{"a\tb\0c"s}},
        {LiteralKind::Text, jet::Null{}},
        {LiteralKind::DateTime, jet::DateTime{37293 + 545.0 / 1440}}, // 2002-02-06 09:05
        {LiteralKind::DateTime, jet::Null{}},
        {LiteralKind::YesNo, true},
        {LiteralKind::Currency, jet::Currency{12345}},
        {LiteralKind::Currency, jet::Currency{-5}},
        {LiteralKind::Decimal, jet::Decimal{true, {0, 0, 1, 0}, 3}},                             // -2^64 / 1000
        {LiteralKind::Decimal, jet::Decimal{false, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0}}, // 2^96 - 1
        {LiteralKind::Integer, std::int32_t{-7}},
        {LiteralKind::Binary, jet::Bytes{{0x00, 0xFF}}},
        {LiteralKind::Float, 0.1},
        {LiteralKind::TextOrNull, jet::Null{}},
    };
    std::vector<CopiedField> fields;
    std::vector<jet::Value> record;
    for (const auto& [kind, value] : cells) {
        fields.push_back({"f" + std::to_string(fields.size()), record.size(), kind});
        record.push_back(value);
    }

    std::string row;
    std::string line;
    appendValuesRow(row, fields, record, &line);
    EXPECT_EQ(row, "('O\\'Br\\\\ien', 'a\tb\\0c', '', '2002-2-6 09:05:00', '0000-00-00 00:00:00',-1, 1.2345, "
                   "-0.0005, -18446744073709551.616, 79228162514264337593543950335, -7, X'00FF', 0.1, NULL)");
    EXPECT_EQ(BuildValuesClause(fields, record), "VALUES" + row);
    EXPECT_EQ(line, "O'Br\\\\ien\ta\\tb\\0c\t\t2002-2-6 09:05:00\t0000-00-00 00:00:00\t-1\t1.2345\t-0.0005\t"
                    "-18446744073709551.616\t79228162514264337593543950335\t-7\t00FF\t0.1\t\\N\n");
}

} // namespace
} // namespace kavero::source
