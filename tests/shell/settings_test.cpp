// The settings rules: value forms, load order and defaults, the key option fallback, entry
// selection and the save order, over an in-memory store.
#include <gtest/gtest.h>

#include <set>

#include "shell/settings.h"
#include "support/in_memory_settings.h"

using namespace kavero::shell;
using kavero::testing::InMemorySettings;

namespace {

struct LoadResult {
    std::vector<std::string> problems;
};

LoadResult loadAll(frmMain& form, const SettingsStore& store) {
    LoadResult result;
    const SettingsProblemSink sink = [&](const SettingsError& e) {
        result.problems.push_back(std::to_string(e.number()) + " " + e.what());
    };
    loadWindowPosition(form, store, sink);
    loadControlSettings(form, store, sink);
    return result;
}

} // namespace

TEST(Settings, KeyTableHoldsEveryKeyOnceInBothOrders) {
    std::set<std::string_view> load;
    for (const SettingKey& key : kSettingKeys) EXPECT_TRUE(load.insert(key.key).second) << key.key;
    const std::set<std::string_view> save(kSaveOrder.begin(), kSaveOrder.end());
    EXPECT_EQ(load, save);
    EXPECT_EQ(kSettingKeys[13].key, "ECreateKey");
    EXPECT_EQ(kSaveOrder[16], "cboDSNList");
    EXPECT_EQ(kSaveOrder[21], "eSQLTerminator");
    // Every key names a control of the main window, apart from the window's own position.
    frmMain form;
    for (const SettingKey& key : kSettingKeys) {
        if (key.form == SettingForm::Position) continue;
        auto table = form.controls();
        EXPECT_NE(form.find(key.key, table), nullptr) << key.key;
    }
}

TEST(Settings, ValueFormsRoundTripAndRejectWhatIsNoValue) {
    EXPECT_EQ(formatCheck(CheckState::Checked), "1");
    EXPECT_EQ(formatCheck(CheckState::Unchecked), "0");
    EXPECT_EQ(formatOption(true), "True");
    EXPECT_EQ(formatOption(false), "False");
    EXPECT_EQ(formatPosition(500.0f), "500");
    EXPECT_EQ(formatPosition(-1234.5f), "-1234.5");
    EXPECT_EQ(parsePosition(formatPosition(1234.56f)), 1234.56f);
    EXPECT_EQ(parsePosition(" 750 "), 750.0f);

    EXPECT_TRUE(parseOption("True"));
    EXPECT_TRUE(parseOption("true"));
    EXPECT_FALSE(parseOption("FALSE"));
    EXPECT_TRUE(parseOption("-1"));
    EXPECT_TRUE(parseOption("2.5"));
    EXPECT_FALSE(parseOption("0"));
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

TEST(Settings, EmptyStoreGivesEveryDefault) {
    InMemorySettings store;
    frmMain form;
    const LoadResult result = loadAll(form, store);
    EXPECT_TRUE(result.problems.empty());
    EXPECT_EQ(form.left, 500.0f);
    EXPECT_EQ(form.top, 500.0f);
    for (TextBox* box : {&form.eFilename, &form.eMySqlDatabase, &form.eMySqlpassword, &form.eMySqlusername,
                         &form.eMySqlDatabaseISP, &form.eMySqlpasswordISP, &form.eMySqlserveraddressISP,
                         &form.eMySqlusernameISP, &form.eSourceDest}) {
        EXPECT_EQ(box->text, "");
    }
    EXPECT_FALSE(form.eCopyDirectlyAlsoData.checked());
    EXPECT_FALSE(form.eISPAlsoCopyData.checked());
    EXPECT_FALSE(form.eAllowFieldNamesIwthSpace.checked());
    EXPECT_TRUE(form.ECreateKey.value);
    EXPECT_FALSE(form.eCreateIndex.value);
    EXPECT_FALSE(form.eCreateNoKeys.value);
    EXPECT_TRUE(form.ManuelUpload.value);
    EXPECT_FALSE(form.eDirectToISP.value);
    EXPECT_EQ(form.eSQLTerminator.text, ";");

    // Keys are read in table order up to eSourceDest; the two entry keys come later.
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < 20; ++i) expected.emplace_back(kSettingKeys[i].key);
    EXPECT_EQ(store.readOrder, expected);
}

