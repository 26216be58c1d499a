// How the browser is chosen from BROWSER and how each failure is reported, over the scripted
// port; the GUI tests open the Help items' pages in a real recording browser.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/web_help.h"
#include "support/scripted_user_interface.h"

using namespace kavero;
using kavero::testing::ScriptedUserInterface;
using Strings = std::vector<std::string>;

namespace {

// BROWSER as the test needs it, and as it was afterwards.
class BrowserVariable {
public:
    BrowserVariable() {
        if (const char* old = std::getenv("BROWSER")) m_old = old;
    }
    ~BrowserVariable() { m_old ? setenv("BROWSER", m_old->c_str(), 1) : unsetenv("BROWSER"); }
    void set(const char* value) { value ? setenv("BROWSER", value, 1) : unsetenv("BROWSER"); }

private:
    std::optional<std::string> m_old;
};

void expectOneBox(const ScriptedUserInterface& ui, const std::string& text, const std::string& title) {
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, text);
    EXPECT_EQ(ui.messages[0].title, title);
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
}

} // namespace

TEST(WebHelp, BrowserVariableIsReadLikeXdgOpenAndEachFailureHasItsOwnBox) {
    BrowserVariable browser;
    const std::string url = "http://host/p?a=1&b=2";

    // Blank entries skipped, arguments kept, %s replaced; the next command after one not found.
    browser.set(" :nosuch-browser  --new-window\t: :/opt/web/b --open=%s --x");
    ScriptedUserInterface listed;
    listed.startResults = {shell::StartResult::NotFound, shell::StartResult::Started};
    app::startBrowser(listed, url);
    ASSERT_EQ(listed.programStarts.size(), 2u);
    EXPECT_EQ(listed.programStarts[0].program, "nosuch-browser");
    EXPECT_EQ(listed.programStarts[0].arguments, (Strings{"--new-window", url}));
    EXPECT_EQ(listed.programStarts[1].program, "/opt/web/b");
    EXPECT_EQ(listed.programStarts[1].arguments, (Strings{"--open=" + url, "--x"}));
    EXPECT_TRUE(listed.messages.empty());

    // None found: no other browser behind the user's back, one box.
    browser.set("first:second");
    ScriptedUserInterface missing;
    missing.startResults = {shell::StartResult::NotFound, shell::StartResult::NotFound};
    app::startBrowser(missing, url);
    EXPECT_EQ(missing.programStarts.size(), 2u);
    expectOneBox(missing, "Could not find associated Browser", "Browser Not Found, on start browser");

    // One found that would not start outweighs one not found.
    ScriptedUserInterface refused;
    refused.startResults = {shell::StartResult::Failed, shell::StartResult::NotFound};
    app::startBrowser(refused, url);
    EXPECT_EQ(refused.programStarts.size(), 2u);
    expectOneBox(refused, "Web Page not Opened", "URL Failed, on start browser");

    // A BROWSER of blanks names nothing: xdg-open, with the same two boxes.
    browser.set(" : ");
    ScriptedUserInterface noXdg;
    noXdg.startResults = {shell::StartResult::NotFound};
    app::startBrowser(noXdg, url);
    ASSERT_EQ(noXdg.programStarts.size(), 1u);
    EXPECT_EQ(noXdg.programStarts[0].program, "xdg-open");
    EXPECT_EQ(noXdg.programStarts[0].arguments, Strings{url});
    expectOneBox(noXdg, "Could not find associated Browser", "Browser Not Found, on start browser");

    ScriptedUserInterface xdgFails;
    xdgFails.startResults = {shell::StartResult::Failed};
    app::startBrowser(xdgFails, url);
    EXPECT_EQ(xdgFails.programStarts.size(), 1u);
    expectOneBox(xdgFails, "Web Page not Opened", "URL Failed, on start browser");
}
