// The settings rules: value forms, what stored values leave in the option groups, damaged
// values, entry selection and the save order, over an in-memory store.
#include <gtest/gtest.h>

#include <map>

#include "shell/settings.h"
#include "support/in_memory_settings.h"

using namespace kavero::shell;
using kavero::testing::InMemorySettings;

namespace {

// The keys in the order the store saw them, one blank between two.
std::string spaced(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) text += (text.empty() ? "" : " ") + key;
    return text;
}

} // namespace

TEST(Settings, ValueFormsRoundTripAndRejectWhatIsNoValue) {
    EXPECT_EQ(formatCheck(CheckState::Checked) + formatCheck(CheckState::Unchecked), "10");
    EXPECT_EQ(formatOption(true) + formatOption(false), "TrueFalse");
    EXPECT_EQ(formatPosition(500.0f), "500");
    EXPECT_EQ(formatPosition(-1234.5f), "-1234.5");
    EXPECT_EQ(parsePosition(formatPosition(1234.56f)), 1234.56f);
    EXPECT_EQ(parsePosition(" 750 "), 750.0f);
    for (const char* yes : {"True", "true", "-1", "2.5"}) EXPECT_TRUE(parseOption(yes)) << yes;
    for (const char* no : {"FALSE", "0"}) EXPECT_FALSE(parseOption(no)) << no;
    EXPECT_EQ(parseCheck("1"), CheckState::Checked);
    EXPECT_EQ(parseCheck(" 0 "), CheckState::Unchecked);
    EXPECT_EQ(parseCheck("2"), CheckState::Grayed);

    const auto number = [](auto parse, std::string_view text) {
        try {
            parse(text);
        } catch (const SettingsError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number(parsePosition, "abc"), SettingsError::kTypeMismatch);
    EXPECT_EQ(number(parsePosition, ""), SettingsError::kTypeMismatch);
    EXPECT_EQ(number(parsePosition, "1,5"), SettingsError::kTypeMismatch); // never read by locale
    EXPECT_EQ(number(parsePosition, "1e40"), SettingsError::kOverflow);
    EXPECT_EQ(number(parseOption, "yes"), SettingsError::kTypeMismatch);
    EXPECT_EQ(number(parseCheck, "x"), SettingsError::kTypeMismatch);
    EXPECT_EQ(number(parseCheck, "3"), SettingsError::kInvalidPropertyValue);
    EXPECT_EQ(number(parseCheck, "-1"), SettingsError::kInvalidPropertyValue);
    EXPECT_EQ(number(parseCheck, "40000"), SettingsError::kOverflow);
}

TEST(Settings, EachOptionGroupLoadsWithExactlyOneChoice) {
    using Option = OptionButton frmMain::*;
    const struct {
        std::map<std::string, std::string, std::less<>> stored;
        Option key;
        Option publishTo;
    } cases[] = {
        // No key option set: ECreateKey; numbers count as truth values.
        {{{"eCreateNoKeys", "0"}, {"ECreateKey", "False"}, {"eCreateIndex", "False"}},
         &frmMain::ECreateKey,
         &frmMain::ManuelUpload},
        {{{"eCreateNoKeys", "False"}, {"ECreateKey", "False"}, {"eCreateIndex", "-1"}},
         &frmMain::eCreateIndex,
         &frmMain::ManuelUpload},
        // Two set: the later key wins, as switching it on clears the other. Neither publish
        // row set: the default one.
        {{{"eCreateNoKeys", "True"}, {"ECreateKey", "True"}, {"ManuelUpload", "False"}, {"eDirectToISP", "False"}},
         &frmMain::ECreateKey,
         &frmMain::ManuelUpload},
        // The publish group is apart from the key group.
        {{{"ManuelUpload", "True"}, {"eDirectToISP", "True"}}, &frmMain::ECreateKey, &frmMain::eDirectToISP},
    };
    for (const auto& c : cases) {
        InMemorySettings store;
        store.values = c.stored;
        frmMain form;
        loadControlSettings(form, store, {});
        for (Option option : {&frmMain::ECreateKey, &frmMain::eCreateIndex, &frmMain::eCreateNoKeys}) {
            EXPECT_EQ((form.*option).value, option == c.key) << (form.*option).caption;
        }
        for (Option option : {&frmMain::ManuelUpload, &frmMain::eDirectToISP}) {
            EXPECT_EQ((form.*option).value, option == c.publishTo) << (form.*option).caption;
        }
    }
}

TEST(Settings, DamagedValueIsReportedAndOnlyThatKeyFallsBack) {
    InMemorySettings store;
    store.values = {{"MainLeft", "left"},           {"MainTop", "900"},      {"eFilename", "/data/shop.mdb"},
                    {"eCopyDirectlyAlsoData", "7"}, {"ECreateKey", "maybe"}, {"eCreateIndex", "True"},
                    {"eMySqlpasswordISP", "s3cret"}};
    frmMain form;
    std::vector<std::string> problems;
    const SettingsProblemSink sink = [&](const SettingsError& e) {
        problems.push_back(std::to_string(e.number()) + " " + e.what());
    };
    loadWindowPosition(form, store, sink);
    loadControlSettings(form, store, sink);
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "13 Type mismatch: \"left\" is no window position (setting MainLeft)",
                            "380 Invalid property value: \"7\" is no check box state (setting eCopyDirectlyAlsoData)",
                            "13 Type mismatch: \"maybe\" is no truth value (setting ECreateKey)"}));
    EXPECT_EQ(form.left, 500.0f);
    EXPECT_EQ(form.top, 900.0f);
    EXPECT_EQ(form.eFilename.text, "/data/shop.mdb");
    EXPECT_FALSE(form.eCopyDirectlyAlsoData.checked());
    EXPECT_FALSE(form.ECreateKey.value);
    EXPECT_TRUE(form.eCreateIndex.value);
    EXPECT_EQ(form.eMySqlpasswordISP.text, "s3cret");
}