TEST(Settings, KeyOptionsFallBackToCreateKeyWhenNoneIsSet) {
    for (const char* noKeys : {"False", "0"}) {
        InMemorySettings store;
        store.values = {{"eCreateNoKeys", noKeys}, {"ECreateKey", "False"}, {"eCreateIndex", "False"}};
        frmMain form;
        loadAll(form, store);
        EXPECT_TRUE(form.ECreateKey.value);
        EXPECT_FALSE(form.eCreateIndex.value || form.eCreateNoKeys.value);
    }
    InMemorySettings store;
    store.values = {{"eCreateNoKeys", "False"}, {"ECreateKey", "False"}, {"eCreateIndex", "-1"}};
    frmMain form;
    loadAll(form, store);
    EXPECT_TRUE(form.eCreateIndex.value);
    EXPECT_FALSE(form.ECreateKey.value);
}

TEST(Settings, OptionGroupsStayExclusiveWhateverTheStoreHolds) {
    InMemorySettings store;
    store.values = {{"eCreateNoKeys", "True"}, {"ECreateKey", "True"}, {"eCreateIndex", "False"},
                    {"ManuelUpload", "False"}, {"eDirectToISP", "False"}};
    frmMain form;
    loadAll(form, store);
    // The later key of a doubled choice wins, as switching it on would clear the other.
    EXPECT_FALSE(form.eCreateNoKeys.value);
    EXPECT_TRUE(form.ECreateKey.value);
    EXPECT_FALSE(form.eCreateIndex.value);
    // Neither publish row chosen: the default one is.
    EXPECT_TRUE(form.ManuelUpload.value);
    EXPECT_FALSE(form.eDirectToISP.value);

    store.values = {{"ManuelUpload", "True"}, {"eDirectToISP", "True"}};
    frmMain direct;
    loadAll(direct, store);
    EXPECT_FALSE(direct.ManuelUpload.value);
    EXPECT_TRUE(direct.eDirectToISP.value);
}

TEST(Settings, DamagedValueIsReportedAndOnlyThatKeyFallsBack) {
    InMemorySettings store;
    store.values = {{"MainLeft", "left"},     {"MainTop", "900"},          {"eFilename", "/data/shop.mdb"},
                    {"eCopyDirectlyAlsoData", "7"}, {"ECreateKey", "maybe"}, {"eCreateIndex", "True"},
                    {"eMySqlpasswordISP", "s3cret"}};
    frmMain form;
    const LoadResult result = loadAll(form, store);
    ASSERT_EQ(result.problems.size(), 3u);
    EXPECT_EQ(result.problems[0], "13 Type mismatch: \"left\" is no window position (setting MainLeft)");
    EXPECT_EQ(result.problems[1], "380 Invalid property value: \"7\" is no check box state (setting eCopyDirectlyAlsoData)");
    EXPECT_EQ(result.problems[2], "13 Type mismatch: \"maybe\" is no truth value (setting ECreateKey)");
    EXPECT_EQ(form.left, 500.0f);
    EXPECT_EQ(form.top, 900.0f);
    EXPECT_EQ(form.eFilename.text, "/data/shop.mdb");
    EXPECT_FALSE(form.eCopyDirectlyAlsoData.checked());
    EXPECT_FALSE(form.ECreateKey.value);
    EXPECT_TRUE(form.eCreateIndex.value);
    EXPECT_EQ(form.eMySqlpasswordISP.text, "s3cret");
}

TEST(Settings, PublishToRowsFollowDirectToIsp) {
    frmMain form;
    form.setOption(form.ManuelUpload);
    applyPublishToRows(form);
    EXPECT_TRUE(form.eSourceDest.enabled);
    EXPECT_FALSE(form.eProvideName.enabled);
    form.setOption(form.eDirectToISP);
    applyPublishToRows(form);
    EXPECT_FALSE(form.eSourceDest.enabled);
    EXPECT_TRUE(form.eProvideName.enabled);
}

