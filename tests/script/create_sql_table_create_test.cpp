// The table script, compared whole: the column each Access type becomes, NULL rules,
// defaults, keys under each option, quoting, and the "To file" command around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "script/create_sql_table_create.h"
#include "script/table_design.h"
#include "script/to_file_command.h"
#include "source/open_database.h"
#include "source/table_design.h"
#include "support/scripted_user_interface.h"

using kavero::script::convertToFile;
using kavero::script::CreateSQLtablecreate;
using kavero::script::ScriptError;
using kavero::shell::CheckState;
using kavero::shell::DesignField;
using kavero::shell::frmMain;
using kavero::shell::MessageIcon;
using kavero::shell::OptionButton;
using kavero::shell::Outcome;
using kavero::source::NameQuoting;
using kavero::testing::ScriptedUserInterface;
using namespace kavero::testing;

namespace {

std::string build(frmMain& form, OptionButton frmMain::*option, NameQuoting quoting = NameQuoting::Backquoted) {
    form.setOption(form.*option);
    return CreateSQLtablecreate(form, false, quoting);
}

// The column clause of a one-field table without keys.
std::string columnOf(const DesignField& field) {
    frmMain form;
    showDesign(form, "t", {field});
    const std::string script = build(form, &frmMain::eCreateNoKeys);
    const std::string head = "DROP TABLE IF EXISTS `t`\r\nCREATE TABLE `t`(";
    EXPECT_EQ(script.substr(0, head.size()), head);
    return script.substr(head.size(), script.size() - head.size() - 3);
}

} // namespace

TEST(TableScript, EveryTypeGetsItsColumnAndNullRule) {
    struct Case {
        DesignField field;
        const char* column;
    };
    const Case cases[] = {
        {{.type = kYesNo, .size = 1}, "INTEGER NOT NULL"},
        {{.type = kByte, .size = 1}, "INTEGER NOT NULL"},
        {{.type = kInteger, .size = 2}, "INTEGER NOT NULL"},
        {{.type = kLong, .size = 4}, "BIGINT NOT NULL"},
        {{.type = kLong, .size = 4, .attributes = kAutoNumber}, "DOUBLE auto_increment NOT NULL, PRIMARY KEY (`f`)"},
        // Other attribute bits, even with the auto-increment bit, leave a plain long.
        {{.type = kLong, .size = 4, .attributes = 17}, "BIGINT NOT NULL"},
        {{.type = kCurrency, .size = 8}, "DOUBLE NOT NULL"},
        {{.type = kSingle, .size = 4}, "REAL NOT NULL"},
        {{.type = kDouble, .size = 8}, "DOUBLE NOT NULL"},
        {{.type = kDate, .size = 8}, "DATETIME NOT NULL"},
        {{.type = kBinary, .size = 16}, "LONGBLOB NOT NULL"},
        {{.type = kText, .size = 50}, "VARCHAR(50) NOT NULL"},
        {{.type = kText, .size = 50, .allowZeroLength = true}, "VARCHAR(50) NULL"},
        {{.type = kMemo, .allowZeroLength = true}, "TEXT NULL"},
        // Nothing fills an OLE column, so it must take NULL.
        {{.type = kOle}, "BLOB NULL"},
        {{.type = kDecimal, .size = 16, .precision = 18, .scale = 4}, "DECIMAL(18,4) NOT NULL"},
        {{.type = kBigInt, .size = 8}, "BIGINT NOT NULL"},
        // The zero-length flag only means something for text.
        {{.type = kInteger, .size = 2, .allowZeroLength = true}, "INTEGER NOT NULL"},
    };
    for (Case c : cases) {
        c.field.name = "f";
        EXPECT_EQ(columnOf(c.field), std::string("`f` ") + c.column) << "type " << c.field.type;
    }
}

