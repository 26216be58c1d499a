// What the main window remembers between runs: the 22 keys with their value forms and
// defaults, the keys of the controls added since, the order they are loaded and saved in,
// and the rules that put stored texts into controls and take them out again.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "shell/main_form.h"
#include "shell/numbered_error.h"
#include "shell/settings_store.h"

namespace kavero::shell {

// How a control's value is written as text.
enum class SettingForm {
    Text,     // the control's text as it stands
    Check,    // "0" / "1" (a grayed box: "2")
    Option,   // "True" / "False"; on reading any truth value or number
    Position, // twips as a number, without a fraction when whole
    Entry,    // the text of the selected entry of a list
};

struct SettingKey {
    std::string_view key;
    SettingForm form;
    std::string_view fallback;
};

inline constexpr std::string_view kNoneEntry = "(None)";

// Load order; the save order differs (see kSaveOrder).
inline constexpr std::array<SettingKey, 22> kSettingKeys = {{
    {"MainLeft", SettingForm::Position, "500"},
    {"MainTop", SettingForm::Position, "500"},
    {"eFilename", SettingForm::Text, ""},
    {"eCopyDirectlyAlsoData", SettingForm::Check, "0"},
    {"eMySqlDatabase", SettingForm::Text, ""},
    {"eMySqlpassword", SettingForm::Text, ""},
    {"eMySqlusername", SettingForm::Text, ""},
    {"eISPAlsoCopyData", SettingForm::Check, "0"},
    {"eMySqlDatabaseISP", SettingForm::Text, ""},
    {"eMySqlpasswordISP", SettingForm::Text, ""},
    {"eMySqlserveraddressISP", SettingForm::Text, ""},
    {"eMySqlusernameISP", SettingForm::Text, ""},
    {"eCreateNoKeys", SettingForm::Option, "False"},
    {"ECreateKey", SettingForm::Option, "False"},
    {"eCreateIndex", SettingForm::Option, "False"},
    {"eAllowFieldNamesIwthSpace", SettingForm::Check, "0"},
    {"eSQLTerminator", SettingForm::Text, ";"},
    {"ManuelUpload", SettingForm::Option, "True"},
    {"eDirectToISP", SettingForm::Option, "False"},
    {"eSourceDest", SettingForm::Text, ""},
    {"cboDSNList", SettingForm::Entry, kNoneEntry},
    {"eProvideName", SettingForm::Entry, kNoneEntry},
}};

inline constexpr std::array<std::string_view, 22> kSaveOrder = {
    "MainLeft",
    "MainTop",
    "eFilename",
    "eCopyDirectlyAlsoData",
    "eMySqlDatabase",
    "eMySqlpassword",
    "eMySqlusername",
    "eISPAlsoCopyData",
    "eMySqlDatabaseISP",
    "eMySqlpasswordISP",
    "eMySqlserveraddressISP",
    "eMySqlusernameISP",
    "eCreateNoKeys",
    "ECreateKey",
    "eCreateIndex",
    "eAllowFieldNamesIwthSpace",
    "cboDSNList",
    "eProvideName",
    "ManuelUpload",
    "eDirectToISP",
    "eSourceDest",
    "eSQLTerminator",
};

// Controls this program added to the window, each stored under its own name after the 22
// keys above, in this order. A Check key of a checkable menu item stores its check mark as
// "0" / "1". Another Options item or text box needs only its line here. MainWidth and
// MainHeight keep the window's client area (twips, below the menu bar) beside its place;
// their defaults are the designed size.
inline constexpr auto kExtensionKeys = std::to_array<SettingKey>({
    {"eLeavePasswordOut", SettingForm::Check, "0"},
    {"eRecordsPerPage", SettingForm::Text, "5"},
    {"ePhpPages", SettingForm::Check, "0"},
    {"eFastCopy", SettingForm::Check, "0"},
    {"eLossless", SettingForm::Check, "0"},
    {"eCheckCopy", SettingForm::Check, "1"},
    {"MainWidth", SettingForm::Position, "10545"},
    {"MainHeight", SettingForm::Position, "5145"},
});

// Starting folders of the two browse dialogs; read, never written.
inline constexpr std::string_view kDatabasePathSourceKey = "DATABASEPATHSOURCE";
inline constexpr std::string_view kAspPathKey = "eGetAspFile";

// The statement terminators offered in eSQLTerminator, in list order.
inline constexpr std::array<std::string_view, 4> kTerminatorItems = {";", ",", "CR", "CrLf"};

const SettingKey& settingKey(std::string_view key);

// A stored text that does not fit its control, or a provider list that ends inside a record.
// Numbers are those the old runtime gave for the same failures, so reports read as before.
class SettingsError : public NumberedError {
public:
    static constexpr int kTypeMismatch = 13;
    static constexpr int kOverflow = 6;
    static constexpr int kInputPastEndOfFile = 62;
    static constexpr int kInvalidPropertyValue = 380;

    SettingsError(int number, const std::string& description) : NumberedError(number, description) {}
};

// Called for each stored value that could not be used; the control keeps its default.
using SettingsProblemSink = std::function<void(const SettingsError&)>;

// Value forms, public for the tests and for anyone writing the store by other means.
std::string formatCheck(CheckState state);
std::string formatOption(bool value);
std::string formatPosition(float twips);
// These throw SettingsError on a text that is no value of the form.
CheckState parseCheck(std::string_view text);
bool parseOption(std::string_view text);
float parsePosition(std::string_view text);

// Keys 1 and 2 into the window's left and top edge.
void loadWindowPosition(frmMain& form, const SettingsStore& store, const SettingsProblemSink& problem);
// Keys 3 to 20 into their controls. After the three key options, ECreateKey is set when none
// of them is; likewise ManuelUpload when neither "Publish to" option is. A value that does not fit is reported to
// `problem`, and the control gets the key's default, so one damaged value never costs the others (they would be
// overwritten with design-time state at the next unload).
void loadControlSettings(frmMain& form, const SettingsStore& store, const SettingsProblemSink& problem);
// The keys of kExtensionKeys into their controls, reported and defaulted one by one as above.
void loadExtensionSettings(frmMain& form, const SettingsStore& store, const SettingsProblemSink& problem);
// The two rows of "Publish to": the output file when uploading by hand, the provider when
// publishing directly.
void applyPublishToRows(frmMain& form);
// Adds the terminator items; the box's text, restored before, stays as it is.
void addTerminatorItems(frmMain& form);
// Selects every entry whose text equals `saved` exactly; the last match wins, and without a
// match the selection stays where it was.
void selectSavedEntry(ComboBox& box, std::string_view saved);
// Key 21 or 22 into its list, which must be filled already.
void selectSavedDataSource(frmMain& form, const SettingsStore& store);
void selectSavedProvider(frmMain& form, const SettingsStore& store);

// The text an entry key saves: the selected entry, or the box's own text when the user typed
// one that is no entry (so what the user saw is what is stored; the next load selects it
// only if it has become an entry by then).
std::string entryValue(const ComboBox& box);
// The stored text of one key as the window holds it now.
std::string settingValue(const frmMain& form, std::string_view key);
// Writes the 22 keys in save order, then the keys of kExtensionKeys, each on its own; returns
// the keys the store refused.
std::vector<std::string> saveSettings(const frmMain& form, SettingsStore& store);

} // namespace kavero::shell
