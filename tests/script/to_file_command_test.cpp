// The "To file" command: the precondition box, the script as the terminator and quoting
// options shape it, the information box, the script page and the selection.
#include <gtest/gtest.h>

#include <string>

#include "script/table_design.h"
#include "script/to_file_command.h"
#include "support/scripted_user_interface.h"

using kavero::script::convertToFile;
using kavero::script::terminatorFor;
using kavero::shell::CheckState;
using kavero::shell::frmMain;
using kavero::shell::MessageButtons;
using kavero::shell::MessageIcon;
using kavero::testing::ScriptedUserInterface;
using kavero::testing::showCustomers;
using kavero::testing::showDesign;

namespace {

const std::string kCreatedMessage =
    "The SQL script is now created for you. Copy it from the box below and execute it on your SQL-Server";

// The three statements of Customers with keys as indexes, each followed by `end`.
std::string customersIndexes(const std::string& end, bool backticks) {
    std::string script = "DROP TABLE IF EXISTS `Customers`" + end +
                         "CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT NULL, `Name` VARCHAR(50) NOT "
                         "NULL, `Active` INTEGER NOT NULL DEFAULT 0, `Price` DOUBLE NOT NULL DEFAULT 0, PRIMARY KEY "
                         "(ID))" +
                         end + "CREATE INDEX `ID` ON `Customers` (`ID`)" + end +
                         "CREATE INDEX `Name` ON `Customers` (`Name`(50))" + end;
    if (!backticks) std::erase(script, '`');
    return script;
}

frmMain customersForm(const std::string& terminator, bool allowSpaces) {
    frmMain form;
    showCustomers(form);
    form.setOption(form.eCreateIndex);
    form.eSQLTerminator.text = terminator;
    form.eAllowFieldNamesIwthSpace.value = allowSpaces ? CheckState::Checked : CheckState::Unchecked;
    return form;
}

} // namespace

TEST(ToFile, EachTerminatorEndsEveryStatement) {
    struct Case {
        const char* boxText;
        std::string end;
    };
    const Case cases[] = {{"CrLf", "\r\n"}, {"CR", "\r"},   {";", ";"},     {",", ","},
                          {"GO", "GO"},     {"crlf", "crlf"}, {" ;\n", " ;\n"}, {"", ""}};
    for (const Case& c : cases) {
        for (bool allowSpaces : {true, false}) {
            frmMain form = customersForm(c.boxText, allowSpaces);
            ScriptedUserInterface ui;
            convertToFile(form, ui);
            EXPECT_EQ(form.eScriptOutPut.text, customersIndexes(c.end, allowSpaces))
                << "terminator \"" << c.boxText << "\", spaces allowed " << allowSpaces;
        }
    }
}

TEST(ToFile, KeysAsKeysAndNoKeysWithSemicolons) {
    frmMain form = customersForm(";", true);
    ScriptedUserInterface ui;
    form.setOption(form.ECreateKey);
    convertToFile(form, ui);
    EXPECT_EQ(form.eScriptOutPut.text,
              "DROP TABLE IF EXISTS `Customers`;CREATE TABLE `Customers`(`ID` DOUBLE auto_increment NOT NULL, "
              "`Name` VARCHAR(50) NOT NULL, `Active` INTEGER NOT NULL DEFAULT 0, `Price` DOUBLE NOT NULL DEFAULT 0,  "
              "PRIMARY KEY (ID),  KEY (Name(50)));");
    form.setOption(form.eCreateNoKeys);
    form.eAllowFieldNamesIwthSpace.value = CheckState::Unchecked;
    convertToFile(form, ui);
    EXPECT_EQ(form.eScriptOutPut.text,
              "DROP TABLE IF EXISTS Customers;CREATE TABLE Customers(ID DOUBLE auto_increment NOT NULL, Name "
              "VARCHAR(50) NOT NULL, Active INTEGER NOT NULL DEFAULT 0, Price DOUBLE NOT NULL DEFAULT 0, PRIMARY KEY "
              "(ID));");
}

TEST(ToFile, SuccessShowsTheScriptPageWithTheWholeTextSelected) {
    frmMain form = customersForm("CrLf", true);
    form.eTabControl.tab = kavero::shell::kTabPublish;
    form.eFilename.hasFocus = true;
    ScriptedUserInterface ui;
    convertToFile(form, ui);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kCreatedMessage);
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(form.eTabControl.tab, kavero::shell::kTabScriptOutput);
    EXPECT_TRUE(form.eScriptOutPut.hasFocus);
    EXPECT_FALSE(form.eFilename.hasFocus);
    EXPECT_EQ(form.eScriptOutPut.selStart, 0);
    EXPECT_EQ(form.eScriptOutPut.selLength, static_cast<int>(customersIndexes("\r\n", true).size()));
}

