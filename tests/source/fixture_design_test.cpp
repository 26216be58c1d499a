// The table list and table design on the written fixtures: the cases no real file has (names
// with blanks, dots and quotes, tables named like system tables, keys on GUIDs, no property
// blob).
#include <gtest/gtest.h>

#include <filesystem>

#include "source/open_database.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"

namespace kavero::source {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class DesignFixture : public ::testing::Test {
protected:
    void SetUp() override {
        form.eFilename.text = std::string(KAVERO_FIXTURE_DIR) + "/design.mdb";
        ASSERT_TRUE(std::filesystem::exists(form.eFilename.text)) << "the build writes the fixtures";
    }
    void allowSpaces(bool on) {
        form.eAllowFieldNamesIwthSpace.value = on ? shell::CheckState::Checked : shell::CheckState::Unchecked;
    }
    Rows fields() const { return body(form.eFieldListGrid); }
    Rows keys() const { return body(form.ekeyListGrid); }
    static Rows body(const shell::Grid& grid) {
        return grid.cells.empty() ? Rows{} : Rows(grid.cells.begin() + 1, grid.cells.end());
    }
    std::string lastMessage() const { return ui.messages.empty() ? "" : ui.messages.back().text; }
    shell::frmMain form;
    testing::ScriptedUserInterface ui;
};

TEST_F(DesignFixture, SystemTablesHiddenCaseSensitively) {
    allowSpaces(true);
    OpenAccessDatabase(form, ui, {});
    EXPECT_TRUE(ui.messages.empty());
    const auto& t = form.eTables.items;
    EXPECT_EQ(t, (std::vector<std::string>{"Orders", "Msysfoo", "Order Details", "GuidTable", "OnlyGuid", "Names",
                                           "Table.With.Dots", "O'Brien's", "Say \"Hi\"", "Back`tick", "Slash/Name",
                                           "Defaults", "Keys", "AutoNotKeyed", "NoIndexes", "OddTypes", "NoProps"}));
    EXPECT_EQ(form.eLabelTabelname.caption, "design.mdb");
}

TEST_F(DesignFixture, FieldNameRulesInTheirOrderTheLastMatchWins) {
    allowSpaces(false);
    loadTableDesign(form, ui, "Names", {});
    // "my field" is the first field: only the blank rule matches it.
    EXPECT_EQ(lastMessage(), "Illegal field name(s) detected :\rYou have a space( )in your field name my field\r"
                             "Please correct the name and try again");
    EXPECT_EQ(form.eFieldListGrid.rows(), 0);
    EXPECT_EQ(form.eFieldCount.text, "0");

    allowSpaces(true);
    loadTableDesign(form, ui, "Names", {});
    // With blanks allowed the load stops at "a b.c", named by the dot rule.
    EXPECT_EQ(lastMessage(), "Illegal field name(s) detected :\rYou have a dot(.) in your field name a b.c\r"
                             "Please correct the name and try again");
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(DesignFixture, OddTableNamesLoadWhenTheirFieldsAreFine) {
    allowSpaces(true);
    for (const char* table : {"Table.With.Dots", "O'Brien's", "Say \"Hi\"", "Back`tick", "Slash/Name"}) {
        loadTableDesign(form, ui, table, {});
        EXPECT_TRUE(ui.messages.empty()) << table << ": " << lastMessage();
        EXPECT_EQ(fields(), (Rows{{"ID", "LNGINT", "4", "False", ""}, {"Value", "TEXT", "20", "False", ""}})) << table;
        EXPECT_EQ(form.eLabelFields.caption, std::string("Fields in database ") + table);
    }
}

TEST_F(DesignFixture, CompositePrimaryKeyRowForTheFirstFieldOnly) {
    allowSpaces(true);
    loadTableDesign(form, ui, "Order Details", {});
    EXPECT_EQ(keys(), (Rows{{"OrderID", "True", "True", "4", "LNGINT"}}));
    EXPECT_EQ(form.eKeyCount.text, "1");
    EXPECT_EQ(fields()[2], (std::vector<std::string>{"Unit Price", "CURRENCY", "8", "False", ""}));
}

TEST_F(DesignFixture, GuidFieldsAndTheirKeysAreLeftOut) {
    loadTableDesign(form, ui, "GuidTable", {});
    EXPECT_EQ(fields(), (Rows{{"ID", "LNGINT", "4", "False", ""}, {"Name", "TEXT", "20", "False", ""}}));
    EXPECT_EQ(keys(), (Rows{{"ID", "True", "True", "4", "LNGINT"}}));
    EXPECT_EQ(form.eFieldCount.text, "2");
    EXPECT_EQ(form.eKeyCount.text, "1");

    loadTableDesign(form, ui, "OnlyGuid", {});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.eFieldListGrid.rows(), 1);
    EXPECT_EQ(form.eFieldCount.text, "0");
}

TEST_F(DesignFixture, DefaultsAsStoredAndAllowZeroLengthOnlyForText) {
    loadTableDesign(form, ui, "Defaults", {});
    const Rows rows = fields();
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"ID", "AUTONUM", "4", "False", "0"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"TextQuoted", "TEXT", "20", "False", "\"abc\""}));
    EXPECT_EQ(rows[2][4], "\"\"");
    EXPECT_EQ(rows[4][4], "=Date()");
    EXPECT_EQ(rows[6][4], "1 000");
    EXPECT_EQ(rows[12][4], "=No");
    EXPECT_EQ(rows[13], (std::vector<std::string>{"Price", "CURRENCY", "8", "False", "0"}));
    EXPECT_EQ(rows[14], (std::vector<std::string>{"Notes", "BLOB", "0", "False", "\"memo default\""}));
    EXPECT_EQ(rows[15], (std::vector<std::string>{"Req", "TEXT", "10", "True", ""}));
    EXPECT_EQ(rows[16], (std::vector<std::string>{"NoZero", "TEXT", "10", "False", ""}));
}

TEST_F(DesignFixture, TableWithoutPropertyBlobHasNoDefaults) {
    loadTableDesign(form, ui, "NoProps", {});
    EXPECT_EQ(fields(), (Rows{{"A", "LNGINT", "4", "False", ""}, {"B", "TEXT", "10", "False", ""}}));
}

TEST_F(DesignFixture, KeysInEngineOrderAndNoIndexes) {
    loadTableDesign(form, ui, "Keys", {});
    EXPECT_EQ(keys(), (Rows{{"ID", "True", "True", "4", "LNGINT"},
                            {"Code", "True", "False", "10", "TEXT"},
                            {"When", "False", "False", "8", "DATETIME"}}));
    loadTableDesign(form, ui, "NoIndexes", {});
    EXPECT_EQ(form.ekeyListGrid.rows(), 1);
    EXPECT_EQ(form.eKeyCount.text, "0");
    loadTableDesign(form, ui, "OddTypes", {});
    const Rows odd = fields();
    ASSERT_EQ(odd.size(), 4u);
    EXPECT_EQ(odd[1], (std::vector<std::string>{"Amount", "DECIMAL", "16", "False", ""})); // Decimal
    EXPECT_EQ(odd[2], (std::vector<std::string>{"Raw", "", "16", "False", ""}));          // Binary
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace kavero::source
