// The provider list file: fields as a stream, quotes, blanks, line ends, the record limit, a
// file that ends inside a record, and which of the places it may be in is read.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "shell/provider_list.h"
#include "support/in_memory_settings.h"

using namespace kavero::shell;
using kavero::testing::InMemorySettings;

namespace {

ProviderList parse(const std::string& text) {
    std::istringstream in(text);
    return readProviderList(in);
}

} // namespace

TEST(ProviderList, ReadsFieldsAsAStreamTwoAtATime) {
    const struct {
        const char* text;
        std::vector<std::pair<std::string, std::string>> records;
    } cases[] = {
        // A line with one field takes its partner from the next line.
        {"Host A,http://a\r\n  Host B  ,  b  \r\nHost C\r\nsecond of C\r\nHost D,d",
         {{"Host A", "http://a"}, {"Host B", "b"}, {"Host C", "second of C"}, {"Host D", "d"}}},
        // Quotes keep commas and blanks and are dropped.
        {"\"Smith, Jones & Co\",\"x,y\"\n\"  padded \" , plain\n\"\",empty name\n",
         {{"Smith, Jones & Co", "x,y"}, {"  padded ", "plain"}, {"", "empty name"}}},
        // "B,," is B with an empty second field, then an empty first field whose partner is C.
        {"\xEF\xBB\xBF"
         "A,\rB,,\nC\n\n\nc2,x\n\n",
         {{"A", ""}, {"B", ""}, {"", "C"}, {"c2", "x"}}},
    };
    for (const auto& c : cases) {
        const ProviderList list = parse(c.text);
        EXPECT_FALSE(list.problem) << c.text;
        std::vector<std::pair<std::string, std::string>> records;
        for (const ProviderRecord& record : list.records) records.emplace_back(record.name, record.detail);
        EXPECT_EQ(records, c.records) << c.text;
    }
}

TEST(ProviderList, FillTakesNoneAndTheFirst100Names) {
    const auto folder = std::filesystem::temp_directory_path() / ("kavero-provider-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::string text;
    for (int i = 1; i <= 150; ++i) text += "Provider " + std::to_string(i) + ",http://p" + std::to_string(i) + "\r\n";
    text += "broken"; // beyond the limit: never read, so never reported
    std::ofstream(folder / kProviderFileName, std::ios::binary) << text;
    InMemorySettings store;
    store.values["eProvideName"] = "Provider 100";
    frmMain form;
    int problems = 0;
    fillProviderList(form, store, folder / kProviderFileName, [&](const SettingsError&) { ++problems; });
    std::filesystem::remove_all(folder);
    ASSERT_EQ(form.eProvideName.items.size(), 101u);
    EXPECT_EQ(form.eProvideName.items[0], "(None)");
    EXPECT_EQ(form.eProvideName.items[1], "Provider 1");
    EXPECT_EQ(form.eProvideName.listIndex, 100);
    EXPECT_EQ(problems, 0);
}

TEST(ProviderList, LastRecordWithoutSecondFieldIsReported) {
    const ProviderList list = parse("A,1\nB,2\nLonely\n");
    EXPECT_EQ(list.records.size(), 2u);
    ASSERT_TRUE(list.problem);
    EXPECT_EQ(list.problem->number(), SettingsError::kInputPastEndOfFile);
    EXPECT_STREQ(list.problem->what(), "Input past end of file: record 3 (\"Lonely\") has no second field");
}

TEST(ProviderList, FirstFoundOfProgramFolderUserConfigurationAndDataFolderIsRead) {
    const auto root = std::filesystem::temp_directory_path() / ("kavero-lookup-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    // An installed program: bin and share/kavero under one prefix, neither of them the user's.
    const auto program = root / "prefix" / "bin";
    const auto data = root / "prefix" / "share" / "kavero";
    const auto xdgConfig = root / "xdg";
    const auto home = root / "home";
    const auto write = [](const std::filesystem::path& folder, const std::string& name) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder / kProviderFileName, std::ios::binary) << name << ",http://" << name << "\n";
    };
    const auto saved = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const std::optional<std::string> oldHome = saved("HOME"), oldConfig = saved("XDG_CONFIG_HOME");
    const auto names = [&] {
        InMemorySettings store;
        frmMain form;
        fillProviderList(form, store, findProviderFile(program), {});
        return form.eProvideName.items;
    };
    using Names = std::vector<std::string>;
    std::filesystem::create_directories(program);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", xdgConfig.c_str(), 1);

    EXPECT_EQ(findProviderFile(program), program / kProviderFileName); // none anywhere
    EXPECT_EQ(names(), (Names{"(None)"}));
    write(data, "Data");
    EXPECT_EQ(names(), (Names{"(None)", "Data"}));
    write(home / ".config" / "KAVERO", "Home");
    EXPECT_EQ(names(), (Names{"(None)", "Data"})) << "~/.config is not looked at when XDG_CONFIG_HOME is set";
    write(xdgConfig / "KAVERO", "Xdg");
    EXPECT_EQ(names(), (Names{"(None)", "Xdg"}));
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(names(), (Names{"(None)", "Home"}));
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(names(), (Names{"(None)", "Home"})) << "a relative XDG_CONFIG_HOME is ignored";
    write(program, "Beside");
    EXPECT_EQ(names(), (Names{"(None)", "Beside"}));

    oldHome ? setenv("HOME", oldHome->c_str(), 1) : unsetenv("HOME");
    oldConfig ? setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(root);
}
