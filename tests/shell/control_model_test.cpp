// The window models: every control reachable by its exact name and kind, and lists and grids
// holding what the commands expect.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/main_form.h"
#include "shell/progress_form.h"

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

TEST(ControlModel, EveryControlUnderItsExactNameAndKind) {
    frmMain form;
    const auto names = namesOf(form);
    // The window's own, the four added for the web-host pages, Fast copy, the lossless choice
    // the script's Save as
    // and the check after the copy.
    EXPECT_EQ(names.size(), 67u + 8u);
    for (const char* name : {"eCOnvertLocal",
                             "ManuelUpload",
                             "eAllowFieldNamesIwthSpace",
                             "ECreateKey",
                             "ekeyListGrid",
                             "eFieldListGrid",
                             "cboDSNList",
                             "eProvideName",
                             "eScriptOutPut",
                             "eMySqlpasswordISP",
                             "Exitprogram",
                             "AboutKAVERO",
                             "Image22",
                             "Label11",
                             "eLeavePasswordOut",
                             "eRecordsPerPage",
                             "LabelRecordsPerPage",
                             "ePhpPages",
                             "eFastCopy",
                             "eLossless",
                             "eSaveScript",
                             "eCheckCopy"}) {
        EXPECT_TRUE(names.count(name)) << name;
    }
    EXPECT_EQ(form.control<CommandButton>("eCOnvertLocal"), &form.eCOnvertLocal);
    // A name asked for with the wrong kind or letter case finds nothing.
    EXPECT_EQ(form.control<TextBox>("eCOnvertLocal"), nullptr);
    EXPECT_EQ(form.control<OptionButton>("eCreateKey"), nullptr);

    frmShowProgress progress;
    EXPECT_EQ(namesOf(progress), (std::set<std::string>{"Picture1", "eShowStatus", "eProgressBar", "eRate", "eOk"}));
}

TEST(ControlModel, GridsAndListsKeepCellsAndSelectionAsTheCommandsExpect) {
    Grid grid;
    grid.cols = 5;
    grid.setColWidth(2, 550);
    grid.addItem("ID\tAUTONUM\t4\tFalse\t");
    grid.addItem("Name\tTEXT");       // short rows are padded with empty cells
    grid.addItem("a\tb\tc\td\te\tf"); // a sixth cell has no column
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.cell(0, 1), "AUTONUM");
    EXPECT_EQ(grid.cell(1, 2), "");
    EXPECT_EQ(grid.cell(2, 4), "e");
    EXPECT_EQ(grid.cell(9, 0), "");
    EXPECT_EQ(grid.cell(0, 5), "");
    grid.fixedRows = 1;
    grid.clear(); // the header goes, the widths stay
    EXPECT_EQ(grid.rows(), 0);
    EXPECT_EQ(grid.fixedRows, 0);
    EXPECT_EQ(grid.colWidth(2), 550);
    EXPECT_EQ(grid.colWidth(1), Grid::kDefaultColumnWidth);

    ListBox list;
    list.addItem("Orders");
    list.listIndex = 0;
    list.clear();
    EXPECT_EQ(list.selectedItem(), nullptr);
    EXPECT_EQ(list.listIndex, -1);
}
