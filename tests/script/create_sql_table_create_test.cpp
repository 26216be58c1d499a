// The table script, compared whole: the worked Customers example under every key option,
// the type mapping, NULL rules, defaults, keys, and designs that cannot give a statement.
#include <gtest/gtest.h>

#include <string>

#include "script/create_sql_table_create.h"
#include "script/table_design.h"

using kavero::script::CreateSQLtablecreate;
using kavero::script::ScriptError;
using kavero::shell::frmMain;
using kavero::shell::OptionButton;
using kavero::testing::FieldRow;
using kavero::testing::KeyRow;
using kavero::testing::showCustomers;
using kavero::testing::showDesign;

namespace {

const std::string kCustomersKeys = "DROP TABLE IF EXISTS `Customers`\r\n"
                                   "CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT NULL, "
                                   "`Name` VARCHAR(50) NOT NULL, `Active` INTEGER NOT NULL DEFAULT 0, "
                                   "`Price` DOUBLE NOT NULL DEFAULT 0,  PRIMARY KEY (ID),  KEY (Name(50)))\r\n";
const std::string kCustomersNoKeys = "DROP TABLE IF EXISTS `Customers`\r\n"
                                     "CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT NULL, "
                                     "`Name` VARCHAR(50) NOT NULL, `Active` INTEGER NOT NULL DEFAULT 0, "
                                     "`Price` DOUBLE NOT NULL DEFAULT 0, PRIMARY KEY (ID))\r\n";
const std::string kCustomersIndexes = kCustomersNoKeys + "CREATE INDEX `ID` ON `Customers` (`ID`)\r\n"
                                                         "CREATE INDEX `Name` ON `Customers` (`Name`(50))\r\n";

std::string build(frmMain& form, OptionButton frmMain::*option, bool oneLine = false) {
    form.setOption(form.*option);
    return CreateSQLtablecreate(form, oneLine);
}

// The CREATE TABLE line of a one-field table, without keys.
std::string columnOf(const FieldRow& field) {
    frmMain form;
    showDesign(form, "t", {field}, {});
    const std::string script = build(form, &frmMain::eCreateNoKeys);
    const std::string head = "DROP TABLE IF EXISTS `t`\r\nCREATE TABLE `t`(";
    EXPECT_EQ(script.substr(0, head.size()), head);
    EXPECT_EQ(script.substr(script.size() - 3), ")\r\n");
    return script.substr(head.size(), script.size() - head.size() - 3);
}

} // namespace

TEST(TableScript, CustomersUnderEachKeyOption) {
    frmMain form;
    showCustomers(form);
    EXPECT_EQ(build(form, &frmMain::ECreateKey), kCustomersKeys);
    EXPECT_EQ(build(form, &frmMain::eCreateNoKeys), kCustomersNoKeys);
    EXPECT_EQ(build(form, &frmMain::eCreateIndex), kCustomersIndexes);
}

TEST(TableScript, OneLineFormEndsEveryStatementWithSemicolon) {
    frmMain form;
    showCustomers(form);
    EXPECT_EQ(build(form, &frmMain::ECreateKey, true),
              "DROP TABLE IF EXISTS `Customers`;CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT NULL, "
              "`Name` VARCHAR(50) NOT NULL, `Active` INTEGER NOT NULL DEFAULT 0, `Price` DOUBLE NOT NULL DEFAULT 0,  "
              "PRIMARY KEY (ID),  KEY (Name(50)));");
    // Three statements become one line with a ";" after each.
    const std::string indexes = build(form, &frmMain::eCreateIndex, true);
    EXPECT_EQ(indexes.find("\r\n"), std::string::npos);
    EXPECT_EQ(indexes, "DROP TABLE IF EXISTS `Customers`;CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT "
                       "NULL, `Name` VARCHAR(50) NOT NULL, `Active` INTEGER NOT NULL DEFAULT 0, `Price` DOUBLE NOT "
                       "NULL DEFAULT 0, PRIMARY KEY (ID));CREATE INDEX `ID` ON `Customers` (`ID`);CREATE INDEX "
                       "`Name` ON `Customers` (`Name`(50));");
}

TEST(TableScript, EmptiesTheOutputBoxAndLeavesTheDesignAlone) {
    frmMain form;
    showCustomers(form);
    form.eScriptOutPut.text = "an earlier script";
    const auto fieldsBefore = form.eFieldListGrid.cells;
    const auto keysBefore = form.ekeyListGrid.cells;
    build(form, &frmMain::ECreateKey);
    EXPECT_EQ(form.eScriptOutPut.text, "");
    EXPECT_EQ(form.eFieldListGrid.cells, fieldsBefore);
    EXPECT_EQ(form.ekeyListGrid.cells, keysBefore);
    EXPECT_EQ(form.eFieldCount.text, "4");
}