TEST(TableScript, DefaultsByType) {
    struct Case {
        int type;
        const char* stored;
        const char* clause;
    };
    const Case cases[] = {
        // Yes/No: the words for Yes in any letter case, and any number but zero, mean -1.
        {kYesNo, "Yes", " DEFAULT -1"},
        {kYesNo, "=true", " DEFAULT -1"},
        {kYesNo, "oN", " DEFAULT -1"},
        {kYesNo, "1", " DEFAULT -1"},
        {kYesNo, "No", " DEFAULT 0"},
        {kYesNo, "-0.0e5", " DEFAULT 0"},
        {kYesNo, "Yess", " DEFAULT 0"},
        // Text: quotes, blanks and "=" go; what is left is a string literal that keeps the rest.
        {kText, "=\"New York\"", " DEFAULT 'NewYork'"},
        {kText, "\"\"", " DEFAULT ''"},
        {kText, "'it''s'", " DEFAULT 'its'"},
        {kText, "\"C:\\temp\\\"", " DEFAULT 'C:\\\\temp\\\\'"},
        {kText, "\"a`b\"", " DEFAULT 'a`b'"},
        {kText, "\"a,b\"", " DEFAULT 'a,b'"},
        // Numbers: a cleaned default that reads as a number, else none.
        {kLong, "1 000", " DEFAULT 1000"},
        {kDouble, "-2.5E-3", " DEFAULT -2.5E-3"},
        {kCurrency, "=0", " DEFAULT 0"},
        {kCurrency, "1,5", ""},
        {kInteger, "&H1F", ""},
        {kInteger, "inf", ""},
        {kDate, "=Date()", ""},
        {kDecimal, "1.25", " DEFAULT 1.25"},
        {kBinary, "7", " DEFAULT 7"},
        // Memo and AutoNumber columns never get one.
        {kMemo, "\"abc\"", ""},
    };
    for (const Case& c : cases) {
        const DesignField field{.name = "f", .type = c.type, .size = 20, .defaultValue = c.stored};
        const std::string column = columnOf(field);
        EXPECT_EQ(column.substr(column.find("NULL") + 4), c.clause) << c.type << " with default " << c.stored;
    }
}

TEST(TableScript, KeysFollowTheKeyOptionWithQuotedNames) {
    frmMain form;
    showCustomers(form);
    const std::string columns = "DROP TABLE IF EXISTS `Customers`\r\nCREATE TABLE `Customers`(`ID` DOUBLE "
                                "auto_increment NOT NULL, `Name` VARCHAR(50) NOT NULL, `Active` INTEGER NOT NULL "
                                "DEFAULT 0, `Price` DOUBLE NOT NULL DEFAULT 0, ";
    EXPECT_EQ(build(form, &frmMain::ECreateKey), columns + " PRIMARY KEY (`ID`),  KEY (`Name`(50)))\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateNoKeys), columns + "PRIMARY KEY (`ID`))\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateIndex), columns + "PRIMARY KEY (`ID`))\r\n"
                                                             "CREATE INDEX `ID` ON `Customers` (`ID`)\r\n"
                                                             "CREATE INDEX `Name` ON `Customers` (`Name`(50))\r\n");

    // An AutoNumber no index starts with gets a KEY of its own; a unique index becomes a plain
    // KEY; a composite index gives its first field; a key on a GUID has no row; a second index
    // on the same first field adds nothing; binary keys take a prefix.
    showDesign(form, "Order lines",
               {{.name = "No", .type = kLong, .size = 4, .attributes = kAutoNumber},
                {.name = "Line code", .type = kText, .size = 10},
                {.name = "Guid", .type = kGuid, .size = 16},
                {.name = "Bin", .type = kBinary, .size = 8}},
               {{.name = "a", .fields = "+Line code;-No", .unique = true},
                {.name = "b", .fields = "+Guid", .primary = true},
                {.name = "c", .fields = "-Line code", .primary = true},
                {.name = "d", .fields = "+Bin"}});
    EXPECT_EQ(build(form, &frmMain::ECreateKey),
              "DROP TABLE IF EXISTS `Order lines`\r\nCREATE TABLE `Order lines`(`No` DOUBLE auto_increment NOT NULL, "
              "`Line code` VARCHAR(10) NOT NULL, `Bin` LONGBLOB NOT NULL,  KEY (`Line code`(10)),  KEY (`Bin`(255)), "
              "KEY (`No`))\r\n");
    // Without the allow-spaces box the names go out bare, backquotes inside them removed.
    showDesign(form, "Plain", {{.name = "a`b", .type = kInteger, .size = 2, .defaultValue = "1"}},
               {{.name = "k", .fields = "+a`b", .primary = true}});
    EXPECT_EQ(build(form, &frmMain::ECreateKey, NameQuoting::Bare),
              "DROP TABLE IF EXISTS Plain\r\nCREATE TABLE Plain(ab INTEGER NOT NULL DEFAULT 1,  PRIMARY KEY (ab))\r\n");
    EXPECT_EQ(build(form, &frmMain::eCreateIndex),
              "DROP TABLE IF EXISTS `Plain`\r\nCREATE TABLE `Plain`(`a``b` INTEGER NOT NULL DEFAULT 1)\r\n"
              "CREATE INDEX `a``b` ON `Plain` (`a``b`)\r\n");
}

