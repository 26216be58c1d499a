// The preconditions of the conversion commands: which checks run for which target, their
// exact texts and numbers, the closing lines, and the tab page they turn to.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/conversion_inputs.h"

using namespace kavero::shell;

namespace {

// The texts of checks 1 to 11, in the order they run.
const std::string kCheck[] = {
    "",
    ". You have selected no filename for the Ms-Access database !",
    ". You have to select a MS-Access database to convert first !",
    ". You have to select a table to convert first !",
    ". You have to choose how KAVERO should create your keys !",
    ". You have to select a DSN to publish you database to",
    ". You have to select a database to publish you table to",
    ". You have to select a ISP provide to publish you database to",
    ". You have to select a output file to publish the KAVERO scripts to",
    ". You have to enter a mySQL servername at your ISP",
    ". You have to enter a mySQL databasename at yours ISP mySQL server",
    ". You have to enter your username for your ISP's mySQL server",
};

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

void noTableNoKeyOption(frmMain& f) {
    f.eTables.listIndex = -1;
    f.setOption(f.eCreateIndex, false);
}

void blanksOnly(frmMain& f) {
    f.eFilename.text = f.eMySqlDatabase.text = f.eSourceDest.text = " ";
    f.eMySqlserveraddressISP.text = f.eMySqlDatabaseISP.text = f.eMySqlusernameISP.text = "\t";
    f.setOption(f.ManuelUpload);
}

void freshWindowUploadingByHand(frmMain& f) {
    f = frmMain();
    f.setOption(f.ManuelUpload);
}

void noDataSourceNoDatabase(frmMain& f) {
    f.cboDSNList.select(0);
    f.eMySqlDatabase.text.clear();
}

void nothingChosenInTheDataSourceList(frmMain& f) {
    f.cboDSNList.listIndex = -1;
    f.cboDSNList.text.clear();
}

void noProviderNoOutputFile(frmMain& f) {
    f.eProvideName.select(0);
    f.eSourceDest.text.clear();
}

void uploadingByHandWithoutOutputFile(frmMain& f) {
    noProviderNoOutputFile(f);
    f.setOption(f.ManuelUpload);
}

void neitherPublishRowNorServer(frmMain& f) {
    noProviderNoOutputFile(f);
    f.setOption(f.eDirectToISP, false);
    f.eMySqlserveraddressISP.text = f.eMySqlDatabaseISP.text = f.eMySqlusernameISP.text = "";
}

} // namespace

TEST(ConversionInputs, EachTargetListsWhatIsMissingInOrderAndShowsItsPage) {
    const struct {
        const char* what;
        std::function<void(frmMain&)> change;
        std::vector<Target> targets;
        std::vector<int> missing; // numbers of the failing checks; none: the tab stays
        int tab;
    } cases[] = {
        {"complete", [](frmMain&) {}, {ToFile, Direct, Isp}, {}, 0},
        {"texts of blanks are not empty", blanksOnly, {Direct, Isp}, {}, 0},
        {"ECreateKey alone", [](frmMain& f) { f.setOption(f.ECreateKey); }, {ToFile}, {}, 0},
        {"eCreateNoKeys alone", [](frmMain& f) { f.setOption(f.eCreateNoKeys); }, {ToFile}, {}, 0},
        {"no table picked", [](frmMain& f) { f.eTables.listIndex = -1; }, {ToFile}, {3}, kTabSelectDatabase},
        {"no table, no key option", noTableNoKeyOption, {ToFile}, {3, 4}, kTabSelectDatabase},
        // An empty table list has no selection either, so checks 2 and 3 both fail; the numbers
        // run on across common and target checks, and the last failing one decides the page.
        {"fresh window", freshWindowUploadingByHand, {Isp}, {1, 2, 3, 4, 8, 9, 10, 11}, kTabPublish},
        {"no file name", [](frmMain& f) { f.eFilename.text.clear(); }, {Direct, Isp}, {1}, kTabSelectDatabase},
        {"no data source, no database", noDataSourceNoDatabase, {Direct}, {5, 6}, kTabPublish},
        {"direct gaps matter only there", noDataSourceNoDatabase, {ToFile, Isp}, {}, 0},
        {"no data source chosen", nothingChosenInTheDataSourceList, {Direct}, {5}, kTabPublish},
        // The provider counts only for "Direct to ISP", the output file only for "Manuel upload".
        {"direct to ISP", noProviderNoOutputFile, {Isp}, {7}, kTabPublish},
        {"uploading by hand", uploadingByHandWithoutOutputFile, {Isp}, {8}, kTabPublish},
        {"neither publish row", neitherPublishRowNorServer, {Isp}, {9, 10, 11}, kTabPublish},
    };
    for (const auto& c : cases) {
        for (Target target : c.targets) {
            frmMain form = completeForm();
            c.change(form);
            form.eTabControl.tab = kTabScriptOutput;
            std::string expected;
            for (std::size_t i = 0; i < c.missing.size(); ++i) {
                expected += std::to_string(i + 1) + kCheck[c.missing[i]] + "\r\n";
            }
            if (!expected.empty()) expected += "\r\nBefore you can convert your database\r\n";
            EXPECT_EQ(CheckConversionInputs(form, target == ToFile, target == Isp, target == Direct), expected)
                << c.what << ", target " << target;
            EXPECT_EQ(form.eTabControl.tab, c.missing.empty() ? kTabScriptOutput : c.tab) << c.what;
        }
    }
}