TEST(TableScript, EveryTypeWordGivesItsColumnAndNoFieldSwallowsAnother) {
    frmMain form;
    showDesign(form, "All types",
               {{"bin", "", "16"},
                {"yes no", "BOOLEAN", "1"},
                {"byte", "BYTE", "1"},
                {"int", "INTEGER", "2"},
                {"long", "LNGINT", "4"},
                {"money", "CURRENCY", "8"},
                {"single", "SINGLE", "4"},
                {"double", "DOUBLE", "8"},
                {"when", "DATETIME", "8"},
                {"text", "TEXT", "255", "True"},
                {"memo", "BLOB", "0", "True"},
                {"ole", "OLE", "0"},
                {"decimal", "DECIMAL", "17"},
                {"lower", "text", "10"},
                {"last bin", "", "510"}},
               {});
    EXPECT_EQ(build(form, &frmMain::eCreateNoKeys),
              "DROP TABLE IF EXISTS `All types`\r\n"
              "CREATE TABLE `All types`(`bin` LONGBLOB NOT NULL, `yes no` INTEGER NOT NULL, `byte` INTEGER NOT NULL, "
              "`int` INTEGER NOT NULL, `long` BIGINT NOT NULL, `money` DOUBLE NOT NULL, `single` REAL NOT NULL, "
              "`double` DOUBLE NOT NULL, `when` DATETIME NOT NULL, `text` VARCHAR(255) NULL, `memo` TEXT NULL, "
              "`ole` BLOB NOT NULL, `decimal` LONGTEXT NOT NULL, `lower` LONGTEXT NOT NULL, "
              "`last bin` LONGBLOB NOT NULL)\r\n");
}

TEST(TableScript, NotNullOnlyWhenTheCellReadsExactlyFalse) {
    EXPECT_EQ(columnOf({"a", "TEXT", "5", "False"}), "`a` VARCHAR(5) NOT NULL");
    EXPECT_EQ(columnOf({"a", "TEXT", "5", "True"}), "`a` VARCHAR(5) NULL");
    EXPECT_EQ(columnOf({"a", "TEXT", "5", "false"}), "`a` VARCHAR(5) NULL");
    EXPECT_EQ(columnOf({"a", "TEXT", "5", ""}), "`a` VARCHAR(5) NULL");
    EXPECT_EQ(columnOf({"a", "INTEGER", "2", "True"}), "`a` INTEGER NULL");
}

