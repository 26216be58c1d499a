// The table list and table design of the fixture files, through the same routines the main
// window uses: the name and key cases that the real Access sample files do not contain.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/main_form.h"
#include "source/open_database.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"

namespace kavero::jet::writer {
namespace {

using testing::ScriptedUserInterface;

std::string fixturePath(const std::string& name) {
    return (std::filesystem::path(KAVERO_FIXTURE_DIR) / (name + ".mdb")).string();
}

struct Opened {
    shell::frmMain form;
    ScriptedUserInterface ui;
};

void open(Opened& o, const std::string& fixture, bool allowSpaces) {
    o.form.eFilename.text = fixturePath(fixture);
    o.form.eAllowFieldNamesIwthSpace.value = allowSpaces ? shell::CheckState::Checked : shell::CheckState::Unchecked;
    source::OpenAccessDatabase(o.form, o.ui, {});
}

// Grid rows 1.. as tab-joined texts, so a whole design compares at once.
std::vector<std::string> rowsOf(const shell::Grid& grid, int count) {
    std::vector<std::string> out;
    for (int r = 1; r <= count; ++r) {
        std::string line;
        for (int c = 0; c < 5; ++c) line += (c ? "\t" : "") + grid.cell(r, c);
        out.push_back(line);
    }
    return out;
}

struct Design {
    std::vector<std::string> fields;
    std::vector<std::string> keys;
};

Design load(Opened& o, const std::string& table) {
    source::loadTableDesign(o.form, o.ui, table, {});
    return {rowsOf(o.form.eFieldListGrid, std::stoi(o.form.eFieldCount.text)),
            rowsOf(o.form.ekeyListGrid, std::stoi(o.form.eKeyCount.text))};
}

TEST(FixtureTableList, ListsOnlyTheUserTableBesideTheSystemTables) {
    Opened o;
    open(o, "system_tables", false);
    EXPECT_TRUE(o.ui.messages.empty());
    EXPECT_EQ(o.form.eTables.items, std::vector<std::string>{"Orders"});
}

TEST(FixtureTableList, HidesOnlyNamesThatStartWithMSysExactly) {
    Opened o;
    open(o, "design", true);
    EXPECT_TRUE(o.ui.messages.empty());
    const std::vector<std::string> expected = {
        "Orders",     "Msysfoo",   "Order Details", "GuidTable", "OnlyGuid", "Names",       "Table.With.Dots",
        "O'Brien's",  "Say \"Hi\"", "Back`tick",     "Slash/Name", "Defaults", "Keys",        "AutoNotKeyed",
        "NoIndexes",  "OddTypes",  "NoProps"};
    EXPECT_EQ(o.form.eTables.items, expected);
}

TEST(FixtureTableList, EndsEmptyWhenATableNameHasABlankAndBlanksAreNotAllowed) {
    Opened o;
    open(o, "design", false);
    ASSERT_FALSE(o.ui.messages.empty());
    EXPECT_EQ(o.ui.messages.front().text.rfind("You have a space( )in your database name ", 0), 0u)
        << o.ui.messages.front().text;
    EXPECT_TRUE(o.form.eTables.items.empty());
}

TEST(FixtureTableDesign, ShowsTheCustomersExampleAsTheScriptBuilderExpectsIt) {
    Opened o;
    open(o, "customers", false);
    const Design d = load(o, "Customers");
    EXPECT_TRUE(o.ui.messages.empty());
    EXPECT_EQ(d.fields, (std::vector<std::string>{"ID\tAUTONUM\t4\tFalse\t", "Name\tTEXT\t50\tFalse\t",
                                                   "Active\tBOOLEAN\t1\tFalse\tNo", "Price\tCURRENCY\t8\tFalse\t0"}));
    EXPECT_EQ(d.keys, (std::vector<std::string>{"ID\tTrue\tTrue\t4\tAUTONUM", "Name\tFalse\tFalse\t50\tTEXT"}));
}

TEST(FixtureTableDesign, LeavesGuidFieldsOutOfTheFieldList) {
    Opened o;
    open(o, "design", true);
    EXPECT_EQ(load(o, "GuidTable").fields,
              (std::vector<std::string>{"ID\tLNGINT\t4\tFalse\t", "Name\tTEXT\t20\tFalse\t"}));
    EXPECT_EQ(o.form.eFieldCount.text, "2");
    EXPECT_TRUE(load(o, "OnlyGuid").fields.empty());
    EXPECT_EQ(o.form.eFieldCount.text, "0");
}

TEST(FixtureTableDesign, LoadsTablesWhoseNamesHoldDotsQuotesBackticksAndSlashes) {
    for (const char* name : {"Table.With.Dots", "O'Brien's", "Say \"Hi\"", "Back`tick", "Slash/Name"}) {
        Opened o;
        open(o, "design", true);
        const Design d = load(o, name);
        EXPECT_TRUE(o.ui.messages.empty()) << name;
        EXPECT_EQ(d.fields, (std::vector<std::string>{"ID\tLNGINT\t4\tFalse\t", "Value\tTEXT\t20\tFalse\t"})) << name;
    }
}

TEST(FixtureTableDesign, StopsAtAFieldNameWithABlankUnlessBlanksAreAllowed) {
    // The table name has a blank too, so the list is filled with blanks allowed first.
    Opened o;
    open(o, "records", true);
    o.form.eAllowFieldNamesIwthSpace.value = shell::CheckState::Unchecked;
    load(o, "Spaced Table");
    ASSERT_EQ(o.ui.messages.size(), 1u);
    EXPECT_NE(o.ui.messages[0].text.find("You have a space( )in your field name first field"), std::string::npos)
        << o.ui.messages[0].text;

    Opened allowed;
    open(allowed, "records", true);
    EXPECT_EQ(load(allowed, "Spaced Table").fields,
              (std::vector<std::string>{"first field\tTEXT\t20\tFalse\t", "Amount\tLNGINT\t4\tFalse\t"}));
    EXPECT_TRUE(allowed.ui.messages.empty());
}

TEST(FixtureTableDesign, NamesOnlyTheDotRuleForAFieldWithABlankAndADot) {
    Opened o;
    open(o, "design", true);
    load(o, "Names");
    ASSERT_FALSE(o.ui.messages.empty());
    const std::string& text = o.ui.messages.back().text;
    EXPECT_NE(text.find("You have a dot(.) in your field name a b.c"), std::string::npos) << text;
    EXPECT_EQ(text.find("space"), std::string::npos) << text;
}

TEST(FixtureTableDesign, ShowsDefaultsAsTypedAndAllowZeroLengthAsCanNotBeNull) {
    Opened o;
    open(o, "design", true);
    const Design d = load(o, "Defaults");
    EXPECT_EQ(d.fields, (std::vector<std::string>{
                            "ID\tAUTONUM\t4\tFalse\t0",
                            "TextQuoted\tTEXT\t20\tFalse\t\"abc\"",
                            "TextEmpty\tTEXT\t20\tFalse\t\"\"",
                            "City\tTEXT\t30\tFalse\t\"New York\"",
                            "Created\tDATETIME\t8\tFalse\t=Date()",
                            "Stamp\tDATETIME\t8\tFalse\tNow()",
                            "Qty\tLNGINT\t4\tFalse\t1 000",
                            "Ratio\tDOUBLE\t8\tFalse\t-1.5e3",
                            "YesA\tBOOLEAN\t1\tFalse\tYes",
                            "YesB\tBOOLEAN\t1\tFalse\ttrue",
                            "YesC\tBOOLEAN\t1\tFalse\tOn",
                            "NoMinus\tBOOLEAN\t1\tFalse\t-1",
                            "NoOne\tBOOLEAN\t1\tFalse\t=No",
                            "Price\tCURRENCY\t8\tFalse\t0",
                            "Notes\tBLOB\t0\tFalse\t\"memo default\"",
                            "Req\tTEXT\t10\tTrue\t",
                            "NoZero\tTEXT\t10\tFalse\t",
                        }));
}

TEST(FixtureTableDesign, ListsOneKeyRowPerFirstFieldOfAnIndex) {
    Opened o;
    open(o, "design", true);
    // A composite primary key gives a row for its first field only.
    EXPECT_EQ(load(o, "Order Details").keys, (std::vector<std::string>{"OrderID\tTrue\tTrue\t4\tLNGINT"}));
    // The primary key and a second index on ID give one row; unique and descending indexes get theirs.
    EXPECT_EQ(load(o, "Keys").keys,
              (std::vector<std::string>{"ID\tTrue\tTrue\t4\tLNGINT", "Code\tTrue\tFalse\t10\tTEXT",
                                        "When\tFalse\tFalse\t8\tDATETIME"}));
    EXPECT_TRUE(load(o, "NoIndexes").keys.empty());
    EXPECT_EQ(o.form.eKeyCount.text, "0");
}

} // namespace
} // namespace kavero::jet::writer
