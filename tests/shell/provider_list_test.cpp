// The provider list file: fields as a stream, quotes, blanks, the record limit, a missing
// file, and a file that ends inside a record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/provider_list.h"
#include "support/in_memory_settings.h"

using namespace kavero::shell;
using kavero::testing::InMemorySettings;

namespace {

ProviderList parse(const std::string& text, std::size_t max = kMaxProviders) {
    std::istringstream in(text);
    return readProviderList(in, max);
}

std::vector<std::string> names(const ProviderList& list) {
    std::vector<std::string> result;
    for (const ProviderRecord& record : list.records) result.push_back(record.name);
    return result;
}

class ProviderFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kavero-provider-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void write(const std::string& text) { std::ofstream(folder / kProviderFileName, std::ios::binary) << text; }

    std::filesystem::path folder;
};

} // namespace

TEST(ProviderList, ReadsFieldsAsAStreamTwoAtATime) {
    const ProviderList list = parse("Host A,http://a\r\n  Host B  ,  b  \r\nHost C\r\nsecond of C\r\nHost D,d");
    EXPECT_FALSE(list.problem);
    EXPECT_EQ(names(list), (std::vector<std::string>{"Host A", "Host B", "Host C", "Host D"}));
    EXPECT_EQ(list.records[1].detail, "b");
    EXPECT_EQ(list.records[2].detail, "second of C");
}

TEST(ProviderList, QuotesKeepCommasAndBlanksAndAreDropped) {
    const ProviderList list = parse("\"Smith, Jones & Co\",\"x,y\"\n\"  padded \" , plain\n\"\",empty name\n");
    EXPECT_FALSE(list.problem);
    EXPECT_EQ(names(list), (std::vector<std::string>{"Smith, Jones & Co", "  padded ", ""}));
    EXPECT_EQ(list.records[0].detail, "x,y");
    EXPECT_EQ(list.records[1].detail, "plain");
}

TEST(ProviderList, EmptyFieldsAndLineEndsOfEveryKind) {
    const ProviderList list = parse("\xEF\xBB\xBF" "A,\rB,,\nC\n\n\nc2,x\n\n");
    EXPECT_FALSE(list.problem);
    // "B,," is B with an empty second field, then an empty first field whose partner is C.
    EXPECT_EQ(names(list), (std::vector<std::string>{"A", "B", "", "c2"}));
    EXPECT_EQ(list.records[0].detail, "");
    EXPECT_EQ(list.records[2].detail, "C");
}

TEST(ProviderList, StopsAfterTheRecordLimit) {
    std::string text;
    for (int i = 1; i <= 150; ++i) text += "Provider " + std::to_string(i) + ",http://p" + std::to_string(i) + "\r\n";
    text += "broken"; // beyond the limit: never read, so never reported
    const ProviderList list = parse(text);
    ASSERT_EQ(list.records.size(), 100u);
    EXPECT_EQ(list.records.front().name, "Provider 1");
    EXPECT_EQ(list.records.back().name, "Provider 100");
    EXPECT_FALSE(list.problem);
}

TEST(ProviderList, LastRecordWithoutSecondFieldIsReported) {
    const ProviderList list = parse("A,1\nB,2\nLonely\n");
    EXPECT_EQ(names(list), (std::vector<std::string>{"A", "B"}));
    ASSERT_TRUE(list.problem);
    EXPECT_EQ(list.problem->number(), SettingsError::kInputPastEndOfFile);
    EXPECT_STREQ(list.problem->what(), "Input past end of file: record 3 (\"Lonely\") has no second field");
}

TEST_F(ProviderFolder, MissingFileLeavesOnlyNone) {
    InMemorySettings store;
    store.values["eProvideName"] = "Host A";
    frmMain form;
    int problems = 0;
    fillProviderList(form, store, folder, [&](const SettingsError&) { ++problems; });
    EXPECT_EQ(problems, 0);
    EXPECT_EQ(form.eProvideName.items, std::vector<std::string>{"(None)"});
    EXPECT_EQ(form.eProvideName.listIndex, 0);
    EXPECT_EQ(form.eProvideName.text, "(None)");
}

TEST_F(ProviderFolder, FillSelectsTheSavedProviderAndReportsABrokenEnd) {
    write("\"Host, A\",a\nHost B,b\nHost C");
    InMemorySettings store;
    store.values["eProvideName"] = "Host, A";
    frmMain form;
    std::vector<std::string> problems;
    fillProviderList(form, store, folder, [&](const SettingsError& e) { problems.push_back(e.what()); });
    EXPECT_EQ(form.eProvideName.items, (std::vector<std::string>{"(None)", "Host, A", "Host B"}));
    EXPECT_EQ(form.eProvideName.listIndex, 1);
    EXPECT_EQ(form.eProvideName.text, "Host, A");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Input past end of file: record 3 (\"Host C\") has no second field in " +
                               (folder / "provider.txt").string());
}