TEST(ToFile, WithoutAllowedSpacesNoBacktickIsLeftAnywhere) {
    frmMain form;
    showDesign(form, "Notes", {{"Body", "TEXT", "20", "False", "\"`quoted`\""}, {"Id", "LNGINT", "4"}},
               {{"Body", "False", "False", "20", "TEXT"}});
    form.setOption(form.eCreateIndex);
    form.eSQLTerminator.text = "CrLf";
    ScriptedUserInterface ui;
    convertToFile(form, ui);
    EXPECT_EQ(form.eScriptOutPut.text, "DROP TABLE IF EXISTS Notes\r\nCREATE TABLE Notes(Body VARCHAR(20) NOT NULL "
                                       "DEFAULT 'quoted', Id BIGINT NOT NULL)\r\nCREATE INDEX Body ON Notes "
                                       "(Body(20))\r\n");
}

TEST(ToFile, SpacedNamesKeepTheirBackticksButKeyClausesStayBare) {
    frmMain form;
    showDesign(form, "Order lines", {{"Line no", "LNGINT", "4"}}, {{"Line no", "True", "True", "4", "LNGINT"}});
    form.setOption(form.ECreateKey);
    form.eSQLTerminator.text = "CrLf";
    form.eAllowFieldNamesIwthSpace.value = CheckState::Checked;
    ScriptedUserInterface ui;
    convertToFile(form, ui);
    EXPECT_EQ(form.eScriptOutPut.text, "DROP TABLE IF EXISTS `Order lines`\r\nCREATE TABLE `Order lines`(`Line no` "
                                       "BIGINT NOT NULL,  PRIMARY KEY (Line no))\r\n");
}

TEST(ToFile, MissingInputsAreListedAndNothingElseChanges) {
    frmMain form = customersForm(";", true);
    form.eTables.listIndex = -1;
    form.setOption(form.eCreateIndex, false);
    form.eScriptOutPut.text = "the previous script";
    form.eScriptOutPut.selLength = 3;
    form.eTabControl.tab = kavero::shell::kTabScriptOutput;
    ScriptedUserInterface ui;
    convertToFile(form, ui);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "1. You have to select a table to convert first !\r\n"
                                   "2. You have to choose how KAVERO should create your keys !\r\n"
                                   "\r\nBefore you can convert your database\r\n");
    EXPECT_EQ(ui.messages[0].title, "KAVERO");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(form.eScriptOutPut.text, "the previous script");
    EXPECT_EQ(form.eScriptOutPut.selLength, 3);
    EXPECT_EQ(form.eTabControl.tab, kavero::shell::kTabSelectDatabase); // the preconditions point at the gap
}

TEST(ToFile, DataSourceAndIspGapsDoNotStopIt) {
    frmMain form = customersForm("CrLf", true);
    form.cboDSNList.addItem("(None)");
    form.cboDSNList.select(0);
    form.setOption(form.ManuelUpload);
    ScriptedUserInterface ui;
    convertToFile(form, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kCreatedMessage);
}

TEST(ToFile, ABuildFailureIsReportedAndEmptiesTheBox) {
    frmMain form;
    showDesign(form, "Only GUIDs", {}, {});
    form.setOption(form.ECreateKey);
    form.eSQLTerminator.text = ";";
    form.eScriptOutPut.text = "DROP TABLE IF EXISTS Customers;";
    form.eTabControl.tab = kavero::shell::kTabPublish;
    ScriptedUserInterface ui;
    convertToFile(form, ui);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The table Only GUIDs has no fields that can be created (GUID fields are left "
                                   "out), so there is no table to create.");
    EXPECT_EQ(ui.messages[0].title, "Error when creating the SQL script, on eCOnvertLocal");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(form.eScriptOutPut.text, "");
    EXPECT_EQ(form.eTabControl.tab, kavero::shell::kTabPublish);
}

TEST(ToFile, TerminatorWords) {
    EXPECT_EQ(terminatorFor("CR"), "\r");
    EXPECT_EQ(terminatorFor("CrLf"), "\r\n");
    EXPECT_EQ(terminatorFor("CRLF"), "CRLF");
    EXPECT_EQ(terminatorFor(";"), ";");
    EXPECT_EQ(terminatorFor(""), "");
}
