// The main window's load and unload over a real settings store in memory and a real
// provider.txt: defaults of a first run, the order of the steps, what a damaged store or a
// vanished data source leaves, and Quit against Exit program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "app/product_info.h"
#include "shell/settings.h"
#include "support/in_memory_settings.h"
#include "support/scripted_user_interface.h"
#include "recording_windows.h"

using namespace kavero;
using kavero::testing::InMemorySettings;
using kavero::testing::RecordingWindows;
using kavero::testing::ScriptedUserInterface;

namespace {

class MainWindowLoad : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kavero-app-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        // The data source list shows the test's own ODBC configuration, not the machine's.
        setenv("ODBCSYSINI", folder.c_str(), 1);
        setenv("ODBCINI", (folder / "user-odbc.ini").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void writeProviders(const std::string& text) {
        std::ofstream(folder / "provider.txt", std::ios::binary) << text;
    }
    app::MainWindowContext context() { return {ui, store, folder, std::nullopt}; }

    std::filesystem::path folder;
    InMemorySettings store;
    ScriptedUserInterface ui;
    shell::frmMain form;
};

} // namespace

TEST_F(MainWindowLoad, FirstRunShowsEveryDefault) {
    auto ctx = context();
    form.eTabControl.tab = shell::kTabScriptOutput; // a page left in front must not survive
    app::loadMainWindow(form, ctx);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.caption, "KAVERO Version 1.1");
    EXPECT_EQ(form.left, 500.0f);
    EXPECT_EQ(form.top, 500.0f);
    EXPECT_TRUE(form.ECreateKey.value);
    EXPECT_TRUE(form.ManuelUpload.value);
    EXPECT_TRUE(form.eSourceDest.enabled);
    EXPECT_FALSE(form.eProvideName.enabled);
    EXPECT_EQ(form.eSQLTerminator.text, ";");
    EXPECT_EQ(form.eSQLTerminator.items, (std::vector<std::string>{";", ",", "CR", "CrLf"}));
    EXPECT_EQ(form.cboDSNList.items, std::vector<std::string>{"(None)"});
    EXPECT_EQ(form.cboDSNList.listIndex, 0);
    EXPECT_EQ(form.eProvideName.items, std::vector<std::string>{"(None)"});
    EXPECT_EQ(form.eProvideName.text, "(None)");
    EXPECT_EQ(form.eFieldListGrid.rows(), 0);
    EXPECT_EQ(form.ekeyListGrid.rows(), 0);
    EXPECT_TRUE(form.eTables.items.empty());
    EXPECT_EQ(form.eFilename.text, "");
    EXPECT_EQ(form.eTabControl.tab, shell::kTabSelectDatabase);

    // The store is read in load order: 20 keys, then the data source, then the provider.
    std::vector<std::string> expected;
    for (const auto& key : shell::kSettingKeys) expected.emplace_back(key.key);
    EXPECT_EQ(store.readOrder, expected);
}

TEST_F(MainWindowLoad, SavedStateComesBackAndDirectToIspSwitchesTheRows) {
    writeProviders("Host A,a\r\nHost B,b\r\n");
    store.values = {{"MainLeft", "1500"},         {"MainTop", "-45.5"},       {"eMySqlusername", "anna"},
                    {"eCreateNoKeys", "True"},     {"ECreateKey", "False"},    {"eCreateIndex", "False"},
                    {"eSQLTerminator", "GO"},      {"ManuelUpload", "False"},  {"eDirectToISP", "True"},
                    {"eProvideName", "Host B"},    {"cboDSNList", "(None)"}};
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.left, 1500.0f);
    EXPECT_EQ(form.top, -45.5f);
    EXPECT_EQ(form.eMySqlusername.text, "anna");
    EXPECT_TRUE(form.eCreateNoKeys.value);
    EXPECT_FALSE(form.ECreateKey.value);
    EXPECT_EQ(form.eSQLTerminator.text, "GO");
    EXPECT_TRUE(form.eDirectToISP.value);
    EXPECT_FALSE(form.eSourceDest.enabled);
    EXPECT_TRUE(form.eProvideName.enabled);
    EXPECT_EQ(form.eProvideName.listIndex, 2);
    EXPECT_EQ(form.eProvideName.text, "Host B");
}

TEST_F(MainWindowLoad, VanishedDataSourceAndProviderFallBackToNoneAndAreSavedSo) {
    writeProviders("Host A,a\n");
    store.values = {{"cboDSNList", "shop_dsn"}, {"eProvideName", "host a"}};
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    EXPECT_EQ(form.cboDSNList.listIndex, 0);
    EXPECT_EQ(form.eProvideName.listIndex, 0);
    app::unloadMainWindow(form, ctx);
    EXPECT_EQ(store.values["cboDSNList"], "(None)");
    EXPECT_EQ(store.values["eProvideName"], "(None)");
}

TEST_F(MainWindowLoad, ProblemsAreReportedAndTheLoadGoesOn) {
    writeProviders("Host A,a\nHost B");
    store.values = {{"MainTop", "top"}, {"eFilename", ""}, {"eISPAlsoCopyData", "1"}};
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Type mismatch: \"top\" is no window position (setting MainTop) 13");
    EXPECT_EQ(ui.messages[0].title, "On load splash");
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
    EXPECT_EQ(ui.messages[1].text, "Input past end of file: record 2 (\"Host B\") has no second field in " +
                                       (folder / "provider.txt").string() + " 62");
    EXPECT_EQ(form.top, 500.0f);
    EXPECT_TRUE(form.eISPAlsoCopyData.checked());
    EXPECT_EQ(form.eProvideName.items, (std::vector<std::string>{"(None)", "Host A"}));
    EXPECT_EQ(form.eTabControl.tab, shell::kTabSelectDatabase);
}

