// The table pick on real files: both grids cell by cell, the type words, the key rules, the
// name checks and the error box.
#include <gtest/gtest.h>

#include "jet/testdata_files.h"
#include "source/column_rule.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"

namespace kavero::source {
namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kFieldHeader = {"Field name", "Type", "Lenght", "Can not be null", "Default value"};
const std::vector<std::string> kKeyHeader = {"Index name", "Unique", "Primary", "Lenght", "Key type"};

class TableDesign : public ::testing::Test {
protected:
    void SetUp() override { KAVERO_REQUIRE_TESTDATA(); }
    void load(const std::string& relative, const std::string& table, bool allowSpaces = false) {
        form.eFilename.text = testing::testdataPath(relative);
        form.eAllowFieldNamesIwthSpace.value = allowSpaces ? shell::CheckState::Checked : shell::CheckState::Unchecked;
        loadTableDesign(form, ui, table, {});
    }
    // The rows of a grid below its header.
    static Rows body(const shell::Grid& grid) {
        return grid.cells.empty() ? Rows{} : Rows(grid.cells.begin() + 1, grid.cells.end());
    }
    shell::frmMain form;
    testing::ScriptedUserInterface ui;
};

TEST_F(TableDesign, EveryTypeWordOfTheBaseTableInEachVersion) {
    for (const auto& file : testing::baseTestFiles()) {
        load(file.folder + "/" + file.name, "Table1");
        SCOPED_TRACE(file.name);
        EXPECT_TRUE(ui.messages.empty());
        ASSERT_GE(form.eFieldListGrid.rows(), 1);
        EXPECT_EQ(form.eFieldListGrid.cells[0], kFieldHeader);
        EXPECT_EQ(body(form.eFieldListGrid), (Rows{
                                                  {"A", "TEXT", "50", "False", ""},
                                                  {"B", "TEXT", "100", "False", ""},
                                                  {"C", "BYTE", "1", "False", "0"},
                                                  {"D", "INTEGER", "2", "False", "0"},
                                                  {"E", "LNGINT", "4", "False", "0"},
                                                  {"F", "DOUBLE", "8", "False", "0"},
                                                  {"G", "DATETIME", "8", "False", ""},
                                                  {"H", "CURRENCY", "8", "False", "0"},
                                                  {"I", "BOOLEAN", "1", "False", ""},
                                              }));
        EXPECT_EQ(form.ekeyListGrid.cells[0], kKeyHeader);
        EXPECT_EQ(body(form.ekeyListGrid), (Rows{{"B", "False", "False", "100", "TEXT"}, {"A", "True", "True", "50", "TEXT"}}));
        EXPECT_EQ(form.eFieldCount.text, "9");
        EXPECT_EQ(form.eKeyCount.text, "2");
        EXPECT_EQ(form.eFieldListGrid.fixedRows, 1);
        EXPECT_EQ(form.ekeyListGrid.fixedRows, 1);
        EXPECT_EQ(form.eLabelFields.caption, "Fields in database Table1");
        EXPECT_EQ(form.eLabelKey.caption, "Keys in database Table1");
    }
}

TEST_F(TableDesign, TypeWordsOfMemoOleDecimalAndBigInt) {
    load("jet4/test2V2003.mdb", "MSP_PROJECTS");
    const Rows rows = body(form.eFieldListGrid);
    ASSERT_EQ(rows.size(), 74u);
    EXPECT_EQ(rows[2], (std::vector<std::string>{"PROJ_PROP_AUTHOR", "BLOB", "0", "False", ""}));
    EXPECT_EQ(rows.back(), (std::vector<std::string>{"RESERVED_BINARY_DATA", "OLE", "0", "False", ""}));
    EXPECT_EQ(body(form.ekeyListGrid),
              (Rows{{"PROJ_ID", "True", "False", "4", "LNGINT"}, {"PROJ_NAME", "True", "False", "255", "TEXT"}}));
    load("jet4/fixedNumericTestV2003.mdb", "test");
    EXPECT_EQ(body(form.eFieldListGrid)[1], (std::vector<std::string>{"col2", "DECIMAL", "16", "False", ""}));
    load("ace/bigint.accdb", "Table");
    EXPECT_EQ(body(form.eFieldListGrid)[1], (std::vector<std::string>{"Numeric", "BIGINT", "8", "False", "0"}));
}

TEST_F(TableDesign, DefaultTextAndAllowZeroLengthAsStored) {
    load("jet4/accessLike.mdb", "t_like1");
    EXPECT_EQ(body(form.eFieldListGrid),
              (Rows{{"a1", "TEXT", "50", "True", "\"rrr\""}, {"a2", "TEXT", "50", "True", ""}}));
    load("ace/githubIssue16.accdb", "Donation Detail", true);
    const Rows rows = body(form.eFieldListGrid);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[2], (std::vector<std::string>{"Donation Date", "DATETIME", "8", "False", "=Date()"}));
    EXPECT_EQ(rows[4], (std::vector<std::string>{"Donation Type", "TEXT", "60", "True", "\"e-Transfer\""}));
}

TEST_F(TableDesign, IllegalFieldNameEmptiesTheFieldList) {
    load("ace/githubIssue16.accdb", "Donor", true);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Illegal field name(s) detected :\rYou have a slash(/) in your field name Inst/Branch\r"
              "Please correct the name and try again");
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::Critical);
    EXPECT_EQ(form.eFieldListGrid.rows(), 0);
    EXPECT_EQ(form.ekeyListGrid.cells, (Rows{kKeyHeader}));
    EXPECT_EQ(form.eFieldCount.text, "0");
    EXPECT_EQ(form.eKeyCount.text, "0");
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
}

TEST_F(TableDesign, EngineErrorShowsTheBoxAndKeepsCountersTrue) {
    load("jet4/testV2003.mdb", "NoSuchTable");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error when opening database, on eDatebase click");
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
    EXPECT_EQ(ui.messages[0].text.substr(ui.messages[0].text.size() - 5), " 3078");
    EXPECT_NE(ui.messages[0].text.find("NoSuchTable"), std::string::npos);
    EXPECT_EQ(form.eFieldListGrid.cells, (Rows{kFieldHeader}));
    EXPECT_EQ(form.eFieldCount.text, "0");
    EXPECT_EQ(form.eKeyCount.text, "0");
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
}

TEST(ColumnRule, TheAutoNumberRuleNeedsExactly49) {
    EXPECT_EQ(columnRule(4, 49).typeWord, "AUTONUM");
    EXPECT_EQ(columnRule(3, 49).typeWord, "AUTONUM");
    EXPECT_EQ(columnRule(4, 48).typeWord, "LNGINT");     // auto-increment bit without fixed size
    EXPECT_EQ(columnRule(4, 16 | 1).typeWord, "LNGINT"); // auto-increment without updatable
    EXPECT_FALSE(columnRule(4, 49).copied());
    EXPECT_TRUE(columnRule(4, 17).copied());
}

} // namespace
} // namespace kavero::source