TEST(Settings, SavedEntryIsSelectedOnExactMatchAndTheValueIsTheEntryOrTheTypedText) {
    frmMain form;
    ComboBox& box = form.eProvideName; // editable
    for (const char* item : {"(None)", "Alpha", "alpha", "Alpha", "Beta"}) box.addItem(item);
    box.select(0);
    selectSavedEntry(box, "Alpha"); // the last match wins
    EXPECT_EQ(box.listIndex, 3);
    EXPECT_EQ(entryValue(box), "Alpha");
    selectSavedEntry(box, "ALPHA"); // letter case differs: no match
    selectSavedEntry(box, "Gamma"); // gone since the last run
    EXPECT_EQ(box.listIndex, 3);
    box.text = "My own host"; // typed over the selection
    EXPECT_EQ(entryValue(box), "My own host");
    box.listIndex = -1;
    EXPECT_EQ(entryValue(box), "My own host");

    form.cboDSNList.addItem("(None)");
    form.cboDSNList.addItem("shop");
    form.cboDSNList.select(1);
    EXPECT_EQ(entryValue(form.cboDSNList), "shop");
    form.cboDSNList.listIndex = -1; // not editable: nothing chosen reads "(None)"
    EXPECT_EQ(entryValue(form.cboDSNList), "(None)");
}