TEST_F(MainWindowLoad, DataSourcesFollowNoneAndTheSavedOneIsSelected) {
    std::ofstream(folder / "user-odbc.ini") << "[shop_dsn]\nDriver=MariaDB\n[Alpha Sales]\nDriver=MariaDB\n";
    std::ofstream(folder / "odbc.ini") << "[system_dsn]\nDriver=MariaDB\n";
    store.values = {{"cboDSNList", "Alpha Sales"}};
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    EXPECT_EQ(form.cboDSNList.items, (std::vector<std::string>{"(None)", "shop_dsn", "Alpha Sales", "system_dsn"}));
    EXPECT_EQ(form.cboDSNList.listIndex, 2);
    EXPECT_EQ(form.cboDSNList.text, "Alpha Sales");
}

TEST_F(MainWindowLoad, ProviderListOf150RecordsHoldsNoneAndTheFirst100) {
    std::string text;
    for (int i = 1; i <= 150; ++i) text += "\"Provider " + std::to_string(i) + ", Ltd\",x\n";
    writeProviders(text);
    store.values["eProvideName"] = "Provider 100, Ltd";
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    ASSERT_EQ(form.eProvideName.items.size(), 101u);
    EXPECT_EQ(form.eProvideName.items[1], "Provider 1, Ltd");
    EXPECT_EQ(form.eProvideName.items[100], "Provider 100, Ltd");
    EXPECT_EQ(form.eProvideName.listIndex, 100);
}

TEST_F(MainWindowLoad, DatabaseArgumentReplacesTheSavedPath) {
    store.values["eFilename"] = "/old/place.mdb";
    auto ctx = context();
    ctx.databaseArgument = "relative/shop.mdb";
    app::loadMainWindow(form, ctx);
    EXPECT_EQ(form.eFilename.text, (std::filesystem::current_path() / "relative/shop.mdb").string());
}

TEST_F(MainWindowLoad, UnloadSavesAllKeysAndReportsRefusedOnes) {
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    form.eMySqlpassword.text = "clear text";
    store.refusedKeys = {"eMySqlpassword", "eSourceDest"};
    app::unloadMainWindow(form, ctx);
    EXPECT_EQ(store.writeOrder, std::vector<std::string>(shell::kSaveOrder.begin(), shell::kSaveOrder.end()));
    EXPECT_EQ(store.values.size(), 20u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "These settings could not be saved: eMySqlpassword, eSourceDest");
    EXPECT_FALSE(form.loaded);
}

TEST(QuitAndExit, QuitUnloadsEveryWindowEvenWhenOneFails) {
    RecordingWindows windows;
    windows.loaded = {"frmMain", "frmShowProgress", "frmAbout"};
    windows.failingUnloads = {"frmShowProgress"};
    app::quit(windows);
    // The failing window is tried again, a bounded number of times, the others go at once.
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"unload frmMain", "unload frmShowProgress", "unload frmAbout",
                                        "unload frmShowProgress", "unload frmShowProgress"}));
    EXPECT_EQ(windows.loaded, std::vector<std::string>{"frmShowProgress"});
}

TEST(QuitAndExit, ExitProgramUnloadsTheMainWindowOnly) {
    RecordingWindows windows;
    windows.loaded = {"frmMain", "frmShowProgress"};
    int saves = 0;
    windows.onUnloadMain = [&] { ++saves; };
    app::exitProgram(windows);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(windows.loaded, std::vector<std::string>{"frmShowProgress"});
}

TEST(QuitAndExit, PublishToClickAppliesTheRowRule) {
    shell::frmMain form;
    form.setOption(form.eDirectToISP);
    app::publishToClick(form);
    EXPECT_TRUE(form.eProvideName.enabled);
    EXPECT_FALSE(form.eSourceDest.enabled);
}

TEST_F(MainWindowLoad, SavedDatabaseOpensLastAndTabZeroComesToTheFront) {
    const std::filesystem::path database = std::filesystem::path(KAVERO_TESTDATA_DIR) / "jet4" / "accessLike.mdb";
    if (!std::filesystem::exists(database)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    store.values["eFilename"] = database.string();
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    EXPECT_EQ(form.eTables.items, (std::vector<std::string>{"t_like1", "t_like2"}));
    EXPECT_EQ(form.eLabelTabelname.caption, "accessLike.mdb");
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(form.eTabControl.tab, shell::kTabSelectDatabase);

    // The table pick and "To file" as the window calls them.
    form.eTables.listIndex = 0;
    app::tablesClick(form, ctx);
    EXPECT_GT(form.eFieldListGrid.rows(), 1);
    app::convertLocalClick(form, ctx);
    EXPECT_EQ(form.eTabControl.tab, shell::kTabScriptOutput);
    EXPECT_NE(form.eScriptOutPut.text.find("CREATE TABLE"), std::string::npos);
}

TEST_F(MainWindowLoad, DamagedDatabaseIsReportedAndTheLoadGoesOn) {
    const std::filesystem::path bad = folder / "not-access.mdb";
    std::ofstream(bad, std::ios::binary) << "This is a text file, not a database.";
    store.values["eFilename"] = bad.string();
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error on opening database, on eFilename");
    EXPECT_TRUE(form.eTables.items.empty());
    EXPECT_EQ(form.eTabControl.tab, shell::kTabSelectDatabase);
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
}
