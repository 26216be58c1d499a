// The start-up procedure: its steps in order, and its handler going on after a failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/product_info.h"
#include "app/small_windows.h"
#include "app/startup.h"
#include "shell/settings.h"
#include "support/in_memory_settings.h"
#include "support/scripted_user_interface.h"
#include "recording_windows.h"

using namespace kavero;
using kavero::testing::InMemorySettings;
using kavero::testing::RecordingWindows;
using kavero::testing::ScriptedUserInterface;

namespace {

struct Startup {
    InMemorySettings store;
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

// A store that breaks while the load reads it, as a failing disk would.
class BrokenStore : public InMemorySettings {
public:
    std::string read(std::string_view key, std::string_view fallback) const override {
        if (key == "eSQLTerminator") throw std::runtime_error("settings file unreadable");
        return InMemorySettings::read(key, fallback);
    }
};

} // namespace

TEST(Startup, StepsRunInOrderAndTheSplashIsFilledFirst) {
    Startup s;
    s.run();
    EXPECT_EQ(s.windows.calls, (std::vector<std::string>{"showSplash", "unloadSplash", "showMain"}));
    EXPECT_TRUE(s.ui.messages.empty());
    EXPECT_EQ(s.splash.lblVersion.caption, "Version 1.1.0");
    EXPECT_EQ(s.splash.lblCopyright.caption, app::kLegalCopyright);
    EXPECT_EQ(s.splash.lblProductName.caption, "KAVERO converter for mySQL");
    EXPECT_TRUE(s.form.loaded);
    EXPECT_EQ(s.form.caption, "KAVERO Version 1.1");
}

TEST(Startup, FailureInTheLoadEndsTheLoadAndStartupGoesOn) {
    BrokenStore store;
    store.values["eFilename"] = "/data/a.mdb";
    ScriptedUserInterface ui;
    RecordingWindows windows;
    shell::frmSplash splash;
    shell::frmMain form;
    app::MainWindowContext context{ui, store, "/nonexistent", std::nullopt};
    app::runStartup(windows, splash, form, context);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "settings file unreadable 0");
    EXPECT_EQ(ui.messages[0].title, "On load splash");
    EXPECT_EQ(ui.messages[0].icon, shell::MessageIcon::None);
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
    // Loaded up to the failure, design-time state after it, and the window is still shown.
    EXPECT_EQ(form.eFilename.text, "/data/a.mdb");
    EXPECT_TRUE(form.ECreateKey.value);
    EXPECT_TRUE(form.eSQLTerminator.items.empty());
    EXPECT_TRUE(form.cboDSNList.items.empty());
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"showSplash", "unloadSplash", "showMain"}));
}

TEST(Startup, EveryStepFailingStillReachesTheNext) {
    Startup s;
    s.windows.failingSteps = {"showSplash", "unloadSplash"};
    s.run();
    EXPECT_EQ(s.windows.calls, (std::vector<std::string>{"showSplash", "unloadSplash", "showMain"}));
    ASSERT_EQ(s.ui.messages.size(), 2u);
    EXPECT_EQ(s.ui.messages[0].text, "showSplash failed 0");
    EXPECT_EQ(s.ui.messages[1].text, "unloadSplash failed 0");
    EXPECT_EQ(app::startupErrorText(shell::SettingsError(shell::SettingsError::kOverflow, "Overflow")), "Overflow 6");
}
