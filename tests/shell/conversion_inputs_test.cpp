// The preconditions of the conversion commands: which checks run for which target, their
// exact texts and numbers, the closing lines, and the tab page they turn to.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

// A window where every target has what it needs.
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
    return form;
}

enum Target { ToFile, Direct, Isp };

void noDirectInputs(frmMain& f) {
    f.cboDSNList.select(0);
    f.eMySqlDatabase.text.clear();
}

void noIspInputs(frmMain& f) {
    f.eProvideName.select(0);
    f.eSourceDest.text = f.eMySqlserveraddressISP.text = f.eMySqlDatabaseISP.text = f.eMySqlusernameISP.text = "";
}

} // namespace

TEST(ConversionInputs, EachTargetListsWhatIsMissingInOrderAndShowsItsPage) {
    const struct {
        const char* what;
        std::function<void(frmMain&)> change;
        std::vector<Target> targets;
        std::vector<std::string> missing; // empty: nothing missing, the tab stays
        int tab;
    } cases[] = {
        {"complete", [](frmMain&) {}, {ToFile, Direct, Isp}, {}, 0},
        {"texts of blanks are not empty",
         [](frmMain& f) {
             f.eFilename.text = f.eMySqlDatabase.text = f.eSourceDest.text = " ";
             f.eMySqlserveraddressISP.text = f.eMySqlDatabaseISP.text = f.eMySqlusernameISP.text = "\t";
             f.setOption(f.ManuelUpload);
         },
         {Direct, Isp},
         {},
         0},
        {"key option ECreateKey alone", [](frmMain& f) { f.setOption(f.ECreateKey); }, {ToFile}, {}, 0},
        {"key option eCreateNoKeys alone", [](frmMain& f) { f.setOption(f.eCreateNoKeys); }, {ToFile}, {}, 0},
        // An empty table list has no selection either, so checks 2 and 3 both fail; the numbers
        // run on across common and target checks, and the last failing one decides the page.
        {"fresh window, manual upload",
         [](frmMain& f) { (f = frmMain()).setOption(f.ManuelUpload); },
         {Isp},
         {kFilename, kNoDatabase, kNoTable, kNoKeyOption, kNoOutputFile, kNoIspServer, kNoIspDatabase, kNoIspUser},
         kTabPublish},
        {"no data source, no database", noDirectInputs, {Direct}, {kNoDsn, kNoDsnDatabase}, kTabPublish},
        {"direct gaps do not matter elsewhere", noDirectInputs, {ToFile, Isp}, {}, 0},
        {"nothing chosen in the data source list",
         [](frmMain& f) {
             f.cboDSNList.listIndex = -1;
             f.cboDSNList.text.clear();
         },
         {Direct},
         {kNoDsn},
         kTabPublish},
        {"no file name", [](frmMain& f) { f.eFilename.text.clear(); }, {Direct, Isp}, {kFilename}, kTabSelectDatabase},
        {"direct to ISP: the provider counts, the output file does not",
         noIspInputs,
         {Isp},
         {kNoProvider, kNoIspServer, kNoIspDatabase, kNoIspUser},
         kTabPublish},
        {"manual upload: the output file counts, the provider does not",
         [](frmMain& f) {
             noIspInputs(f);
             f.setOption(f.ManuelUpload);
         },
         {Isp},
         {kNoOutputFile, kNoIspServer, kNoIspDatabase, kNoIspUser},
         kTabPublish},
        {"neither publish row: only the server entries",
         [](frmMain& f) {
             noIspInputs(f);
             f.setOption(f.eDirectToISP, false);
         },
         {Isp},
         {kNoIspServer, kNoIspDatabase, kNoIspUser},
         kTabPublish},
    };
    for (const auto& c : cases) {
        for (Target target : c.targets) {
            frmMain form = completeForm();
            c.change(form);
            form.eTabControl.tab = kTabScriptOutput;
            std::string expected;
            for (std::size_t i = 0; i < c.missing.size(); ++i) {
                expected += std::to_string(i + 1) + c.missing[i] + "\r\n";
            }
            if (!expected.empty()) expected += "\r\nBefore you can convert your database\r\n";
            EXPECT_EQ(CheckConversionInputs(form, target == ToFile, target == Isp, target == Direct), expected)
                << c.what << ", target " << target;
            EXPECT_EQ(form.eTabControl.tab, c.missing.empty() ? kTabScriptOutput : c.tab) << c.what;
        }
    }
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
