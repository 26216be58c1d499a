// Choosing and opening a database into the table list, on real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "jet/testdata_files.h"
#include "source/open_database.h"
#include "support/in_memory_settings.h"
#include "support/scripted_user_interface.h"

namespace kavero::source {
namespace {

using shell::CheckState;
using shell::MessageButtons;
using shell::MessageIcon;

class OpenDatabase : public ::testing::Test {
protected:
    void SetUp() override { KAVERO_REQUIRE_TESTDATA(); }
    void open(const std::string& relative, bool allowSpaces = false) {
        form.eFilename.text = testing::testdataPath(relative);
        form.eAllowFieldNamesIwthSpace.value = allowSpaces ? CheckState::Checked : CheckState::Unchecked;
        OpenAccessDatabase(form, ui, {});
    }
    shell::frmMain form;
    testing::ScriptedUserInterface ui;
};

TEST_F(OpenDatabase, ListsUserTablesAndEmptiesTheFieldList) {
    form.eFieldListGrid.addItem("old\tTEXT\t5\tFalse\t");
    form.eFieldCount.text = "1";
    form.ekeyListGrid.addItem("Index name\tUnique\tPrimary\tLenght\tKey type");
    form.ekeyListGrid.addItem("old\tTrue\tTrue\t5\tTEXT");
    open("jet4/testV2003.mdb");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.eTables.items, (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
    EXPECT_EQ(form.eFieldListGrid.rows(), 0);
    EXPECT_EQ(form.eFieldCount.text, "0");
    EXPECT_EQ(form.ekeyListGrid.rows(), 2) << "the key list is not touched";
    EXPECT_EQ(form.eLabelTabelname.caption, "testV2003.mdb");
}

TEST_F(OpenDatabase, BlankInATableNameEmptiesTheListWithAMessage) {
    open("ace/githubIssue16.accdb");
    ASSERT_EQ(ui.messages.size(), 1u);
    // The last table with a blank is the one named.
    EXPECT_EQ(ui.messages[0].text,
              "You have a space( )in your database name Donation Type\r\n"
              "If your mySQL server supports fields and table name with space check the 'Allow table and field name "
              "with space' under 'Index/key options'\r\nAnd load the database again");
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(form.eTables.items.empty());
    EXPECT_EQ(form.eLabelTabelname.caption, "githubIssue16.accdb");

    ui.messages.clear();
    open("ace/githubIssue16.accdb", true);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.eTables.items,
              (std::vector<std::string>{"Designation", "Donation Detail", "Donation Type", "Donor"}));
}

TEST_F(OpenDatabase, EngineErrorsShowDescriptionAndNumber) {
    form.eLabelTabelname.caption = "before";
    open("LICENSE-jackcess.txt");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error on opening database, on eFilename");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.messages[0].text.rfind("Unrecognized database format: ", 0), 0u) << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].text.substr(ui.messages[0].text.size() - 5), " 3343");
    EXPECT_EQ(form.eLabelTabelname.caption, "before");
}

TEST_F(OpenDatabase, MissingPathOrDisabledBoxDoesNothing) {
    form.eTables.addItem("kept");
    open("jet4/no-such-file.mdb");
    form.eFilename.text = "";
    OpenAccessDatabase(form, ui, {});
    form.eFilename.text = testing::testdataPath("jet4/testV2003.mdb");
    form.eFilename.enabled = false;
    OpenAccessDatabase(form, ui, {});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.eTables.items, std::vector<std::string>{"kept"});
}

TEST_F(OpenDatabase, PatternInTheNameIsNotOpened) {
    const auto dir = std::filesystem::temp_directory_path() / ("kavero-open-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "shop*.mdb";
    std::filesystem::copy_file(testing::testdataPath("jet4/testV2003.mdb"), path,
                               std::filesystem::copy_options::overwrite_existing);
    form.eTables.addItem("old");
    form.eFilename.text = path.string();
    OpenAccessDatabase(form, ui, {});
    EXPECT_TRUE(form.eTables.items.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.eLabelTabelname.caption, "shop*.mdb");
    std::filesystem::remove_all(dir);
}

class ChooseFile : public OpenDatabase {};

TEST_F(ChooseFile, PresetFromTheCurrentFileTheSettingOrTheHomeFolder) {
    testing::InMemorySettings settings;
    ui.fileChoices = {std::nullopt, std::nullopt, std::nullopt};
    chooseDatabaseFile(form, ui, settings, {});
    settings.values["DATABASEPATHSOURCE"] = "/srv/access/";
    chooseDatabaseFile(form, ui, settings, {});
    form.eFilename.text = "/data/shop/shop.mdb"; // the current file wins over the setting
    chooseDatabaseFile(form, ui, settings, {});
    ASSERT_EQ(ui.dialogs.size(), 3u);
    EXPECT_EQ(ui.dialogs[0].request.presetName, defaultDatabaseFolder() + "*.mdb");
    EXPECT_EQ(defaultDatabaseFolder().back(), '/');
    EXPECT_EQ(ui.dialogs[1].request.presetName, "/srv/access/*.mdb");
    EXPECT_EQ(ui.dialogs[2].request.presetName, "/data/shop/*.mdb");
    EXPECT_FALSE(ui.dialogs[2].save);
    EXPECT_EQ(ui.dialogs[2].request.title, "Select Access source database");
    EXPECT_EQ(ui.dialogs[2].request.filter, "*.mdb");
    EXPECT_EQ(ui.dialogs[2].request.defaultExtension, "mdb");
    EXPECT_EQ(form.eFilename.text, "/data/shop/shop.mdb"); // cancelled: unchanged
}

TEST_F(ChooseFile, AcceptsARealFileAndRefusesPatterns) {
    testing::InMemorySettings settings;
    ui.fileChoices = {std::string("*.mdb"), std::string("/tmp/a*.mdb"), std::string(""),
                      testing::testdataPath("jet3/testV1997.mdb")};
    for (int i = 0; i < 3; ++i) chooseDatabaseFile(form, ui, settings, {});
    EXPECT_EQ(form.eFilename.text, "");
    EXPECT_TRUE(form.eTables.items.empty());
    chooseDatabaseFile(form, ui, settings, {});
    EXPECT_EQ(form.eFilename.text, testing::testdataPath("jet3/testV1997.mdb"));
    EXPECT_EQ(form.eTables.items, (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
    EXPECT_EQ(form.eLabelTabelname.caption, "testV1997.mdb");
}

} // namespace
} // namespace kavero::source
