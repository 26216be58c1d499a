// The main window's load and unload over a settings store in memory and a real provider.txt:
// defaults of a first run, the load order, what a damaged store or a vanished data source
// leaves, the last database opened again, and Quit against Exit program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "recording_windows.h"
#include "support/in_memory_settings.h"
#include "support/scripted_user_interface.h"

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

    void writeProviders(const std::string& text) { std::ofstream(folder / "provider.txt", std::ios::binary) << text; }
    app::MainWindowContext context() { return {ui, store, folder, std::nullopt}; }

    std::filesystem::path folder;
    InMemorySettings store;
    ScriptedUserInterface ui;
    shell::frmMain form;
};

// The keys in the order the store saw them, one blank between two.
std::string spaced(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) text += (text.empty() ? "" : " ") + key;
    return text;
}

} // namespace

TEST_F(MainWindowLoad, FirstRunShowsEveryDefaultAndReadsTheKeysInLoadOrder) {
    auto ctx = context();
    form.eTabControl.tab = shell::kTabScriptOutput; // a page left in front must not survive
    form.eFieldListGrid.addItem("old");
    app::loadMainWindow(form, ctx);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.caption, "KAVERO Version 1.1");
    EXPECT_EQ(form.left, 500.0f);
    EXPECT_EQ(form.top, 500.0f);
    for (const char* name : {"eFilename", "eMySqlDatabase", "eMySqlpassword", "eMySqlusername", "eMySqlDatabaseISP",
                             "eMySqlpasswordISP", "eMySqlserveraddressISP", "eMySqlusernameISP", "eSourceDest"}) {
        EXPECT_EQ(form.control<shell::TextBox>(name)->text, "") << name;
    }
    EXPECT_FALSE(form.eCopyDirectlyAlsoData.checked() || form.eISPAlsoCopyData.checked() ||
                 form.eAllowFieldNamesIwthSpace.checked());
    EXPECT_TRUE(form.ECreateKey.value && !form.eCreateIndex.value && !form.eCreateNoKeys.value);
    EXPECT_TRUE(form.ManuelUpload.value && !form.eDirectToISP.value);
    EXPECT_TRUE(form.eSourceDest.enabled);
    EXPECT_FALSE(form.eProvideName.enabled);
    EXPECT_EQ(form.eSQLTerminator.text, ";");
    EXPECT_EQ(form.eSQLTerminator.items, (std::vector<std::string>{";", ",", "CR", "CrLf"}));
    EXPECT_EQ(form.cboDSNList.items, std::vector<std::string>{"(None)"});
    EXPECT_EQ(form.cboDSNList.listIndex, 0);
    EXPECT_EQ(form.eProvideName.items, std::vector<std::string>{"(None)"});
    EXPECT_EQ(form.eProvideName.text, "(None)");
    EXPECT_EQ(form.eFieldListGrid.rows(), 0);
    EXPECT_TRUE(form.eTables.items.empty());
    EXPECT_EQ(form.eTabControl.tab, shell::kTabSelectDatabase);
    // The data source and the provider are read once their lists are filled; the controls
    // added since come after all of them.
    EXPECT_EQ(spaced(store.readOrder),
              "MainLeft MainTop eFilename eCopyDirectlyAlsoData eMySqlDatabase eMySqlpassword eMySqlusername "
              "eISPAlsoCopyData eMySqlDatabaseISP eMySqlpasswordISP eMySqlserveraddressISP eMySqlusernameISP "
              "eCreateNoKeys ECreateKey eCreateIndex eAllowFieldNamesIwthSpace eSQLTerminator ManuelUpload "
              "eDirectToISP eSourceDest cboDSNList eProvideName eLeavePasswordOut eRecordsPerPage ePhpPages eFastCopy "
              "eLossless eCheckCopy MainWidth MainHeight");
}

