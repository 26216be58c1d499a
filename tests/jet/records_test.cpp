// Records of real files: exact values per type, stored order with overflow rows in place,
// long values across pages, text forms, counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "jet/data_page.h"
#include "jet/database.h"
#include "jet/long_value.h"
#include "jet/testdata_files.h"
#include "jet/usage_map.h"

namespace kavero::jet {
namespace {

using testing::RealFile;

std::vector<std::vector<Value>> readAll(Database& db, const std::string& table) {
    const TableDefinition def = db.table(table);
    RecordCursor cursor = db.records(def);
    std::vector<std::vector<Value>> rows;
    std::vector<Value> row;
    while (cursor.next(row)) rows.push_back(row);
    return rows;
}

std::string text(const Value& v) {
    const auto* t = std::get_if<Text>(&v);
    return t ? t->utf8 : "<not text>";
}

class BaseRecords : public ::testing::TestWithParam<RealFile> {};

TEST_P(BaseRecords, EveryColumnTypeOfTable1) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(GetParam().path());
    const auto rows = readAll(db, "Table1");
    ASSERT_EQ(rows.size(), 2u);
    const auto& full = text(rows[0][0]) == "abcdefg" ? rows[0] : rows[1];
    const auto& small = text(rows[0][0]) == "abcdefg" ? rows[1] : rows[0];
    EXPECT_EQ(text(full[1]), "hijklmnop");
    EXPECT_EQ(full[2], Value(std::uint8_t{2}));
    EXPECT_EQ(full[3], Value(std::int16_t{222}));
    EXPECT_EQ(full[4], Value(std::int32_t{333333333}));
    EXPECT_EQ(full[5], Value(444.555));
    ASSERT_TRUE(std::holds_alternative<DateTime>(full[6]));
    EXPECT_EQ(std::get<DateTime>(full[6]).toString(), "1974-09-21 00:00:00");
    EXPECT_EQ(full[7], Value(Currency{35000}));
    EXPECT_EQ(full[8], Value(true));
    EXPECT_EQ(text(small[0]), "a");
    EXPECT_EQ(small[2], Value(std::uint8_t{0}));
    EXPECT_EQ(small[7], Value(Currency{0}));
    EXPECT_EQ(small[8], Value(false));
    EXPECT_EQ(std::get<DateTime>(small[6]).toString(), "1981-12-12 00:00:00");
}

INSTANTIATE_TEST_SUITE_P(Versions, BaseRecords, ::testing::ValuesIn(testing::baseTestFiles()),
                         [](const auto& info) { return info.param.folder; });

class OverflowRows : public ::testing::TestWithParam<std::string> {};

TEST_P(OverflowRows, StayAtTheirHeaderPosition) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath(GetParam()));
    const auto rows = readAll(db, "Table1");
    ASSERT_EQ(rows.size(), 7u);
    // Rows 3 and 5 were moved to another page when they grew; they still read 3rd and 5th.
    EXPECT_EQ(text(rows[2][1]), "row3col3");
    EXPECT_EQ(text(rows[4][1]), "row5col2");
    EXPECT_EQ(text(rows[3][0]), "row4col1");
    EXPECT_EQ(text(rows[6][0]), "row7col1");
    EXPECT_TRUE(isNull(rows[2][0]));
    const TableDefinition def = db.table("Table1");
    EXPECT_EQ(db.recordCount(def), 7u);
    EXPECT_EQ(db.nonNullCount(def, 0), 4u); // data1: rows 1, 2, 4 and 7
}

INSTANTIATE_TEST_SUITE_P(Versions, OverflowRows,
                         ::testing::Values("jet3/overflowTestV1997.mdb", "jet4/overflowTestV2003.mdb"),
                         [](const auto& info) { return info.param.substr(0, 4); });

TEST(Records, LongValueChainsAcrossPagesInFull) {
    KAVERO_REQUIRE_TESTDATA();
    for (const char* file : {"jet3/test2V1997.mdb", "jet4/test2V2003.mdb"}) {
        Database db(testing::testdataPath(file));
        const auto rows = readAll(db, "MSP_PROJECTS");
        ASSERT_EQ(rows.size(), 1u) << file;
        const TableDefinition def = db.table("MSP_PROJECTS");
        const auto* column = def.findColumn("RESERVED_BINARY_DATA");
        ASSERT_NE(column, nullptr);
        const auto index = static_cast<std::size_t>(column - def.columns.data());
        const auto* bytes = std::get_if<Bytes>(&rows[0][index]);
        ASSERT_NE(bytes, nullptr) << file;
        EXPECT_EQ(bytes->data.size(), 22970u) << file;
    }
    Database ace(testing::testdataPath("ace/longtext.accdb"));
    const auto rows = readAll(ace, "Table1");
    ASSERT_EQ(rows.size(), 1u);
    const std::string memo = text(rows[0][1]);
    EXPECT_EQ(memo.size(), 5000u);
    EXPECT_EQ(memo.substr(0, 26), "Lorem ipsum dolor sit amet");
}

TEST(Records, CompressedAndWideUnicodeText) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/testUnicodeCompV2003.mdb"));
    const auto rows = readAll(db, "Table");
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(text(rows[0][1]), "only ascii chars");
    EXPECT_EQ(text(rows[1][1]), "ääkkösiä");
    EXPECT_EQ(text(rows[2][1]), "Мир");
    EXPECT_EQ(text(rows[4][1]), "漢字仮名交じり文");
    // Every code point from 1 to 255, control characters included.
    const std::string all = text(rows[7][1]);
    EXPECT_EQ(all.substr(0, 3), "\x01\x02\x03");
    EXPECT_EQ(all.substr(all.size() - 2), "ÿ");
}

