// The conversion preconditions: every check in its fixed order, the running numbers, and the
// tab page that shows where the last missing input belongs.
#include "shell/conversion_inputs.h"

#include <string>
#include <string_view>
#include <utility>

namespace kavero::shell {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNone = "(None)";

// The entry a combo box stands on. A box with no entry chosen offers nothing to use, so it
// counts as missing just like "(None)".
bool nothingChosen(const ComboBox& box) {
    const std::string* entry = box.selectedItem();
    const std::string& chosen = entry ? *entry : box.text;
    return chosen.empty() || chosen == kNone;
}

class MissingList {
public:
    void add(std::string_view text, int page) {
        ++m_count;
        m_text += std::to_string(m_count);
        m_text += text;
        m_text += kCrLf;
        m_page = page;
    }
    bool empty() const { return m_count == 0; }
    int page() const { return m_page; }
    std::string finish() && {
        m_text += kCrLf;
        m_text += "Before you can convert your database";
        m_text += kCrLf;
        return std::move(m_text);
    }

private:
    std::string m_text;
    int m_count = 0;
    int m_page = kTabSelectDatabase;
};

} // namespace

std::string CheckConversionInputs(frmMain& form, bool toFile, bool isp, bool dsn) {
    (void)toFile; // the "To file" target needs nothing beyond the common checks
    MissingList missing;

    // Empty means exactly the empty text: a text of blanks passes, as the user typed it.
    if (form.eFilename.text.empty()) {
        missing.add(". You have selected no filename for the Ms-Access database !", kTabSelectDatabase);
    }
    if (form.eTables.items.empty()) {
        missing.add(". You have to select a MS-Access database to convert first !", kTabSelectDatabase);
    }
    if (form.eTables.selectedItem() == nullptr) {
        missing.add(". You have to select a table to convert first !", kTabSelectDatabase);
    }
    if (!form.eCreateIndex.value && !form.ECreateKey.value && !form.eCreateNoKeys.value) {
        missing.add(". You have to choose how KAVERO should create your keys !", kTabSelectDatabase);
    }

    if (dsn) {
        if (nothingChosen(form.cboDSNList)) {
            missing.add(". You have to select a DSN to publish you database to", kTabPublish);
        }
        if (form.eMySqlDatabase.text.empty()) {
            missing.add(". You have to select a database to publish you table to", kTabPublish);
        }
    }

    if (isp) {
        if (form.eDirectToISP.value && nothingChosen(form.eProvideName)) {
            missing.add(". You have to select a ISP provide to publish you database to", kTabPublish);
        }
        if (form.ManuelUpload.value && form.eSourceDest.text.empty()) {
            missing.add(". You have to select a output file to publish the KAVERO scripts to", kTabPublish);
        }
        if (form.eMySqlserveraddressISP.text.empty()) {
            missing.add(". You have to enter a mySQL servername at your ISP", kTabPublish);
        }
        if (form.eMySqlDatabaseISP.text.empty()) {
            missing.add(". You have to enter a mySQL databasename at yours ISP mySQL server", kTabPublish);
        }
        if (form.eMySqlusernameISP.text.empty()) {
            missing.add(". You have to enter your username for your ISP's mySQL server", kTabPublish);
        }
    }

    if (missing.empty()) return {};
    form.eTabControl.tab = missing.page();
    return std::move(missing).finish();
}

} // namespace kavero::shell
