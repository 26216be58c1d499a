// The start-up procedure: its steps in order, and its handler going on after a failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/product_info.h"
#include "app/startup.h"
#include "recording_windows.h"
#include "shell/settings.h"
#include "support/in_memory_settings.h"
#include "support/scripted_user_interface.h"

using namespace kavero;
using kavero::testing::InMemorySettings;
using kavero::testing::RecordingWindows;
using kavero::testing::ScriptedUserInterface;

namespace {

// A store that can break while the load reads it, as a failing disk would.
class BreakableStore : public InMemorySettings {
public:
    bool broken = false;
    std::string read(std::string_view key, std::string_view fallback) const override {
        if (broken && key == "eSQLTerminator") throw std::runtime_error("settings file unreadable");
        return InMemorySettings::read(key, fallback);
    }
};

struct Startup {
    BreakableStore store;
    ScriptedUserInterface ui;
    RecordingWindows windows;
    shell::frmSplash splash;
    shell::frmMain form;

    void run() {
        app::MainWindowContext context{ui, store, std::filesystem::temp_directory_path() / "kavero-no-such-folder",
                                       std::nullopt};
        app::runStartup(windows, splash, form, context);
    }
};

const std::vector<std::string> kSteps = {"showSplash", "unloadSplash", "showMain"};

} // namespace

TEST(Startup, StepsRunInOrderAndTheSplashIsFilledFirst) {
    Startup s;
    s.run();
    EXPECT_EQ(s.windows.calls, kSteps);
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_EQ(s.splash.lblVersion.caption, "Version 1.1.0");
    EXPECT_EQ(s.splash.lblCopyright.caption, app::kLegalCopyright);
    EXPECT_EQ(s.splash.lblProductName.caption, "KAVERO converter for mySQL");
    EXPECT_TRUE(s.form.loaded);
    EXPECT_EQ(s.form.caption, "KAVERO Version 1.1");
}

TEST(Startup, EachFailureIsShownAndStartupGoesOnWithTheNextStep) {
    Startup s;
    s.store.broken = true;
    s.store.values["eFilename"] = "/data/a.mdb";
    s.windows.failingSteps = {"showSplash", "unloadSplash"};
    s.run();
    EXPECT_EQ(s.windows.calls, kSteps);
    ASSERT_EQ(s.ui.messages.size(), 3u);
    EXPECT_EQ(s.ui.messages[0].text, "showSplash failed 0");
    EXPECT_EQ(s.ui.messages[1].text, "settings file unreadable 0");
    EXPECT_EQ(s.ui.messages[1].title, "On load splash");
    EXPECT_EQ(s.ui.messages[1].icon, shell::MessageIcon::None);
    EXPECT_EQ(s.ui.messages[1].buttons, shell::MessageButtons::Ok);
    EXPECT_EQ(s.ui.messages[2].text, "unloadSplash failed 0");
    // The load ends at the failure: filled up to it, design-time state after it.
    EXPECT_EQ(s.form.eFilename.text, "/data/a.mdb");
    EXPECT_TRUE(s.form.ECreateKey.value);
    EXPECT_TRUE(s.form.eSQLTerminator.items.empty());
    EXPECT_TRUE(s.form.cboDSNList.items.empty());
    EXPECT_EQ(app::startupErrorText(shell::SettingsError(shell::SettingsError::kOverflow, "Overflow")), "Overflow 6");
}
