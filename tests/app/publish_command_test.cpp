// The web-host "Go" and its browse button as the window runs them, through the scripted port,
// on the records fixture and real folders: the enabling rule, the output-file dialog, the
// deletion question, what is refused before anything is asked, a folder that cannot be
// written, and full runs with and without the records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

#include "app/main_window.h"
#include "source/open_database.h"
#include "source/table_design.h"
#include "support/in_memory_settings.h"
#include "support/scripted_user_interface.h"

using namespace kavero;
using kavero::testing::InMemorySettings;
using kavero::testing::ScriptedUserInterface;
using shell::MessageAnswer;
using shell::MessageIcon;
namespace fs = std::filesystem;

namespace {

using Names = std::set<std::string>;

constexpr const char* kPassword = "pw-s3cret";

class PublishCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kavero-publish-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        out = folder / "web";
        fs::create_directories(out);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The records fixture open with `table` picked, keys as keys, every web-host input filled
    // and the main page out/main.asp, as a user would leave the window before "Go".
    void ready(const std::string& table) {
        form.eFilename.text = (fs::path(KAVERO_FIXTURE_DIR) / "records.mdb").string();
        // The file also holds "Spaced Table", which lists only with blanks allowed.
        form.eAllowFieldNamesIwthSpace.value = shell::CheckState::Checked;
        ASSERT_TRUE(source::OpenAccessDatabase(form, ui, {}).ok());
        form.eAllowFieldNamesIwthSpace.value = shell::CheckState::Unchecked;
        const auto found = std::find(form.eTables.items.begin(), form.eTables.items.end(), table);
        ASSERT_NE(found, form.eTables.items.end()) << table;
        form.eTables.listIndex = static_cast<int>(found - form.eTables.items.begin());
        auto ctx = context();
        app::tablesClick(form, ctx);
        ASSERT_FALSE(form.design.name.empty());
        form.setOption(form.ECreateKey);
        form.setOption(form.ManuelUpload);
        form.eSourceDest.text = (out / "main.asp").string();
        form.eMySqlserveraddressISP.text = "db.example.com";
        form.eMySqlDatabaseISP.text = "shop";
        form.eMySqlusernameISP.text = "web";
        form.eMySqlpasswordISP.text = kPassword;
        ASSERT_TRUE(ui.messages.empty());
        ui.busyChanges.clear(); // the design load's own
    }

    app::MainWindowContext context() { return {ui, store, folder, std::nullopt}; }

    void publish() {
        auto ctx = context();
        app::publishToIspClick(form, ctx);
    }

    std::string question() const {
        return "Should I delete all previous KAVERO files (*.asp) in destination dir :\r\n" + out.string() +
               "/\r\n to avoid confusion when you upload the files.";
    }

    fs::path folder;
    fs::path out;
    InMemorySettings store;
    ScriptedUserInterface ui;
    shell::frmMain form;
};

Names namesIn(const fs::path& dir) {
    Names names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void touch(const fs::path& file) {
    std::ofstream(file, std::ios::binary) << "old";
}

} // namespace

TEST_F(PublishCommand, ChoosingAPublishOptionEnablesItsRowAndLeavesTheBrowseButtonOn) {
    form.setOption(form.eDirectToISP);
    app::publishToClick(form);
    EXPECT_FALSE(form.eSourceDest.enabled);
    EXPECT_TRUE(form.eProvideName.enabled);
    EXPECT_TRUE(form.eGetAspFile.enabled);
    form.setOption(form.ManuelUpload);
    app::publishToClick(form);
    EXPECT_TRUE(form.eSourceDest.enabled);
    EXPECT_FALSE(form.eProvideName.enabled);
    EXPECT_TRUE(form.eGetAspFile.enabled);
}

