// The preconditions of the conversion commands: which checks run for which target, their
// exact texts and numbers, the closing lines, and the tab page they turn to.
#include <gtest/gtest.h>

#include <string>

#include "shell/conversion_inputs.h"

using namespace kavero::shell;

namespace {

const std::string kFilename = ". You have selected no filename for the Ms-Access database !";
const std::string kNoDatabase = ". You have to select a MS-Access database to convert first !";
const std::string kNoTable = ". You have to select a table to convert first !";
const std::string kNoKeyOption = ". You have to choose how KAVERO should create your keys !";
const std::string kNoDsn = ". You have to select a DSN to publish you database to";
const std::string kNoDsnDatabase = ". You have to select a database to publish you table to";
const std::string kNoProvider = ". You have to select a ISP provide to publish you database to";
const std::string kNoOutputFile = ". You have to select a output file to publish the KAVERO scripts to";
const std::string kNoIspServer = ". You have to enter a mySQL servername at your ISP";
const std::string kNoIspDatabase = ". You have to enter a mySQL databasename at yours ISP mySQL server";
const std::string kNoIspUser = ". You have to enter your username for your ISP's mySQL server";
const std::string kClosing = "\r\nBefore you can convert your database\r\n";

// A window where every target has what it needs, standing on the script output page.
frmMain completeForm() {
    frmMain form;
    form.eFilename.text = "/home/user/shop.mdb";
    form.eTables.addItem("Customers");
    form.eTables.addItem("Orders");
    form.eTables.listIndex = 1;
    form.setOption(form.eCreateIndex);
    form.cboDSNList.addItem("(None)");
    form.cboDSNList.addItem("shop");
    form.cboDSNList.select(1);
    form.eMySqlDatabase.text = "shop";
    form.setOption(form.eDirectToISP);
    form.eProvideName.addItem("(None)");
    form.eProvideName.addItem("Example hosting");
    form.eProvideName.select(1);
    form.eSourceDest.text = "/home/user/pages/shop.asp";
    form.eMySqlserveraddressISP.text = "db.example.com";
    form.eMySqlDatabaseISP.text = "shop";
    form.eMySqlusernameISP.text = "shopuser";
    form.eTabControl.tab = kTabScriptOutput;
    return form;
}

std::string numbered(std::initializer_list<std::string> texts) {
    std::string list;
    int number = 0;
    for (const std::string& text : texts) list += std::to_string(++number) + text + "\r\n";
    return list + kClosing;
}

} // namespace

TEST(ConversionInputs, CompleteInputsPassEveryTargetWithoutTurningTheTab) {
    for (bool isp : {false, true}) {
        for (bool dsn : {false, true}) {
            frmMain form = completeForm();
            EXPECT_EQ(CheckConversionInputs(form, !isp && !dsn, isp, dsn), "") << isp << dsn;
            EXPECT_EQ(form.eTabControl.tab, kTabScriptOutput);
        }
    }
}

TEST(ConversionInputs, FreshWindowMissesEveryCommonInputInOrder) {
    frmMain form;
    form.eTabControl.tab = kTabScriptOutput;
    // An empty table list has no selection either, so checks 2 and 3 both fail.
    EXPECT_EQ(CheckConversionInputs(form, true, false, false),
              numbered({kFilename, kNoDatabase, kNoTable, kNoKeyOption}));
    EXPECT_EQ(form.eTabControl.tab, kTabSelectDatabase);
}

TEST(ConversionInputs, NoTableAndNoKeyOptionGiveTwoNumberedLinesAndTheClosingLines) {
    frmMain form = completeForm();
    form.eTables.listIndex = -1;
    form.setOption(form.eCreateIndex, false);
    EXPECT_EQ(CheckConversionInputs(form, true, false, false),
              "1. You have to select a table to convert first !\r\n"
              "2. You have to choose how KAVERO should create your keys !\r\n"
              "\r\n"
              "Before you can convert your database\r\n");
    EXPECT_EQ(form.eTabControl.tab, kTabSelectDatabase);
}

TEST(ConversionInputs, EachKeyOptionAloneSatisfiesTheKeyCheck) {
    for (OptionButton frmMain::*option : {&frmMain::ECreateKey, &frmMain::eCreateIndex, &frmMain::eCreateNoKeys}) {
        frmMain form = completeForm();
        form.setOption(form.eCreateIndex, false);
        form.setOption(form.*option);
        EXPECT_EQ(CheckConversionInputs(form, true, false, false), "");
    }
}

