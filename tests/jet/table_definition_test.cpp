// Table definitions of real files: columns in entry order with type, number, size and
// attributes; indexes with their field texts; column properties.
#include <gtest/gtest.h>

#include "jet/database.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

using testing::RealFile;

struct ColumnFact {
    const char* name;
    int type;
    int daoSize;
    int attributes;
};

class BaseTestFile : public ::testing::TestWithParam<RealFile> {
protected:
    void SetUp() override {
        KAVERO_REQUIRE_TESTDATA();
        db = std::make_unique<Database>(GetParam().path());
        ASSERT_EQ(db->format().version, GetParam().version);
    }
    std::unique_ptr<Database> db;
};

TEST_P(BaseTestFile, Table1ColumnsInEntryOrderWithDaoSizesAndAttributes) {
    const TableDefinition t = db->table("Table1");
    const ColumnFact expected[] = {
        {"A", kTypeText, 50, 34},    {"B", kTypeText, 100, 34},   {"C", kTypeByte, 1, 33},
        {"D", kTypeInteger, 2, 33},  {"E", kTypeLong, 4, 33},     {"F", kTypeDouble, 8, 33},
        {"G", kTypeDateTime, 8, 33}, {"H", kTypeCurrency, 8, 33}, {"I", kTypeBoolean, 1, 33},
    };
    ASSERT_EQ(t.columns.size(), std::size(expected));
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const Column& c = t.columns[i];
        EXPECT_EQ(c.name, expected[i].name);
        EXPECT_EQ(c.type, expected[i].type) << c.name;
        EXPECT_EQ(c.number, i) << c.name;
        EXPECT_EQ(c.daoSize(db->format()), expected[i].daoSize) << c.name;
        EXPECT_EQ(c.daoAttributes(), expected[i].attributes) << c.name;
    }
    // Text lengths are stored in bytes: UCS-2 doubles them after Jet 3.
    EXPECT_EQ(t.columns[0].length, GetParam().version == Version::Jet3 ? 50 : 100);
    // Fixed columns lie one after another; Yes/No takes no bytes.
    EXPECT_EQ(t.columns[3].fixedOffset, 1);
    EXPECT_EQ(t.columns[7].fixedOffset, 23);

    ASSERT_EQ(t.indexes.size(), 2u);
    EXPECT_EQ(t.indexes[0].name, "B");
    EXPECT_EQ(t.indexes[0].fieldsText, "+B");
    EXPECT_FALSE(t.indexes[0].unique);
    EXPECT_FALSE(t.indexes[0].primary);
    EXPECT_EQ(t.indexes[1].name, "PrimaryKey");
    EXPECT_EQ(t.indexes[1].fieldsText, "+A");
    EXPECT_TRUE(t.indexes[1].unique);
    EXPECT_TRUE(t.indexes[1].primary);
}

TEST_P(BaseTestFile, WideTableDefinitionSpansPages) {
    const TableDefinition t = db->table("Table2");
    ASSERT_EQ(t.columns.size(), 89u);
    EXPECT_EQ(t.columns.front().name, "column1");
    EXPECT_EQ(t.columns.back().name, "column89");
    for (const Column& c : t.columns) {
        EXPECT_EQ(c.type, kTypeText);
        EXPECT_EQ(c.daoSize(db->format()), 50) << c.name;
    }
    std::vector<std::string> texts;
    for (const Index& i : t.indexes) texts.push_back(i.fieldsText);
    EXPECT_EQ(texts.back(), "+column1");
    EXPECT_TRUE(t.indexes.back().primary);
}

TEST_P(BaseTestFile, AutoNumberLongHasAttributes49) {
    const TableDefinition t = db->table("Table3");
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(t.columns[0].name, "a");
    EXPECT_EQ(t.columns[0].type, kTypeLong);
    EXPECT_EQ(t.columns[0].flags, kColumnFixed | kColumnUpdatable | kColumnAutoLong);
    EXPECT_EQ(t.columns[0].daoAttributes(), 49);
    // Two indexes start with the same field: a plain one, then the primary key.
    ASSERT_EQ(t.indexes.size(), 2u);
    EXPECT_EQ(t.indexes[0].fieldsText, "+a");
    EXPECT_FALSE(t.indexes[0].primary);
    EXPECT_TRUE(t.indexes[1].primary);
}

