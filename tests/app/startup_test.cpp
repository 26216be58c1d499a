// The start-up procedure: its steps in order, and its handler going on after a failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

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

// Notes for each box the last window step before it, so the test sees when it came.
class OrderedInterface : public ScriptedUserInterface {
public:
    explicit OrderedInterface(const std::vector<std::string>& windowCalls) : m_windowCalls(windowCalls) {}
    std::vector<std::string> stepBeforeBox;

    shell::MessageAnswer messageBox(std::string_view text, std::string_view title, shell::MessageIcon icon,
                                    shell::MessageButtons buttons) override {
        stepBeforeBox.push_back(m_windowCalls.empty() ? "" : m_windowCalls.back());
        return ScriptedUserInterface::messageBox(text, title, icon, buttons);
    }

private:
    const std::vector<std::string>& m_windowCalls;
};

struct Startup {
    BreakableStore store;
    RecordingWindows windows;
    OrderedInterface ui{windows.calls};
    shell::frmSplash splash;
    shell::frmMain form;

    void run(std::optional<std::string> database = std::nullopt) {
        app::MainWindowContext context{ui, store, std::filesystem::temp_directory_path() / "kavero-no-such-folder",
                                       std::move(database)};
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

TEST(Startup, WhatIsWrongWithTheDatabaseArgumentIsShownOverTheMainWindow) {
    const auto folder = std::filesystem::temp_directory_path() / ("kavero-argument-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "a folder.mdb");
    std::ofstream(folder / "notes.mdb") << "not a database\n";

    // Gone, a folder, not a database: each said once, after the main window is up.
    for (const auto& [name, number] :
         {std::pair{"gone.mdb", " 3024"}, std::pair{"a folder.mdb", " 3051"}, std::pair{"notes.mdb", " 3343"}}) {
        Startup s;
        s.store.values["eFilename"] = "/data/last.mdb";
        s.run((folder / name).string());
        EXPECT_EQ(s.windows.calls, kSteps) << name;
        ASSERT_EQ(s.ui.messages.size(), 1u) << name;
        EXPECT_EQ(s.ui.stepBeforeBox, std::vector<std::string>{"showMain"}) << name;
        EXPECT_EQ(s.ui.messages[0].title, "Error on opening database, on eFilename");
        const std::string& text = s.ui.messages[0].text;
        EXPECT_NE(text.find((folder / name).string()), std::string::npos) << text;
        EXPECT_TRUE(text.size() > 5 && text.compare(text.size() - 5, 5, number) == 0) << text;
        EXPECT_EQ(s.ui.messages[0].buttons, shell::MessageButtons::Ok);
        EXPECT_EQ(s.form.eFilename.text, (folder / name).string());
        EXPECT_TRUE(s.form.eTables.items.empty());
    }

    // The remembered database of the last run, gone by now, is still passed over in silence.
    Startup last;
    last.store.values["eFilename"] = (folder / "gone.mdb").string();
    last.run();
    EXPECT_EQ(last.windows.calls, kSteps);
    EXPECT_TRUE(last.ui.messages.empty());
    std::filesystem::remove_all(folder);
}