TEST_F(MainWindowLoad, SavedStateComesBackAndAVanishedDataSourceIsSavedAsNone) {
    writeProviders("Host A,a\r\nHost B,b\r\n");
    store.values = {{"MainLeft", "1500"},       {"MainTop", "-45.5"},      {"eMySqlusername", "anna"},
                    {"eCreateNoKeys", "True"},  {"ECreateKey", "False"},   {"eCreateIndex", "False"},
                    {"eSQLTerminator", "GO"},   {"ManuelUpload", "False"}, {"eDirectToISP", "True"},
                    {"eProvideName", "Host B"}, {"cboDSNList", "shop_dsn"}};
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.left, 1500.0f);
    EXPECT_EQ(form.top, -45.5f);
    EXPECT_EQ(form.eMySqlusername.text, "anna");
    EXPECT_TRUE(form.eCreateNoKeys.value);
    EXPECT_FALSE(form.ECreateKey.value);
    // Adding the terminator items leaves the restored text, which is none of them.
    EXPECT_EQ(form.eSQLTerminator.text, "GO");
    EXPECT_EQ(form.eSQLTerminator.listIndex, -1);
    EXPECT_TRUE(form.eDirectToISP.value);
    EXPECT_FALSE(form.eSourceDest.enabled);
    EXPECT_TRUE(form.eProvideName.enabled);
    EXPECT_EQ(form.eProvideName.listIndex, 2);
    EXPECT_EQ(form.eProvideName.text, "Host B");
    // A data source gone since the last run leaves "(None)", and that is saved.
    EXPECT_EQ(form.cboDSNList.listIndex, 0);

    form.setOption(form.ManuelUpload);
    app::publishToClick(form);
    EXPECT_TRUE(form.eSourceDest.enabled);
    EXPECT_FALSE(form.eProvideName.enabled);
    app::unloadMainWindow(form, ctx);
    EXPECT_EQ(store.values["cboDSNList"], "(None)");
}

TEST_F(MainWindowLoad, ProblemsAreReportedAndTheLoadGoesOn) {
    writeProviders("Host A,a\nHost B");
    const std::filesystem::path bad = folder / "not-access.mdb";
    std::ofstream(bad, std::ios::binary) << "This is a text file, not a database.";
    store.values = {{"MainTop", "top"}, {"eFilename", bad.string()}, {"eISPAlsoCopyData", "1"}};
    form.eTabControl.tab = shell::kTabScriptOutput;
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "Type mismatch: \"top\" is no window position (setting MainTop) 13");
    EXPECT_EQ(ui.messages[0].title, "On load splash");
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
    EXPECT_EQ(ui.messages[1].text, "Input past end of file: record 2 (\"Host B\") has no second field in " +
                                       (folder / "provider.txt").string() + " 62");
    EXPECT_EQ(ui.messages[2].title, "Error on opening database, on eFilename");
    EXPECT_EQ(form.top, 500.0f);
    EXPECT_TRUE(form.eISPAlsoCopyData.checked());
    EXPECT_EQ(form.eProvideName.items, (std::vector<std::string>{"(None)", "Host A"}));
    EXPECT_EQ(form.eTabControl.tab, shell::kTabSelectDatabase);
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
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

TEST_F(MainWindowLoad, UnloadReportsTheKeysTheStoreRefused) {
    auto ctx = context();
    app::loadMainWindow(form, ctx);
    store.refusedKeys = {"eMySqlpassword", "eSourceDest"};
    app::unloadMainWindow(form, ctx);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "These settings could not be saved: eMySqlpassword, eSourceDest");
    EXPECT_EQ(ui.messages[0].title, "Error on saving settings, on frmMain unload");
    EXPECT_FALSE(form.loaded);
}

TEST(QuitAndExit, QuitUnloadsEveryWindowEvenWhenOneFailsExitOnlyTheMainWindow) {
    RecordingWindows windows;
    windows.loaded = {"frmMain", "frmShowProgress", "frmAbout"};
    windows.failingUnloads = {"frmShowProgress"};
    app::quit(windows);
    // The failing window is tried again, a bounded number of times, the others go at once.
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"unload frmMain", "unload frmShowProgress", "unload frmAbout",
                                                       "unload frmShowProgress", "unload frmShowProgress"}));
    EXPECT_EQ(windows.loaded, std::vector<std::string>{"frmShowProgress"});

    RecordingWindows exit;
    exit.loaded = {"frmMain", "frmShowProgress"};
    app::exitProgram(exit);
    EXPECT_EQ(exit.calls, std::vector<std::string>{"unload frmMain"});
    EXPECT_EQ(exit.loaded, std::vector<std::string>{"frmShowProgress"});
}

TEST_F(MainWindowLoad, DatabaseArgumentReplacesTheSavedPathAndOpens) {
    const std::filesystem::path database = std::filesystem::path(KAVERO_TESTDATA_DIR) / "jet4" / "accessLike.mdb";
    if (!std::filesystem::exists(database)) GTEST_SKIP() << "no testdata at " << KAVERO_TESTDATA_DIR;
    store.values["eFilename"] = "/old/place.mdb";
    auto ctx = context();
    ctx.databaseArgument = std::filesystem::relative(database).string(); // made absolute
    app::loadMainWindow(form, ctx);
    EXPECT_EQ(form.eFilename.text, database.string());
    EXPECT_EQ(form.eTables.items, (std::vector<std::string>{"t_like1", "t_like2"}));
    EXPECT_EQ(form.eLabelTabelname.caption, "accessLike.mdb");
}
