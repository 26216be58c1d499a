// Table definitions of real files where the table design and the other readers cannot look:
// DAO attributes, definitions that span pages, deleted columns, index field texts, GUID and
// decimal columns.
#include <gtest/gtest.h>

#include "jet/database.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

using testing::RealFile;

class BaseTestFile : public ::testing::TestWithParam<RealFile> {
protected:
    void SetUp() override {
        KAVERO_REQUIRE_TESTDATA();
        db = std::make_unique<Database>(GetParam().path());
    }
    std::unique_ptr<Database> db;
};

TEST_P(BaseTestFile, AttributesAndADefinitionSpanningPages) {
    // Text columns are variable (34), the others fixed (33); each is updatable.
    const TableDefinition t = db->table("Table1");
    ASSERT_EQ(t.columns.size(), 9u);
    for (const Column& c : t.columns) EXPECT_EQ(c.daoAttributes(), c.type == kTypeText ? 34 : 33) << c.name;

    // Table2's 89 columns push its indexes onto later definition pages.
    const TableDefinition wide = db->table("Table2");
    ASSERT_EQ(wide.columns.size(), 89u);
    EXPECT_EQ(wide.columns.back().name, "column89");
    ASSERT_FALSE(wide.indexes.empty());
    EXPECT_EQ(wide.indexes.back().fieldsText, "+column1");
    EXPECT_TRUE(wide.indexes.back().primary);
}

INSTANTIATE_TEST_SUITE_P(Versions, BaseTestFile, ::testing::ValuesIn(testing::baseTestFiles()),
                         [](const auto& info) { return info.param.folder; });

TEST(TableDefinition, GuidAutoNumberAndDecimalColumns) {
    KAVERO_REQUIRE_TESTDATA();
    Database ace(testing::testdataPath("ace/testV2010.accdb"));
    const TableDefinition t = ace.table("Table4");
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(t.columns[1].type, kTypeGuid);
    EXPECT_EQ(t.columns[1].defaultValue, std::optional<std::string>("GenGUID()"));
    EXPECT_EQ(t.columns[1].daoSize(ace.format()), 16);

    Database fixed(testing::testdataPath("jet4/fixedNumericTestV2003.mdb"));
    const TableDefinition numeric = fixed.table("test");
    const Column* c = numeric.findColumn("col2");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->type, kTypeDecimal);
    EXPECT_EQ(c->precision, 18);
    EXPECT_EQ(c->scale, 0);
}

TEST(TableDefinition, DeletedColumnsLeaveGapsInNumbersAndOffsets) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/delColTestV2003.mdb"));
    const TableDefinition t = db.table("Table1");
    EXPECT_EQ(t.maxColumns, 6);
    ASSERT_EQ(t.columns.size(), 4u);
    const std::uint16_t numbers[] = {0, 2, 3, 5};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(t.columns[i].number, numbers[i]) << t.columns[i].name;
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

// Relationships from both sides' entries, in Jet 4 and in Jet 3's shorter entries: the foreign
// side's columns, the referred key through the other side's entry, the cascade flags. The
// primary side's own entries (".rC") name no relationship of their own.
TEST(TableDefinition, RelationshipsOfBothFormats) {
    KAVERO_REQUIRE_TESTDATA();
    for (const char* file : {"jet4/indexTestV2003.mdb", "jet3/indexTestV1997.mdb"}) {
        Database db(testing::testdataPath(file));
        const std::vector<Relationship> found = db.relationships();
        ASSERT_EQ(found.size(), 2u) << file;
        const auto expect = [&](const Relationship& r, const char* name, const char* primary, const char* foreign,
                                bool updates, bool deletes) {
            EXPECT_EQ(r.name, name) << file;
            EXPECT_EQ(r.primaryTable, primary) << file;
            EXPECT_EQ(r.primaryColumns, std::vector<std::string>{"id"}) << file;
            EXPECT_EQ(r.foreignTable, "Table1") << file;
            EXPECT_EQ(r.foreignColumns, std::vector<std::string>{foreign}) << file;
            EXPECT_EQ(r.cascadeUpdates, updates) << file;
            EXPECT_EQ(r.cascadeDeletes, deletes) << file;
        };
        expect(found[0], "Table2Table1", "Table2", "otherfk1", false, true);
        expect(found[1], "Table3Table1", "Table3", "otherfk2", true, false);
    }
}

} // namespace
} // namespace kavero::jet