TEST_F(PublishCommand, BrowseStartsInTheOutputFolderOrTheStoredOneAndTakesOnlyAName) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", folder.c_str(), 1); // no final "/"
    auto ctx = context();
    const std::string chosen = (out / "pages.asp").string();
    ui.fileChoices = {std::nullopt, chosen, out.string() + "/*.asp", std::string(), std::nullopt, chosen};

    app::getAspFileClick(form, ctx); // nothing stored: the home folder; cancelled
    EXPECT_EQ(form.eSourceDest.text, "");
    store.values["eGetAspFile"] = "/srv/www/";
    app::getAspFileClick(form, ctx);
    EXPECT_EQ(form.eSourceDest.text, chosen);
    // From now on the output file's folder; neither a pattern, an empty name nor a cancel
    // changes the output file.
    app::getAspFileClick(form, ctx);
    app::getAspFileClick(form, ctx);
    app::getAspFileClick(form, ctx);
    EXPECT_EQ(form.eSourceDest.text, chosen);
    form.eSourceDest.text = "/srv/other/old.asp";
    app::getAspFileClick(form, ctx);
    EXPECT_EQ(form.eSourceDest.text, chosen);
    setenv("HOME", savedHome.c_str(), 1);

    const std::string presets[] = {folder.string() + "/*.asp", "/srv/www/*.asp",        out.string() + "/*.asp",
                                   out.string() + "/*.asp",    out.string() + "/*.asp", "/srv/other/*.asp"};
    ASSERT_EQ(ui.dialogs.size(), std::size(presets));
    for (std::size_t i = 0; i < ui.dialogs.size(); ++i) {
        const ScriptedUserInterface::Dialog& dialog = ui.dialogs[i];
        EXPECT_TRUE(dialog.save) << i;
        EXPECT_EQ(dialog.request.title, "Select where source files should be created so you can upload them later");
        EXPECT_EQ(dialog.request.filter, "*.asp");
        EXPECT_EQ(dialog.request.defaultExtension, "asp");
        EXPECT_EQ(dialog.request.presetName, presets[i]) << i;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PublishCommand, YesDeletesOnlyThePagesDirectlyInTheFolderThenShowsWhatIsMissing) {
    ASSERT_NO_FATAL_FAILURE(ready("Ten"));
    for (const char* page : {"old.asp", "OLD.ASP", "Frame.Asp"}) touch(out / page);
    for (const char* other : {"notes.txt", "page.aspx", "asp"}) touch(out / other);
    fs::create_directories(out / "sub");
    touch(out / "sub" / "inner.asp");
    fs::create_directories(out / "x.asp");
    touch(out / "x.asp" / "kept.asp");
    touch(folder / "outside.asp");
    fs::create_symlink(folder / "outside.asp", out / "link.asp");
    form.eMySqlserveraddressISP.text.clear();
    form.eMySqlusernameISP.text.clear();
    form.eTabControl.tab = shell::kTabSelectDatabase;

    ui.answers = {MessageAnswer::Yes};
    publish();
    EXPECT_EQ(namesIn(out), (Names{"notes.txt", "page.aspx", "asp", "sub", "x.asp"}));
    EXPECT_TRUE(fs::exists(out / "sub" / "inner.asp"));
    EXPECT_TRUE(fs::exists(out / "x.asp" / "kept.asp"));
    EXPECT_EQ(contents(folder / "outside.asp"), "old"); // the link went, not what it named

    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, question());
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::YesNo);
    EXPECT_EQ(ui.messages[1].text, "1. You have to enter a mySQL servername at your ISP\r\n"
                                   "2. You have to enter your username for your ISP's mySQL server\r\n"
                                   "\r\n"
                                   "Before you can convert your database\r\n");
    EXPECT_EQ(ui.messages[1].title, "KAVERO");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(form.eTabControl.tab, shell::kTabPublish);
    EXPECT_TRUE(ui.busyChanges.empty());
    EXPECT_EQ(form.eScriptOutPut.text, "");

    // No: every page stays.
    touch(out / "old.asp");
    ui.answers = {MessageAnswer::No};
    publish();
    EXPECT_EQ(namesIn(out), (Names{"old.asp", "notes.txt", "page.aspx", "asp", "sub", "x.asp"}));
    EXPECT_EQ(ui.messages.size(), 4u);
}

TEST_F(PublishCommand, WithoutAnOutputFileNothingIsAskedAndNothingDeleted) {
    ASSERT_NO_FATAL_FAILURE(ready("Ten"));
    touch(out / "old.asp");

    // Uploading by hand: the missing output file is in the list, and there is no folder to ask about.
    form.eSourceDest.text.clear();
    publish();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "1. You have to select a output file to publish the KAVERO scripts to\r\n"
                                   "\r\n"
                                   "Before you can convert your database\r\n");
    EXPECT_EQ(form.eTabControl.tab, shell::kTabPublish);

    // Each of these is refused with one message before any question, and nothing is written.
    struct Case {
        const char* what;
        std::function<void()> set;
        std::string named; // what the message must name
    };
    const Case cases[] = {
        {"direct to ISP",
         [&] {
             form.setOption(form.eDirectToISP);
             form.eProvideName.addItem("(None)");
             form.eProvideName.addItem("Host A");
             form.eProvideName.select(1);
         },
         "output file"},
        {"relative", [&] { form.eSourceDest.text = "web/main.asp"; }, "web/main.asp"},
        {"no page name", [&] { form.eSourceDest.text = out.string() + "/"; }, out.string() + "/"},
        {"no records per page",
         [&] {
             form.eISPAlsoCopyData.value = shell::CheckState::Checked;
             form.eRecordsPerPage.text = "0";
         },
         "\"0\""},
        {"records per page not a number", [&] { form.eRecordsPerPage.text = "abc"; }, "\"abc\""},
    };
    for (const Case& c : cases) {
        form.eSourceDest.text = c.what == std::string("direct to ISP") ? "" : (out / "main.asp").string();
        c.set();
        ui.messages.clear();
        publish();
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_NE(ui.messages[0].text.find(c.named), std::string::npos) << c.what << ": " << ui.messages[0].text;
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical) << c.what;
        EXPECT_EQ(ui.messages[0].title, "KAVERO") << c.what;
        form.setOption(form.ManuelUpload);
    }
    EXPECT_EQ(namesIn(out), Names{"old.asp"});
    EXPECT_TRUE(ui.busyChanges.empty());
}