TEST(Settings, SaveWritesAllKeysInSaveOrderWithTheirForms) {
    frmMain form;
    form.left = 1234.5f;
    form.top = 60;
    form.eCopyDirectlyAlsoData.value = CheckState::Checked;
    form.setOption(form.eCreateIndex);
    form.setOption(form.eDirectToISP);
    form.eSQLTerminator.text = "CrLf";
    form.cboDSNList.addItem("(None)");
    form.cboDSNList.select(0);
    form.eProvideName.addItem("Host, Inc.");
    form.eProvideName.select(0);

    InMemorySettings store;
    store.refusedKeys = {"eFilename"};
    EXPECT_EQ(saveSettings(form, store), std::vector<std::string>{"eFilename"});
    // Each key is written on its own, so one refused key costs no other.
    EXPECT_EQ(spaced(store.writeOrder),
              "MainLeft MainTop eFilename eCopyDirectlyAlsoData eMySqlDatabase eMySqlpassword eMySqlusername "
              "eISPAlsoCopyData eMySqlDatabaseISP eMySqlpasswordISP eMySqlserveraddressISP eMySqlusernameISP "
              "eCreateNoKeys ECreateKey eCreateIndex eAllowFieldNamesIwthSpace cboDSNList eProvideName ManuelUpload "
              "eDirectToISP eSourceDest eSQLTerminator eLeavePasswordOut eRecordsPerPage ePhpPages eFastCopy eLossless "
              "eCheckCopy MainWidth MainHeight");
    EXPECT_EQ(store.values.size(), 29u);
    const std::map<std::string, std::string, std::less<>> expected = {
        {"MainLeft", "1234.5"},     {"MainTop", "60"},          {"eCopyDirectlyAlsoData", "1"},
        {"eISPAlsoCopyData", "0"},  {"eCreateNoKeys", "False"}, {"ECreateKey", "False"},
        {"eCreateIndex", "True"},   {"ManuelUpload", "False"},  {"eDirectToISP", "True"},
        {"eSQLTerminator", "CrLf"}, {"cboDSNList", "(None)"},   {"eProvideName", "Host, Inc."},
        {"eMySqlpassword", ""},     {"eLeavePasswordOut", "0"}, {"eRecordsPerPage", "5"},
        {"ePhpPages", "0"},         {"eFastCopy", "0"},         {"eLossless", "0"},
        {"eCheckCopy", "1"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(store.values[key], value) << key;
}

TEST(Settings, AddedControlsLoadOnTheirOwnAndSaveAfterTheDocumentedKeys) {
    const SettingsProblemSink none = [](const SettingsError& e) { ADD_FAILURE() << e.what(); };
    InMemorySettings store;
    frmMain form;
    form.eLeavePasswordOut.checked = true;
    form.eRecordsPerPage.text = "40";
    form.ePhpPages.checked = true;
    form.eLossless.checked = true;
    form.eCheckCopy.checked = false;
    // The 22 keys leave the added controls alone; with none stored they get their defaults.
    loadControlSettings(form, store, none);
    EXPECT_EQ(spaced(store.readOrder).find("eLeavePasswordOut"), std::string::npos);
    loadExtensionSettings(form, store, none);
    EXPECT_FALSE(form.eLeavePasswordOut.checked);
    EXPECT_EQ(form.eRecordsPerPage.text, "5");
    EXPECT_FALSE(form.ePhpPages.checked);
    EXPECT_FALSE(form.eLossless.checked);
    EXPECT_TRUE(form.eCheckCopy.checked); // the one added item on by default
    store.values = {{"eLeavePasswordOut", " 1 "}, {"eRecordsPerPage", "250"}, {"ePhpPages", "1"}, {"eLossless", "1"}};
    loadExtensionSettings(form, store, none);
    EXPECT_TRUE(form.eLeavePasswordOut.checked);
    EXPECT_TRUE(form.ePhpPages.checked);
    EXPECT_TRUE(form.eLossless.checked);
    EXPECT_EQ(form.eRecordsPerPage.text, "250");
    store.writeOrder.clear();
    store.values.clear();
    EXPECT_TRUE(saveSettings(form, store).empty());
    EXPECT_EQ(store.values["eLeavePasswordOut"], "1");
    EXPECT_EQ(store.values["eRecordsPerPage"], "250");
    EXPECT_EQ(store.values["ePhpPages"], "1");
    EXPECT_EQ(store.values["eLossless"], "1");
    ASSERT_EQ(store.writeOrder.size(), 30u);
    EXPECT_EQ(store.writeOrder[22] + " " + store.writeOrder[23] + " " + store.writeOrder[24] + " " +
                  store.writeOrder[26],
              "eLeavePasswordOut eRecordsPerPage ePhpPages eLossless");

    // A check mark is on or off: a grayed state is reported and the item stays off.
    std::vector<std::string> problems;
    store.values = {{"eLeavePasswordOut", "2"}, {"eRecordsPerPage", "abc"}};
    loadExtensionSettings(form, store, [&](const SettingsError& e) { problems.push_back(e.what()); });
    EXPECT_EQ(problems,
              std::vector<std::string>{"Invalid property value: \"2\" is no check mark (setting eLeavePasswordOut)"});
    EXPECT_FALSE(form.eLeavePasswordOut.checked);
    EXPECT_EQ(form.eRecordsPerPage.text, "abc"); // text as typed; the command judges it

    // The window's size: the designed one when none is stored, whole twips, never negative,
    // and a damaged value costs only itself.
    frmMain sized;
    store.values.clear();
    loadExtensionSettings(sized, store, none);
    EXPECT_EQ(sized.width, frmMain().width);
    EXPECT_EQ(sized.height, frmMain().height);
    problems.clear();
    store.values = {{"MainWidth", "12000.6"}, {"MainHeight", "-30"}};
    loadExtensionSettings(sized, store, none);
    EXPECT_EQ(sized.width, 12001);
    EXPECT_EQ(sized.height, 0);
    store.values = {{"MainWidth", "wide"}, {"MainHeight", "1e30"}};
    loadExtensionSettings(sized, store, [&](const SettingsError& e) { problems.push_back(e.what()); });
    EXPECT_EQ(problems, std::vector<std::string>{"Type mismatch: \"wide\" is no window position (setting MainWidth)"});
    EXPECT_EQ(sized.width, frmMain().width);
    EXPECT_GT(sized.height, 0);
    sized.width = 9000;
    sized.height = 4005;
    store.values.clear();
    EXPECT_TRUE(saveSettings(sized, store).empty());
    EXPECT_EQ(store.values["MainWidth"], "9000");
    EXPECT_EQ(store.values["MainHeight"], "4005");
}
