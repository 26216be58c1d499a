// The engine operations: table list, definitions, record sets and counts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "jet/testdata_files.h"
#include "source/engine.h"

namespace kavero::source {
namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override { KAVERO_REQUIRE_TESTDATA(); }
};

TEST_F(Engine, RecordsetWalksRecordsInStoredOrder) {
    AccessDatabase db(testing::testdataPath("jet4/overflowTestV2003.mdb"), {});
    Recordset records = db.openRecordset("Table1");
    ASSERT_EQ(records.fields().size(), 9u);
    std::vector<std::string> data1;
    for (; !records.eof(); records.moveNext()) {
        const Value& v = records.value("data1");
        data1.push_back(jet::isNull(v) ? "<null>" : std::get<jet::Text>(v).utf8);
    }
    EXPECT_EQ(data1, (std::vector<std::string>{"row1col1", "row2col1", "<null>", "row4col1", "<null>", "<null>",
                                               "row7col1"}));
    records.moveNext(); // past the end stays at the end
    EXPECT_TRUE(records.eof());
    try {
        records.value("nope");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), 3265);
    }
}

TEST_F(Engine, EmptyTableIsAtEofAtOnce) {
    AccessDatabase db(testing::testdataPath("jet4/testV2003.mdb"), {});
    Recordset records = db.openRecordset("Table2");
    EXPECT_TRUE(records.eof());
    EXPECT_EQ(db.recordCount("Table2"), 0u);
}

TEST_F(Engine, CountsRecordsAndNonNullValues) {
    AccessDatabase db(testing::testdataPath("jet3/overflowTestV1997.mdb"), {});
    EXPECT_EQ(db.recordCount("Table1"), 7u);
    EXPECT_EQ(db.countValues("Table1", "data1"), 4u);
    EXPECT_EQ(db.countValues("Table1", "data3"), 5u);
    EXPECT_THROW(db.countValues("Table1", "nope"), EngineError);
}

TEST_F(Engine, TableDefinitionFieldsAndIndexes) {
    AccessDatabase db(testing::testdataPath("jet4/testV2003.mdb"), {});
    const TableDef def = db.tableDef("Table3");
    ASSERT_EQ(def.fields.size(), 2u);
    EXPECT_EQ(def.fields[0].attributes, 49);
    EXPECT_EQ(def.fields[0].type, 4);
    EXPECT_EQ(def.fields[0].size, 4);
    ASSERT_EQ(def.indexes.size(), 2u);
    EXPECT_EQ(def.indexes[1].fields, "+a");
    EXPECT_TRUE(def.indexes[1].primary);
    std::size_t system = 0;
    for (const TableEntry& entry : db.tableDefs()) system += entry.system ? 1 : 0;
    EXPECT_GT(system, 0u);
    EXPECT_EQ(db.tableDefNames().size(), db.tableDefs().size());
}

TEST_F(Engine, CodePageIsAnArgumentAndChecked) {
    AccessDatabase db(testing::testdataPath("jet3/charsetGBK.mdb"), readOptionsForCodePage(936));
    Recordset records = db.openRecordset("table1");
    EXPECT_EQ(std::get<jet::Text>(records.value("field1")).utf8, "GBK编码");
    for (int bad : {0, -5, 99999}) EXPECT_THROW(readOptionsForCodePage(bad), EngineError) << bad;
    ::setenv(kCodePageVariable, "cp936", 1);
    EXPECT_THROW(readOptionsFromEnvironment(), EngineError);
    ::unsetenv(kCodePageVariable);
    EXPECT_EQ(readOptionsFromEnvironment().jet3CodePage, 1252);
}

} // namespace
} // namespace kavero::source