TEST(TableScript, DefaultsByTypeWord) {
    struct Case {
        const char* typeWord;
        const char* stored;
        const char* column;
    };
    const Case cases[] = {
        // Yes/No: the words for Yes in any letter case, and any number but zero, mean -1.
        {"BOOLEAN", "Yes", "`f` INTEGER NOT NULL DEFAULT -1"},
        {"BOOLEAN", "=true", "`f` INTEGER NOT NULL DEFAULT -1"},
        {"BOOLEAN", "oN", "`f` INTEGER NOT NULL DEFAULT -1"},
        {"BOOLEAN", "-1", "`f` INTEGER NOT NULL DEFAULT -1"},
        {"BOOLEAN", "1", "`f` INTEGER NOT NULL DEFAULT -1"},
        {"BOOLEAN", "No", "`f` INTEGER NOT NULL DEFAULT 0"},
        {"BOOLEAN", "False", "`f` INTEGER NOT NULL DEFAULT 0"},
        {"BOOLEAN", "0", "`f` INTEGER NOT NULL DEFAULT 0"},
        {"BOOLEAN", "-0.0e5", "`f` INTEGER NOT NULL DEFAULT 0"},
        {"BOOLEAN", "Yess", "`f` INTEGER NOT NULL DEFAULT 0"},
        // Text: quotes, blanks and "=" go; what is left is a MySQL string with its backslashes kept.
        {"TEXT", "\"abc\"", "`f` VARCHAR(20) NOT NULL DEFAULT 'abc'"},
        {"TEXT", "\"\"", "`f` VARCHAR(20) NOT NULL DEFAULT ''"},
        {"TEXT", "=\"New York\"", "`f` VARCHAR(20) NOT NULL DEFAULT 'NewYork'"},
        {"TEXT", "'it''s'", "`f` VARCHAR(20) NOT NULL DEFAULT 'its'"},
        {"TEXT", "\"C:\\temp\\\"", "`f` VARCHAR(20) NOT NULL DEFAULT 'C:\\\\temp\\\\'"},
        {"TEXT", "=Date()", "`f` VARCHAR(20) NOT NULL DEFAULT 'Date()'"},
        {"TEXT", "\"a,b\"", "`f` VARCHAR(20) NOT NULL DEFAULT 'a,b'"},
        // Numbers: a cleaned default that reads as a number, else no default at all.
        {"LNGINT", "1 000", "`f` BIGINT NOT NULL DEFAULT 1000"},
        {"DOUBLE", "-2.5E-3", "`f` DOUBLE NOT NULL DEFAULT -2.5E-3"},
        {"SINGLE", "+.5", "`f` REAL NOT NULL DEFAULT +.5"},
        {"CURRENCY", "=0", "`f` DOUBLE NOT NULL DEFAULT 0"},
        {"CURRENCY", "1,5", "`f` DOUBLE NOT NULL"},
        {"CURRENCY", "$5", "`f` DOUBLE NOT NULL"},
        {"INTEGER", "&H1F", "`f` INTEGER NOT NULL"},
        {"INTEGER", "inf", "`f` INTEGER NOT NULL"},
        {"DATETIME", "=Date()", "`f` DATETIME NOT NULL"},
        {"DATETIME", "#1/1/2000#", "`f` DATETIME NOT NULL"},
        {"OLE", "0", "`f` BLOB NOT NULL DEFAULT 0"},
        {"", "7", "`f` LONGBLOB NOT NULL DEFAULT 7"},
        {"DECIMAL", "\"x\"", "`f` LONGTEXT NOT NULL"},
        // Memo and AutoNumber columns never get a default.
        {"BLOB", "\"abc\"", "`f` TEXT NOT NULL"},
        {"AUTONUM", "0", "`f` DOUBLE auto_increment NOT NULL, PRIMARY KEY (f)"},
        // An empty default cell means none.
        {"INTEGER", "", "`f` INTEGER NOT NULL"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(columnOf({"f", c.typeWord, "20", "False", c.stored}), c.column)
            << c.typeWord << " with default " << c.stored;
    }
}

TEST(TableScript, CommasInNamesAndDefaultsDoNotMoveTheCuts) {
    frmMain form;
    showDesign(form, "a,b",
               {{"x,y", "TEXT", "5", "False", "\"1,2\""}, {"p,q", "INTEGER", "2", "False", "x,"}},
               {{"x,y", "False", "False", "5", "TEXT"}});
    EXPECT_EQ(build(form, &frmMain::ECreateKey), "DROP TABLE IF EXISTS `a,b`\r\n"
                                                 "CREATE TABLE `a,b`(`x,y` VARCHAR(5) NOT NULL DEFAULT '1,2', "
                                                 "`p,q` INTEGER NOT NULL,  KEY (x,y(5)))\r\n");
}

TEST(TableScript, BackticksInsideNamesAreDoubled) {
    frmMain form;
    showDesign(form, "Back`tick", {{"a`b", "INTEGER", "2"}}, {{"a`b", "False", "False", "2", "INTEGER"}});
    EXPECT_EQ(build(form, &frmMain::eCreateIndex), "DROP TABLE IF EXISTS `Back``tick`\r\nCREATE TABLE `Back``tick`(`a``b` "
                                                   "INTEGER NOT NULL)\r\nCREATE INDEX `a``b` ON `Back``tick` "
                                                   "(`a``b`)\r\n");
}

TEST(TableScript, KeysFollowTheKeyOption) {
    // An AutoNumber that no key row starts with, a unique index and a plain one.
    frmMain form;
    showDesign(form, "Orders",
               {{"No", "AUTONUM", "4"}, {"Code", "TEXT", "10"}, {"Qty", "INTEGER", "2"}},
               {{"Code", "True", "False", "10", "TEXT"}, {"Qty", "False", "False", "2", "INTEGER"}});
    const std::string columns = "CREATE TABLE `Orders`(`No` DOUBLE auto_increment NOT NULL, `Code` VARCHAR(10) NOT "
                                "NULL, `Qty` INTEGER NOT NULL, ";
    // Uniqueness is not carried over; the AutoNumber gets a bare KEY of its own.
    EXPECT_EQ(build(form, &frmMain::ECreateKey),
              "DROP TABLE IF EXISTS `Orders`\r\n" + columns + " KEY (Code(10)),  KEY (Qty), KEY (No))\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateNoKeys),
              "DROP TABLE IF EXISTS `Orders`\r\n" + columns + "PRIMARY KEY (No))\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateIndex), "DROP TABLE IF EXISTS `Orders`\r\n" + columns +
                                                       "PRIMARY KEY (No))\r\n"
                                                       "CREATE INDEX `Code` ON `Orders` (`Code`(10))\r\n"
                                                       "CREATE INDEX `Qty` ON `Orders` (`Qty`)\r\n");

    // Without an AutoNumber, "no keys" means no key at all.
    showDesign(form, "Plain", {{"a", "INTEGER", "2"}}, {{"a", "True", "True", "2", "INTEGER"}});
    EXPECT_EQ(build(form, &frmMain::eCreateNoKeys),
              "DROP TABLE IF EXISTS `Plain`\r\nCREATE TABLE `Plain`(`a` INTEGER NOT NULL)\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateIndex), "DROP TABLE IF EXISTS `Plain`\r\nCREATE TABLE `Plain`(`a` "
                                                   "INTEGER NOT NULL)\r\nCREATE INDEX `a` ON `Plain` (`a`)\r\n");
    EXPECT_EQ(build(form, &frmMain::ECreateKey),
              "DROP TABLE IF EXISTS `Plain`\r\nCREATE TABLE `Plain`(`a` INTEGER NOT NULL,  PRIMARY KEY (a))\r\n");
}

TEST(TableScript, KeysOnLongColumnsTakeAPrefix) {
    frmMain form;
    showDesign(form, "t", {{"bin", "", "16"}, {"dec", "DECIMAL", "17"}},
               {{"bin", "True", "True", "16", ""}, {"dec", "False", "False", "17", "DECIMAL"}});
    EXPECT_EQ(build(form, &frmMain::ECreateKey),
              "DROP TABLE IF EXISTS `t`\r\nCREATE TABLE `t`(`bin` LONGBLOB NOT NULL, `dec` LONGTEXT NOT NULL,  "
              "PRIMARY KEY (bin(255)),  KEY (dec(255)))\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateIndex),
              "DROP TABLE IF EXISTS `t`\r\nCREATE TABLE `t`(`bin` LONGBLOB NOT NULL, `dec` LONGTEXT NOT NULL)\r\n"
              "CREATE INDEX `bin` ON `t` (`bin`(255))\r\nCREATE INDEX `dec` ON `t` (`dec`(255))\r\n");
}

TEST(TableScript, ReadsOnlyTheRowsTheCountersName) {
    frmMain form;
    showCustomers(form);
    form.eFieldCount.text = "2";
    form.eKeyCount.text = "1";
    EXPECT_EQ(build(form, &frmMain::ECreateKey), "DROP TABLE IF EXISTS `Customers`\r\n"
                                                 "CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT NULL, "
                                                 "`Name` VARCHAR(50) NOT NULL,  PRIMARY KEY (ID))\r\n");
}

TEST(TableScript, DesignsWithoutAStatementAreRefusedWithAReason) {
    const auto refusal = [](frmMain& form) -> std::string {
        form.eScriptOutPut.text = "kept";
        try {
            build(form, &frmMain::ECreateKey);
        } catch (const ScriptError& e) {
            EXPECT_EQ(form.eScriptOutPut.text, "kept");
            return e.what();
        }
        ADD_FAILURE() << "the script was built";
        return {};
    };

    frmMain form;
    showDesign(form, "Only GUIDs", {}, {});
    EXPECT_EQ(refusal(form), "The table Only GUIDs has no fields that can be created (GUID fields are left out), so "
                             "there is no table to create.");

    form.eFieldListGrid.clear(); // an illegal field name stopped the load
    EXPECT_EQ(refusal(form), "The field list of the table Only GUIDs is empty because its design could not be "
                             "loaded, so there is no table to create.");

    showCustomers(form);
    form.eFieldCount.text = "";
    EXPECT_EQ(refusal(form), "The field count \"\" is not a number of rows.");
    form.eFieldCount.text = "4 ";
    EXPECT_EQ(refusal(form), "The field count \"4 \" is not a number of rows.");
    form.eFieldCount.text = "-1";
    EXPECT_EQ(refusal(form), "The field count \"-1\" is not a number of rows.");
    form.eFieldCount.text = "5";
    EXPECT_EQ(refusal(form), "The field list holds 4 rows, but its count says 5.");

    showCustomers(form);
    form.eKeyCount.text = "3";
    EXPECT_EQ(refusal(form), "The key list holds 2 rows, but its count says 3.");
    form.ekeyListGrid.clear(); // a failed key load leaves no rows at all
    form.eKeyCount.text = "1";
    EXPECT_EQ(refusal(form), "The key list holds 0 rows, but its count says 1.");
    form.eKeyCount.text = "0";
    EXPECT_NO_THROW(build(form, &frmMain::ECreateKey));

    showCustomers(form);
    form.eTables.listIndex = -1;
    EXPECT_EQ(refusal(form), "No table is selected, so there is no table script to create.");
}
