// The engine operations the commands build on: walking a record set, counting, and the code
// page for Jet 3 text taken from an argument or the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

std::vector<std::vector<Value>> recordsOf(AccessDatabase& db, const std::string& table, jet::PageShare share = {}) {
    std::vector<std::vector<Value>> records;
    for (Recordset set = db.openRecordset(table, share); !set.eof(); set.moveNext()) records.push_back(set.values());
    return records;
}

// The text of the error a reading from the start ends in, or "" when it reads to the end.
std::string sequentialError(const std::string& path, const std::string& table) {
    try {
        AccessDatabase db(path, {});
        recordsOf(db, table);
    } catch (const EngineError& e) {
        return e.description();
    }
    return "";
}

TEST_F(Engine, ReadingInSharesGivesEveryRecordOnceAndStopsWhereAReadingFromTheStartStops) {
    for (const testing::RealFile& file : testing::readableFiles()) {
        AccessDatabase db(file.path(), {});
        for (const std::string& table : db.tableDefNames()) {
            const auto whole = recordsOf(db, table);
            for (const std::size_t shares : {2u, 3u, 7u}) {
                std::vector<std::vector<Value>> joined;
                for (std::size_t index = 0; index < shares; ++index) {
                    const auto part = recordsOf(db, table, {index, shares});
                    joined.insert(joined.end(), part.begin(), part.end());
                }
                EXPECT_EQ(joined, whole) << file.name << " " << table << " in " << shares << " shares";
                EXPECT_EQ(readEveryRecord(file.path(), {}, table, shares), static_cast<std::int64_t>(whole.size()))
                    << file.name << " " << table;
            }
        }
    }

    // compIndexTestV1997 Table1: 512 records on data pages 31 to 35; one copy with page 32
    // blanked (in the first of two shares), one with page 35 given to another table (in the
    // second), one with both.
    constexpr std::size_t kPage = 2048;
    const auto original = testing::readImage(testing::testdataPath("jet3/compIndexTestV1997.mdb"));
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "kavero_shares_damaged.mdb";
    for (const bool blank32 : {true, false}) {
        for (const bool foreign35 : {true, false}) {
            if (!blank32 && !foreign35) continue;
            auto image = original;
            if (blank32) std::fill_n(image.begin() + 32 * kPage, kPage, std::byte{0});
            if (foreign35) image[35 * kPage + 4] = std::byte{2};
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
            out.close();
            const std::string expected = sequentialError(path.string(), "Table1");
            ASSERT_NE(expected.find(blank32 ? "page 32" : "page 35"), std::string::npos) << expected;
            for (const std::size_t shares : {1u, 2u, 3u, 4u}) {
                try {
                    readEveryRecord(path.string(), {}, "Table1", shares);
                    ADD_FAILURE() << "no error in " << shares << " shares";
                } catch (const EngineError& e) {
                    EXPECT_EQ(e.description(), expected) << shares << " shares";
                }
            }
        }
    }
    std::filesystem::remove(path);
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
