// Opening real files: format detection per version, header fields, refused files, and the
// catalog's name look-up. Table lists and records are compared with other readers by the
// oracle test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "jet/database.h"
#include "jet/testdata_files.h"

namespace kavero::jet {
namespace {

using testing::RealFile;

class EveryRealFile : public ::testing::TestWithParam<RealFile> {};

TEST_P(EveryRealFile, OpensWithTheVersionOfItsFolder) {
    KAVERO_REQUIRE_TESTDATA();
    const RealFile& file = GetParam();
    Database db(file.path());
    EXPECT_EQ(db.format().version, file.version);
    EXPECT_EQ(db.format().pageSize, file.version == Version::Jet3 ? 2048u : 4096u);
    EXPECT_EQ(db.channel().pageCount() * db.format().pageSize, std::filesystem::file_size(file.path()));
}

INSTANTIATE_TEST_SUITE_P(RealFiles, EveryRealFile, ::testing::ValuesIn(testing::readableFiles()), [](const auto& info) {
    std::string name = info.param.folder + "_" + info.param.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
});

TEST(Header, PasswordOnlyJet4FileShowsItsPassword) {
    KAVERO_REQUIRE_TESTDATA();
    EXPECT_EQ(Database(testing::testdataPath("other/V2003_with-password.mdb")).header().password, "password");
    EXPECT_EQ(Database(testing::testdataPath("jet4/testV2003.mdb")).header().password, "");
}

TEST(Header, RefusedFilesGiveTheirNumberAndNameThePath) {
    KAVERO_REQUIRE_TESTDATA();
    const struct {
        std::string path;
        int number;
        std::vector<std::string> named; // in the description besides the path
    } cases[] = {
        {testing::testdataPath("other/office-agile-4.2.accdb"), 3031, {"encrypted", "4.2"}},
        {"/nonexistent/folder/none.mdb", 3024, {}},
        {"/tmp", 3051, {}},
        {testing::testdataPath("LICENSE-jackcess.txt"), 3343, {}},
        {testing::testdataPath("LICENSE-mdb-reader.txt"), 3343, {}},
    };
    for (const auto& c : cases) {
        try {
            Database db(c.path);
            ADD_FAILURE() << c.path << " opened";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.number(), c.number) << c.path;
            for (const std::string& part : c.named) EXPECT_NE(e.description().find(part), std::string::npos) << part;
            EXPECT_NE(e.description().find(c.path), std::string::npos) << e.description();
        }
    }
    EXPECT_THROW(Database("empty", std::vector<std::byte>{}), FormatError);
}

TEST(Catalog, UnknownTableIs3078AndCaseIsIgnored) {
    KAVERO_REQUIRE_TESTDATA();
    Database db(testing::testdataPath("jet4/testV2003.mdb"));
    try {
        db.table("NoSuchTable");
        FAIL();
    } catch (const FormatError& e) {
        EXPECT_EQ(e.number(), 3078);
        EXPECT_NE(e.description().find("NoSuchTable"), std::string::npos);
    }
    EXPECT_EQ(db.table("table1").name, "Table1");
}

} // namespace
} // namespace kavero::jet