TEST_F(PublishCommand, AFolderThatCannotBeWrittenIsOneMessageNamingThePage) {
    ASSERT_NO_FATAL_FAILURE(ready("Ten"));
    touch(folder / "file.txt");
    const fs::path page = folder / "file.txt" / "out" / "main.asp";
    form.eSourceDest.text = page.string();
    ui.answers = {MessageAnswer::Yes};
    publish();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::YesNo);
    EXPECT_NE(ui.messages[1].text.find("The page " + page.string() + " could not be written"), std::string::npos)
        << ui.messages[1].text;
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(ui.busy);
}

TEST_F(PublishCommand, FullRunsWriteThePageSetAndEndWithTheInstructions) {
    ASSERT_NO_FATAL_FAILURE(ready("Twelve"));
    touch(out / "notes.txt");
    form.eISPAlsoCopyData.value = shell::CheckState::Checked;
    const auto run = [&] {
        ui.messages.clear();
        ui.busyChanges.clear();
        ui.answers = {MessageAnswer::Yes};
        publish();
    };
    const std::string instructions =
        "Your database design is now ready to publish\r\n"
        "What you have to do now is : \r\n"
        "1. Publish all the files (*.asp) from  " +
        out.string() +
        "/ to your ISP/or your own web server\r\n"
        "2. Start you browser and enter URL, path to files, + main.asp (Exp. Http://www.your-web-host.com/main.asp)\r\n"
        "3. Create the database by pressing the 'submit to mySQL server' button in the browser window, and check "
        "there is no error message\r\n"
        "4. Copy you data by pressing the 'start copy x record to your mySQL server' button\r\n"
        "\r\n"
        "Warning you will delete all data in your database is the databse already exist !!!!!\r\n"
        "\r\n";

    // Twelve records, five to a page: three copy pages. Yes with no page there: nothing to report.
    run();
    EXPECT_EQ(namesIn(out), (Names{"notes.txt", "main.asp", "createtable.asp", "startcopy.asp", "startcopy1.asp",
                                   "startcopy2.asp", "startcopy3.asp", "endcopy.asp"}));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, question());
    EXPECT_EQ(ui.messages[1].text, instructions);
    EXPECT_EQ(ui.messages[1].title, "KAVERO");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
    // The one-line script the pages carry, names bare as the allow-space box is clear.
    EXPECT_EQ(form.eScriptOutPut.text,
              "DROP TABLE IF EXISTS Twelve;CREATE TABLE Twelve(ID BIGINT NOT NULL, Name VARCHAR(20) NOT NULL);");
    EXPECT_NE(contents(out / "createtable.asp").find(form.eScriptOutPut.text), std::string::npos);
    EXPECT_NE(contents(out / "createtable.asp").find(kPassword), std::string::npos);
    EXPECT_NE(contents(out / "startcopy3.asp").find("record 12"), std::string::npos);

    // Again without the records and without the password: Yes takes the old chain away, and a
    // records-per-page text that is no number does not matter.
    form.eISPAlsoCopyData.value = shell::CheckState::Unchecked;
    form.eRecordsPerPage.text = "abc";
    form.eLeavePasswordOut.checked = true;
    form.eAllowFieldNamesIwthSpace.value = shell::CheckState::Checked;
    run();
    EXPECT_EQ(namesIn(out), (Names{"notes.txt", "main.asp", "createtable.asp"}));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, instructions);
    EXPECT_EQ(
        form.eScriptOutPut.text,
        "DROP TABLE IF EXISTS `Twelve`;CREATE TABLE `Twelve`(`ID` BIGINT NOT NULL, `Name` VARCHAR(20) NOT NULL);");
    for (const char* page : {"main.asp", "createtable.asp"}) {
        EXPECT_EQ(contents(out / page).find(kPassword), std::string::npos) << page;
    }
}