TEST(ConversionInputs, TextsOfBlanksAreNotEmpty) {
    frmMain form = completeForm();
    form.eFilename.text = " ";
    form.eMySqlDatabase.text = "  ";
    form.eSourceDest.text = " ";
    form.eMySqlserveraddressISP.text = " ";
    form.eMySqlDatabaseISP.text = "\t";
    form.eMySqlusernameISP.text = " ";
    form.setOption(form.ManuelUpload);
    EXPECT_EQ(CheckConversionInputs(form, false, false, true), "");
    EXPECT_EQ(CheckConversionInputs(form, false, true, false), "");
}

TEST(ConversionInputs, DirectTargetChecksTheDataSourceAndDatabaseAndShowsThePublishPage) {
    frmMain form = completeForm();
    form.cboDSNList.select(0);
    form.eMySqlDatabase.text.clear();
    EXPECT_EQ(CheckConversionInputs(form, false, false, true), numbered({kNoDsn, kNoDsnDatabase}));
    EXPECT_EQ(form.eTabControl.tab, kTabPublish);

    // The same gaps do not matter to the other targets.
    form.eTabControl.tab = kTabScriptOutput;
    EXPECT_EQ(CheckConversionInputs(form, true, false, false), "");
    EXPECT_EQ(CheckConversionInputs(form, false, true, false), "");
    EXPECT_EQ(form.eTabControl.tab, kTabScriptOutput);

    // A data-source list with nothing chosen offers no source either.
    form.cboDSNList.listIndex = -1;
    form.cboDSNList.text.clear();
    form.eMySqlDatabase.text = "shop";
    EXPECT_EQ(CheckConversionInputs(form, false, false, true), numbered({kNoDsn}));
}

TEST(ConversionInputs, NumbersRunOnAcrossCommonAndTargetChecksAndTheLastDecidesThePage) {
    frmMain form = completeForm();
    form.eFilename.text.clear();
    form.eMySqlDatabase.text.clear();
    EXPECT_EQ(CheckConversionInputs(form, false, false, true), numbered({kFilename, kNoDsnDatabase}));
    EXPECT_EQ(form.eTabControl.tab, kTabPublish);

    // Only common checks fail: the database page is shown although a target was asked for.
    form = completeForm();
    form.eFilename.text.clear();
    EXPECT_EQ(CheckConversionInputs(form, false, false, true), numbered({kFilename}));
    EXPECT_EQ(form.eTabControl.tab, kTabSelectDatabase);
}

TEST(ConversionInputs, IspTargetChecksFollowThePublishOption) {
    frmMain form = completeForm();
    form.eProvideName.select(0);
    form.eSourceDest.text.clear();
    form.eMySqlserveraddressISP.text.clear();
    form.eMySqlDatabaseISP.text.clear();
    form.eMySqlusernameISP.text.clear();

    // Direct to ISP: the provider counts, the output file does not.
    EXPECT_EQ(CheckConversionInputs(form, false, true, false),
              numbered({kNoProvider, kNoIspServer, kNoIspDatabase, kNoIspUser}));
    EXPECT_EQ(form.eTabControl.tab, kTabPublish);

    // Manual upload: the output file counts, the provider does not.
    form.setOption(form.ManuelUpload);
    EXPECT_EQ(CheckConversionInputs(form, false, true, false),
              numbered({kNoOutputFile, kNoIspServer, kNoIspDatabase, kNoIspUser}));

    // Neither option on: only the three server entries.
    form.setOption(form.ManuelUpload, false);
    EXPECT_EQ(CheckConversionInputs(form, false, true, false), numbered({kNoIspServer, kNoIspDatabase, kNoIspUser}));
}

TEST(ConversionInputs, EveryCheckOfTheIspTargetCanFailAtOnceAfterTheCommonOnes) {
    frmMain form;
    form.setOption(form.ManuelUpload);
    EXPECT_EQ(CheckConversionInputs(form, false, true, false),
              numbered({kFilename, kNoDatabase, kNoTable, kNoKeyOption, kNoOutputFile, kNoIspServer, kNoIspDatabase,
                        kNoIspUser}));
    EXPECT_EQ(form.eTabControl.tab, kTabPublish);
}

TEST(ConversionInputs, TheToFileFlagChangesNothing) {
    for (bool toFile : {false, true}) {
        frmMain form = completeForm();
        form.eTables.listIndex = -1;
        EXPECT_EQ(CheckConversionInputs(form, toFile, false, false), numbered({kNoTable}));
    }
}