TEST(TableScript, DesignsWithoutAStatementAreRefused) {
    frmMain form;
    const auto refusal = [&form]() -> std::string {
        try {
            build(form, &frmMain::ECreateKey);
        } catch (const ScriptError& e) {
            return e.description();
        }
        return "built";
    };
    showDesign(form, "Only GUIDs", {{.name = "g", .type = kGuid, .size = 16}});
    EXPECT_EQ(refusal(), "The table Only GUIDs has no fields that can be created (GUID fields are left out), so "
                         "there is no table to create.");
    form.design = {}; // an illegal field name stopped the load
    EXPECT_EQ(refusal(), "The field list of the table Only GUIDs is empty because its design could not be loaded, "
                         "so there is no table to create.");
    showCustomers(form);
    form.eTables.listIndex = -1;
    EXPECT_EQ(refusal(), "No table is selected, so there is no table script to create.");
}

TEST(ToFile, ShowsTheScriptWithTheChosenEndsAndSelectsIt) {
    frmMain form;
    showCustomers(form);
    form.setOption(form.eCreateNoKeys);
    form.eSQLTerminator.text = "GO";
    form.eTabControl.tab = kavero::shell::kTabPublish;
    form.eFilename.hasFocus = true;
    ScriptedUserInterface ui;
    EXPECT_EQ(convertToFile(form, ui).outcome, Outcome::Done);
    const std::string script = "DROP TABLE IF EXISTS CustomersGOCREATE TABLE Customers(ID DOUBLE auto_increment NOT "
                               "NULL, Name VARCHAR(50) NOT NULL, Active INTEGER NOT NULL DEFAULT 0, Price DOUBLE NOT "
                               "NULL DEFAULT 0, PRIMARY KEY (ID))GO";
    EXPECT_EQ(form.eScriptOutPut.text, script);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The SQL script is now created for you. Copy it from the box below and execute "
                                   "it on your SQL-Server");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(form.eTabControl.tab, kavero::shell::kTabScriptOutput);
    EXPECT_TRUE(form.eScriptOutPut.hasFocus);
    EXPECT_FALSE(form.eFilename.hasFocus);
    EXPECT_EQ(form.eScriptOutPut.selLength, static_cast<int>(script.size()));

    // "CR" is a carriage return; with the box set the backquotes stay.
    form.eSQLTerminator.text = "CR";
    form.eAllowFieldNamesIwthSpace.value = CheckState::Checked;
    convertToFile(form, ui);
    EXPECT_EQ(form.eScriptOutPut.text.substr(0, 34), "DROP TABLE IF EXISTS `Customers`\rC");
}

TEST(ToFile, StopsReportWhyAndLeaveOrEmptyTheBox) {
    frmMain form;
    showCustomers(form);
    form.eTables.listIndex = -1;
    form.setOption(form.eCreateIndex, false);
    form.eScriptOutPut.text = "the previous script";
    ScriptedUserInterface ui;
    const auto missing = convertToFile(form, ui);
    EXPECT_EQ(missing.outcome, Outcome::Stopped);
    EXPECT_EQ(missing.text, "1. You have to select a table to convert first !\r\n"
                            "2. You have to choose how KAVERO should create your keys !\r\n"
                            "\r\nBefore you can convert your database\r\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, missing.text);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(form.eScriptOutPut.text, "the previous script");

    showDesign(form, "Only GUIDs", {{.name = "g", .type = kGuid, .size = 16}});
    form.setOption(form.ECreateKey);
    const auto refused = convertToFile(form, ui);
    EXPECT_EQ(refused.outcome, Outcome::Stopped);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].title, "Error when creating the SQL script, on eCOnvertLocal");
    EXPECT_EQ(form.eScriptOutPut.text, ""); // an earlier script must not pass for this table's
}

namespace {

// The lossless script of a fixture table, picked as a click would with the Options choice on.
std::string losslessScript(const char* file, const std::string& table) {
    frmMain form;
    ScriptedUserInterface ui;
    form.eFilename.text = std::string(KAVERO_FIXTURE_DIR) + "/" + file;
    form.eLossless.checked = true;
    form.eAllowFieldNamesIwthSpace.value = CheckState::Checked;
    EXPECT_TRUE(kavero::source::OpenAccessDatabase(form, ui, {}).ok()) << file;
    const auto& items = form.eTables.items;
    form.eTables.listIndex = static_cast<int>(std::find(items.begin(), items.end(), table) - items.begin());
    EXPECT_TRUE(kavero::source::loadTableDesign(form, ui, table, {}).ok()) << table;
    // The key option does not matter: every index of the Access table is created.
    form.setOption(form.eCreateIndex);
    return CreateSQLtablecreate(form, false);
}

} // namespace