TEST(Records, Jet3TextFollowsTheChosenCodePage) {
    KAVERO_REQUIRE_TESTDATA();
    const std::string path = testing::testdataPath("jet3/charsetGBK.mdb");
    Database western(path);
    EXPECT_EQ(text(readAll(western, "table1")[0][1]), "GBK±àÂë");
    Database chinese(path, ReadOptions{936});
    EXPECT_EQ(text(readAll(chinese, "table1")[0][1]), "GBK编码");
    EXPECT_THROW(Database(path, ReadOptions{99999}), FormatError);
}

TEST(Records, DecimalCurrencyBigIntExact) {
    KAVERO_REQUIRE_TESTDATA();
    Database functions(testing::testdataPath("jet4/functionsV2000.mdb"));
    const auto f = readAll(functions, "t_funcs");
    ASSERT_EQ(f.size(), 1u);
    ASSERT_TRUE(std::holds_alternative<Decimal>(f[0][2]));
    EXPECT_EQ(std::get<Decimal>(f[0][2]).toString(), "-1110.554");
    EXPECT_EQ(std::get<DateTime>(f[0][3]).toString(), "2003-11-22 22:42:58");

    Database fixed(testing::testdataPath("jet4/fixedNumericTestV2003.mdb"));
    const auto n = readAll(fixed, "test");
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(std::get<Decimal>(n[0][1]).toString(), "1");
    EXPECT_EQ(std::get<Decimal>(n[0][5]).toString(), "-1");
    EXPECT_EQ(std::get<Decimal>(n[0][2]).toString(), "0");

    Database bigint(testing::testdataPath("ace/bigint.accdb"));
    EXPECT_EQ(readAll(bigint, "Table")[0][1], Value(std::int64_t{42}));
    Database currency(testing::testdataPath("ace/currency.accdb"));
    EXPECT_EQ(std::get<Currency>(readAll(currency, "Table")[0][1]).toString(), "42.0000");
}

TEST(Records, BinaryValuesKeepZeroBytes) {
    KAVERO_REQUIRE_TESTDATA();
    // The first property blob of the catalog starts "MR2\0" and goes on past that zero.
    Database db(testing::testdataPath("jet4/testV2003.mdb"));
    const TableDefinition objects = db.table("MSysObjects");
    const Column* lvProp = objects.findColumn("LvProp");
    ASSERT_NE(lvProp, nullptr);
    const auto index = static_cast<std::size_t>(lvProp - objects.columns.data());
    RecordCursor cursor = db.records(objects);
    std::vector<Value> row;
    while (cursor.next(row)) {
        if (const auto* b = std::get_if<Bytes>(&row[index])) {
            ASSERT_GT(b->data.size(), 4u);
            EXPECT_EQ(b->toHex().substr(0, 10), "0x4d523200");
            return;
        }
    }
    FAIL() << "no property blob";
}

TEST(Records, PagesFromBothKindsOfUsageMap) {
    KAVERO_REQUIRE_TESTDATA();
    // t_funcs keeps its owned pages in a referenced (type 1) map, Table1 inline (type 0).
    for (const auto& [file, table, mapType] :
         {std::tuple{"jet4/functionsV2000.mdb", "t_funcs", 1}, std::tuple{"jet4/testV2003.mdb", "Table1", 0}}) {
        Database db(testing::testdataPath(file));
        const TableDefinition def = db.table(table);
        std::vector<std::byte> buffer;
        const DataPage mapPage(db.channel().readPage(pointerPage(def.ownedPagesMap), buffer), db.format());
        EXPECT_EQ(mapPage.row(mapPage.slot(pointerRow(def.ownedPagesMap))).u8(0), mapType) << file;
        const std::vector<std::uint32_t> pages = UsageMap::pages(db.channel(), def.ownedPagesMap);
        ASSERT_FALSE(pages.empty()) << file;
        EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()));
        std::size_t own = 0;
        for (std::uint32_t page : pages) {
            const ByteView view = db.channel().readPage(page, buffer);
            own += view.u8(0) == kPageData && view.u32(4) == def.page ? 1 : 0;
        }
        EXPECT_GE(own, 1u) << file;
        EXPECT_EQ(db.recordCount(def), 1u + (mapType == 0 ? 1u : 0u)) << file;
    }
}

// Found by the sanitizer run over the fixtures: an empty memo stored inline copied zero bytes
// from a null pointer.
TEST(LongValue, EmptyInlineValueReadsEmpty) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/testV2003.mdb"));
    LongValueReader reader(db.channel());
    std::vector<std::byte> field(kLongValueHeaderSize, std::byte{0});
    field[3] = std::byte{kLongValueInline};
    EXPECT_TRUE(reader.read(ByteView(field, ByteView::kNoPage, 0)).empty());
    // A stated length the field does not hold is damage.
    field[0] = std::byte{1};
    EXPECT_THROW(reader.read(ByteView(field, ByteView::kNoPage, 0)), FormatError);
    field[3] = std::byte{0xC0};
    EXPECT_THROW(reader.read(ByteView(field, ByteView::kNoPage, 0)), FormatError);
}

TEST(Records, CountsOfAWholeTable) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/compIndexTestV2003.mdb"));
    const TableDefinition t = db.table("Table1");
    EXPECT_EQ(db.recordCount(t), 512u);
    EXPECT_EQ(db.nonNullCount(t, 0), 510u); // two records have no CD_AGENTE
    EXPECT_THROW(db.nonNullCount(t, 99), FormatError);
}

} // namespace
} // namespace kavero::jet