TEST(Settings, TerminatorItemsLeaveTheRestoredText) {
    frmMain form;
    form.eSQLTerminator.text = "GO";
    addTerminatorItems(form);
    EXPECT_EQ(form.eSQLTerminator.items, (std::vector<std::string>{";", ",", "CR", "CrLf"}));
    EXPECT_EQ(form.eSQLTerminator.text, "GO");
    EXPECT_EQ(form.eSQLTerminator.listIndex, -1);
}

TEST(Settings, SavedEntryIsSelectedOnlyOnExactMatchAndLastMatchWins) {
    ComboBox box;
    for (const char* item : {"(None)", "Alpha", "alpha", "Alpha", "Beta"}) box.addItem(item);
    box.select(0);
    selectSavedEntry(box, "Alpha");
    EXPECT_EQ(box.listIndex, 3);
    EXPECT_EQ(box.text, "Alpha");

    box.select(0);
    selectSavedEntry(box, "ALPHA"); // letter case differs: no match
    EXPECT_EQ(box.listIndex, 0);
    selectSavedEntry(box, "Gamma"); // gone since the last run
    EXPECT_EQ(box.listIndex, 0);
    EXPECT_EQ(box.text, "(None)");
}

TEST(Settings, EntryValueIsTheSelectedEntryOrTheTypedText) {
    frmMain form;
    form.cboDSNList.addItem("(None)");
    form.cboDSNList.addItem("shop");
    form.cboDSNList.select(1);
    EXPECT_EQ(entryValue(form.cboDSNList), "shop");
    form.cboDSNList.listIndex = -1;
    EXPECT_EQ(entryValue(form.cboDSNList), "(None)");

    form.eProvideName.addItem("(None)");
    form.eProvideName.addItem("Host A");
    form.eProvideName.select(1);
    EXPECT_EQ(entryValue(form.eProvideName), "Host A");
    form.eProvideName.text = "My own host"; // typed over the selection
    EXPECT_EQ(entryValue(form.eProvideName), "My own host");
    form.eProvideName.listIndex = -1;
    EXPECT_EQ(entryValue(form.eProvideName), "My own host");
}

TEST(Settings, SaveWritesAllKeysInSaveOrderWithTheirForms) {
    frmMain form;
    form.left = 1234.5f;
    form.top = 60;
    form.eFilename.text = "/home/u/shop.mdb";
    form.eCopyDirectlyAlsoData.value = CheckState::Checked;
    form.setOption(form.eCreateIndex);
    form.setOption(form.eDirectToISP);
    form.eSQLTerminator.text = "CrLf";
    form.cboDSNList.addItem("(None)");
    form.cboDSNList.select(0);
    form.eProvideName.addItem("(None)");
    form.eProvideName.addItem("Host, Inc.");
    form.eProvideName.select(1);

    InMemorySettings store;
    store.refusedKeys = {"eFilename"};
    const std::vector<std::string> refused = saveSettings(form, store);
    EXPECT_EQ(refused, std::vector<std::string>{"eFilename"});
    EXPECT_EQ(store.writeOrder, std::vector<std::string>(kSaveOrder.begin(), kSaveOrder.end()));
    EXPECT_EQ(store.values.size(), 21u); // every key but the refused one, each on its own
    EXPECT_EQ(store.values["MainLeft"], "1234.5");
    EXPECT_EQ(store.values["MainTop"], "60");
    EXPECT_EQ(store.values["eCopyDirectlyAlsoData"], "1");
    EXPECT_EQ(store.values["eISPAlsoCopyData"], "0");
    EXPECT_EQ(store.values["eCreateNoKeys"], "False");
    EXPECT_EQ(store.values["ECreateKey"], "False");
    EXPECT_EQ(store.values["eCreateIndex"], "True");
    EXPECT_EQ(store.values["ManuelUpload"], "False");
    EXPECT_EQ(store.values["eDirectToISP"], "True");
    EXPECT_EQ(store.values["eSQLTerminator"], "CrLf");
    EXPECT_EQ(store.values["cboDSNList"], "(None)");
    EXPECT_EQ(store.values["eProvideName"], "Host, Inc.");
    EXPECT_EQ(store.values["eMySqlpassword"], "");
}
