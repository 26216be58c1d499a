// The window models: every control reachable by its exact name, option groups exclusive,
// and grids, lists and combo boxes holding what the commands expect.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/about_form.h"
#include "shell/main_form.h"
#include "shell/progress_form.h"
#include "shell/splash_form.h"

using namespace kavero::shell;

namespace {

template <class F> std::set<std::string> namesOf(F& form) {
    std::set<std::string> names;
    for (const auto& entry : form.controls()) {
        EXPECT_TRUE(names.insert(std::string(entry.name)).second) << "duplicate " << entry.name;
    }
    return names;
}

} // namespace

TEST(ControlModel, MainWindowHasEveryControlUnderItsExactName) {
    frmMain form;
    const auto names = namesOf(form);
    EXPECT_EQ(names.size(), 67u);
    for (const char* name : {"eCOnvertLocal", "ManuelUpload", "eAllowFieldNamesIwthSpace", "ECreateKey",
                             "ekeyListGrid", "eFieldListGrid", "cboDSNList", "eProvideName", "eScriptOutPut",
                             "eMySqlpasswordISP", "Exitprogram", "AboutKAVERO", "Image22", "Label11"}) {
        EXPECT_TRUE(names.count(name)) << name;
    }
    EXPECT_EQ(form.control<CommandButton>("eCOnvertLocal"), &form.eCOnvertLocal);
    EXPECT_EQ(form.control<Grid>("ekeyListGrid"), &form.ekeyListGrid);
    // A name asked for with the wrong kind or letter case finds nothing.
    EXPECT_EQ(form.control<TextBox>("eCOnvertLocal"), nullptr);
    EXPECT_EQ(form.control<OptionButton>("eCreateKey"), nullptr);
}

TEST(ControlModel, SmallWindowsHaveTheirControls) {
    frmShowProgress progress;
    frmAbout about;
    frmSplash splash;
    EXPECT_EQ(namesOf(progress), (std::set<std::string>{"Picture1", "eShowStatus", "eProgressBar", "eOk"}));
    EXPECT_EQ(namesOf(about).size(), 9u);
    EXPECT_EQ(namesOf(splash).size(), 6u);
    EXPECT_EQ(about.control<CommandButton>("cmdSysInfo")->caption, "&System Info...");
    EXPECT_EQ(splash.control<Label>("lblProductName")->caption, "KAVERO converter for mySQL");
}

TEST(ControlModel, CopiedWindowsOwnTheirControls) {
    frmMain original;
    frmMain copy = original;
    copy.control<TextBox>("eFilename")->text = "/tmp/shop.mdb";
    EXPECT_EQ(copy.eFilename.text, "/tmp/shop.mdb");
    EXPECT_EQ(original.eFilename.text, "");
}

TEST(ControlModel, OptionGroupsAreExclusive) {
    frmMain form;
    form.setOption(form.ECreateKey);
    form.setOption(form.eCreateIndex);
    EXPECT_FALSE(form.ECreateKey.value);
    EXPECT_TRUE(form.eCreateIndex.value);
    EXPECT_FALSE(form.eCreateNoKeys.value);

    // The publish group is separate from the key group.
    form.setOption(form.eDirectToISP);
    EXPECT_TRUE(form.eCreateIndex.value);
    form.setOption(form.ManuelUpload);
    EXPECT_FALSE(form.eDirectToISP.value);

    // Switching one off leaves the whole group off.
    form.setOption(form.eCreateIndex, false);
    EXPECT_FALSE(form.ECreateKey.value || form.eCreateIndex.value || form.eCreateNoKeys.value);
}

TEST(ControlModel, DesignTimeTextsAreExact) {
    frmMain form;
    EXPECT_EQ(form.eLabelTabelname.caption, "Talble list");
    EXPECT_EQ(form.ManuelUpload.caption, "Manuel upload");
    EXPECT_EQ(form.eClose.caption, "&Quit");
    EXPECT_EQ(form.eErrorcount.text, "0");
    EXPECT_EQ(form.eTabControl.captions.size(), 3u);
    EXPECT_EQ(form.eTabControl.captions[1], "Publish converted database to");
    EXPECT_EQ(form.eFieldListGrid.cols, 5);
    EXPECT_FALSE(form.cboDSNList.editable);
    EXPECT_TRUE(form.eSQLTerminator.editable);
    EXPECT_FALSE(form.eDirectToISP.visible);
}

TEST(Grid, RowsComeFromTabSeparatedText) {
    Grid grid;
    grid.cols = 5;
    grid.addItem("Field name\tType\tLenght\tCan not be null\tDefault value");
    grid.addItem("ID\tAUTONUM\t4\tFalse\t");
    grid.addItem("Name\tTEXT"); // short rows are padded with empty cells
    grid.addItem("a\tb\tc\td\te\tf"); // a sixth cell has no column
    ASSERT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.cell(1, 1), "AUTONUM");
    EXPECT_EQ(grid.cell(1, 4), "");
    EXPECT_EQ(grid.cell(2, 2), "");
    EXPECT_EQ(grid.cell(3, 4), "e");
    EXPECT_EQ(grid.cell(9, 0), "");
    EXPECT_EQ(grid.cell(1, 5), "");
}

TEST(Grid, ClearRemovesHeaderAndWidthsStay) {
    Grid grid;
    grid.cols = 5;
    grid.setColWidth(0, 1900);
    grid.setColWidth(2, 550);
    grid.addItem("h");
    grid.fixedRows = 1;
    grid.clear();
    EXPECT_EQ(grid.rows(), 0);
    EXPECT_EQ(grid.fixedRows, 0);
    EXPECT_EQ(grid.colWidth(0), 1900);
    EXPECT_EQ(grid.colWidth(1), Grid::kDefaultColumnWidth);
    EXPECT_EQ(grid.colWidth(2), 550);
}

TEST(ComboBox, FreeTextIsKeptApartFromTheSelection) {
    ComboBox box;
    box.text = "$$";
    for (const char* item : {";", ",", "CR", "CrLf"}) box.addItem(item);
    EXPECT_EQ(box.text, "$$");
    EXPECT_EQ(box.selectedItem(), nullptr);
    box.select(3);
    EXPECT_EQ(box.text, "CrLf");
    EXPECT_EQ(*box.selectedItem(), "CrLf");
    box.select(7);
    EXPECT_EQ(box.selectedItem(), nullptr);
}

TEST(ListBox, SelectionFollowsClearing) {
    ListBox list;
    list.addItem("Orders");
    list.listIndex = 0;
    ASSERT_NE(list.selectedItem(), nullptr);
    list.clear();
    EXPECT_EQ(list.selectedItem(), nullptr);
    EXPECT_EQ(list.listIndex, -1);
}

TEST(TextBox, SelectAllCoversTheWholeText) {
    TextBox box;
    box.text = "DROP TABLE IF EXISTS x;";
    box.selectAll();
    EXPECT_EQ(box.selStart, 0);
    EXPECT_EQ(box.selLength, 23);
}
