// The engine operations the commands build on: walking a record set, counting, and the code
// page for Jet 3 text taken from an argument or the environment.
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

TEST_F(Engine, RecordsetWalksRecordsInStoredOrderAndCounts) {
    AccessDatabase db(testing::testdataPath("jet4/overflowTestV2003.mdb"), {});
    Recordset records = db.openRecordset("Table1");
    std::vector<std::string> data1;
    for (; !records.eof(); records.moveNext()) {
        const Value& v = records.value("data1");
        data1.push_back(jet::isNull(v) ? "<null>" : std::get<jet::Text>(v).utf8);
    }
    // Rows 3 and 5 grew onto another page; they still read in their stored place. (The other
    // reader the oracle test uses reads them last, so only this check pins their order.)
    EXPECT_EQ(data1, (std::vector<std::string>{"row1col1", "row2col1", "<null>", "row4col1", "<null>", "<null>",
                                               "row7col1"}));
    EXPECT_EQ(db.recordCount("Table1"), 7u);
    EXPECT_EQ(db.countValues("Table1", "data1"), 4u);
    records.moveNext(); // past the end stays at the end
    EXPECT_TRUE(records.eof());
    try {
        records.value("nope");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), 3265);
    }
    EXPECT_THROW(db.countValues("Table1", "nope"), EngineError);

    AccessDatabase base(testing::testdataPath("jet4/testV2003.mdb"), {});
    EXPECT_TRUE(base.openRecordset("Table2").eof());
    EXPECT_EQ(base.recordCount("Table2"), 0u);
}

TEST_F(Engine, CodePageIsAnArgumentOrTheEnvironmentAndChecked) {
    for (int bad : {0, -5, 99999}) EXPECT_THROW(readOptionsForCodePage(bad), EngineError) << bad;
    ::setenv(kCodePageVariable, "936", 1);
    AccessDatabase db(testing::testdataPath("jet3/charsetGBK.mdb"), readOptionsFromEnvironment());
    EXPECT_EQ(std::get<jet::Text>(db.openRecordset("table1").value("field1")).utf8, "GBK编码");
    ::setenv(kCodePageVariable, "cp936", 1);
    EXPECT_THROW(readOptionsFromEnvironment(), EngineError);
    ::unsetenv(kCodePageVariable);
    EXPECT_EQ(readOptionsFromEnvironment().jet3CodePage, 1252);
}

} // namespace
} // namespace kavero::source