TEST(TableScript, LosslessKeepsEveryTypeNullAndIndex) {
    const std::string keepZero =
        "SET SESSION sql_mode = TRIM(BOTH ',' FROM CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO'))\r\n";
    // Every type with a column that holds its values; NULL allowed unless Required; the
    // AutoNumber keeps its numbers.
    EXPECT_EQ(
        losslessScript("types.mdb", "AllTypes"),
        keepZero +
            "DROP TABLE IF EXISTS `AllTypes`\r\nCREATE TABLE `AllTypes`(`ID` INT AUTO_INCREMENT NOT NULL, "
            "`YesNo` TINYINT(1) NULL, `Byte` TINYINT UNSIGNED NULL, `Integer` SMALLINT NULL, `Long` INT NULL, "
            "`Currency` DECIMAL(19,4) NULL, `Single` FLOAT NULL, `Double` DOUBLE NULL, `When` DATETIME NULL, "
            "`Text` VARCHAR(255) NULL, `Memo` LONGTEXT NULL, `Ole` LONGBLOB NULL, `Binary` LONGBLOB NULL, "
            "`Guid` CHAR(38) NULL, `Decimal` DECIMAL(28,6) NULL, PRIMARY KEY (`ID`)) DEFAULT CHARSET=utf8mb4\r\n");
    // Required fields NOT NULL, defaults kept but none on a LONGTEXT, and every index: composite
    // ones in their order and direction, unique ones unique, whole VARCHARs without a prefix.
    EXPECT_EQ(losslessScript("shop.mdb", "Products"),
              keepZero +
                  "DROP TABLE IF EXISTS `Products`\r\nCREATE TABLE `Products`(`ProductID` INT AUTO_INCREMENT NOT NULL, "
                  "`SKU` VARCHAR(12) NOT NULL, `ProductName` VARCHAR(60) NULL, `Category` VARCHAR(30) NULL, "
                  "`UnitPrice` DECIMAL(19,4) NULL DEFAULT 0, `Weight` FLOAT NULL, `UnitsInStock` SMALLINT NULL "
                  "DEFAULT 0, `Discontinued` TINYINT(1) NULL, `Description` LONGTEXT NULL, `Photo` LONGBLOB NULL, "
                  "PRIMARY KEY (`ProductID`), UNIQUE KEY `SKU` (`SKU`), KEY `Category` (`Category`, `UnitPrice` "
                  "DESC)) DEFAULT CHARSET=utf8mb4\r\n");
    const std::string customers = losslessScript("shop.mdb", "Customers");
    EXPECT_NE(customers.find("`Country` VARCHAR(30) NULL DEFAULT 'Deutschland', "), std::string::npos) << customers;
    EXPECT_NE(customers.find("`Notes` LONGTEXT NULL, "), std::string::npos) << customers;
    EXPECT_NE(customers.find("KEY `LastName` (`LastName`, `FirstName`), UNIQUE KEY `Email` (`Email`))"),
              std::string::npos)
        << customers;

    // A row wider than InnoDB allows: the widest VARCHARs become TEXT until it fits, and the
    // script says which; a composite key over long texts is cut to the key limit.
    frmMain form;
    std::vector<DesignField> fields;
    for (int i = 0; i < 90; ++i) fields.push_back({.name = "c" + std::to_string(i), .type = kText, .size = 50});
    fields.push_back({.name = "w`ide", .type = kText, .size = 255});
    for (int i = 0; i < 4; ++i) fields.push_back({.name = "k" + std::to_string(i), .type = kMemo});
    showDesign(form, "t", fields);
    form.design.indexes = {{"four", "+k0;+k1;+k2;-k3", true, false}};
    kavero::shell::chooseLossless(form.design, true);
    form.eLossless.checked = true;
    const std::string wide = CreateSQLtablecreate(form, false);
    EXPECT_NE(wide.find("`c0` TEXT NULL"), std::string::npos);
    EXPECT_NE(wide.find("`w``ide` VARCHAR(255) NULL"), std::string::npos); // off the page already: kept
    EXPECT_NE(wide.find("UNIQUE KEY `four` (`k0`(192), `k1`(192), `k2`(192), `k3`(192) DESC)"), std::string::npos)
        << wide;
    const std::size_t note = wide.find(") DEFAULT CHARSET=utf8mb4 /* Created as TEXT so that each row fits the row "
                                       "size limits: `c");
    EXPECT_NE(note, std::string::npos) << wide;
}