INSTANTIATE_TEST_SUITE_P(Versions, BaseTestFile, ::testing::ValuesIn(testing::baseTestFiles()),
                         [](const auto& info) { return info.param.folder; });

TEST(TableDefinition, GuidAutoNumberColumn) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("ace/testV2010.accdb"));
    const TableDefinition t = db.table("Table4");
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(t.columns[1].type, kTypeGuid);
    EXPECT_EQ(t.columns[1].flags, 0x43);
    EXPECT_EQ(t.columns[1].defaultValue, std::optional<std::string>("GenGUID()"));
    EXPECT_EQ(t.columns[1].daoSize(db.format()), 16);
    ASSERT_EQ(t.indexes.size(), 1u);
    EXPECT_EQ(t.indexes[0].fieldsText, "+data");
}

TEST(TableDefinition, DeletedColumnsLeaveGapsInNumbersAndOffsets) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/delColTestV2003.mdb"));
    const TableDefinition t = db.table("Table1");
    EXPECT_EQ(t.maxColumns, 6);
    ASSERT_EQ(t.columns.size(), 4u);
    const std::uint16_t numbers[] = {0, 2, 3, 5};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(t.columns[i].number, numbers[i]) << t.columns[i].name;
    EXPECT_EQ(t.columns[1].name, "id2");
    EXPECT_EQ(t.columns[1].fixedOffset, 8);
    // The index on id2 is matched through its real-index number, not its logical number.
    ASSERT_EQ(t.indexes.size(), 2u);
    EXPECT_EQ(t.indexes[1].name, "id2");
    EXPECT_EQ(t.indexes[1].fieldsText, "+id2");
}

TEST(TableDefinition, CompositeAndDescendingIndexTexts) {
    KAVERO_REQUIRE_TESTDATA();
    Database jet4(testing::testdataPath("jet4/testV2003.mdb"));
    const TableDefinition queries = jet4.table("MSysQueries");
    bool found = false;
    for (const Index& i : queries.indexes) {
        if (i.name != "ObjectIdAttribute") continue;
        found = true;
        EXPECT_EQ(i.fieldsText, "+ObjectId;+Attribute;+Order");
        EXPECT_TRUE(i.primary);
    }
    EXPECT_TRUE(found);

    Database jet3(testing::testdataPath("jet3/charsetGBK.mdb"));
    const TableDefinition modules = jet3.table("MSysModules2");
    ASSERT_FALSE(modules.indexes.empty());
    EXPECT_EQ(modules.indexes[0].fieldsText, "+Name;+Type;-Version");
    EXPECT_FALSE(modules.indexes[0].unique);
}

TEST(TableDefinition, RelationshipEntriesAreNoIndexes) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/indexTestV2003.mdb"));
    const TableDefinition t = db.table("Table1");
    // Table1 takes part in relationships; only its own two indexes are listed.
    ASSERT_EQ(t.indexes.size(), 2u);
    EXPECT_EQ(t.indexes[0].fieldsText, "+id");
    EXPECT_EQ(t.indexes[1].name, "PrimaryKey");
}

TEST(Properties, RequiredDefaultValueAndAllowZeroLength) {
    KAVERO_REQUIRE_TESTDATA();
    Database like(testing::testdataPath("jet4/accessLike.mdb"));
    const TableDefinition t = like.table("t_like1");
    EXPECT_FALSE(t.columns[0].required);
    EXPECT_TRUE(t.columns[1].required);

    Database pivot(testing::testdataPath("jet4/pivot.mdb"));
    EXPECT_EQ(pivot.table("t_pivot").columns[2].defaultValue, std::optional<std::string>("Now()"));

    Database ace(testing::testdataPath("ace/githubIssue16.accdb"));
    const TableDefinition detail = ace.table("Donation Detail");
    EXPECT_FALSE(detail.findColumn("Notes")->allowZeroLength);
    EXPECT_TRUE(detail.findColumn("Designation")->allowZeroLength);
}

TEST(TableDefinition, DecimalPrecisionAndScale) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/fixedNumericTestV2003.mdb"));
    const TableDefinition t = db.table("test");
    const Column* c = t.findColumn("col2");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->type, kTypeDecimal);
    EXPECT_EQ(c->precision, 18);
    EXPECT_EQ(c->scale, 0);
    EXPECT_EQ(c->length, 17);
}

} // namespace
} // namespace kavero::jet
