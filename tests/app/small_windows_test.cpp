// Splash and About window loads, and the system information button on a machine with and
// without a viewer.
#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <filesystem>
#include <fstream>

#include "app/product_info.h"
#include "app/small_windows.h"
#include "support/scripted_user_interface.h"

using namespace kavero;
using kavero::testing::ScriptedUserInterface;

TEST(SmallWindows, SplashNamesVersionCopyrightAndThisPlatform) {
    shell::frmSplash splash;
    app::loadSplash(splash);
    EXPECT_EQ(splash.lblVersion.caption, "Version 1.1.0");
    EXPECT_EQ(splash.lblCopyright.caption, app::kLegalCopyright);
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    const std::string& platform = splash.lblPlatform.caption;
    EXPECT_EQ(platform.rfind("Platform ", 0), 0u) << platform;
    EXPECT_NE(platform.find(std::string(system.sysname) + " " + system.machine), std::string::npos) << platform;
    EXPECT_EQ(platform.find("Windows"), std::string::npos);
}

TEST(SmallWindows, AboutShowsTheSameEveryTime) {
    for (int i = 0; i < 2; ++i) {
        shell::frmAbout about;
        app::loadAbout(about);
        EXPECT_EQ(about.caption, "KAVERO 1.1.0");
        EXPECT_EQ(about.lblVersion.caption, "Version 1.1.0");
        EXPECT_EQ(about.lblTitle.caption, "KAVERO");
        EXPECT_EQ(about.lblDescription.caption, "KAVERO converts MS-Access databases to mySQL servers");
        EXPECT_EQ(about.cmdSysInfo.caption, "&System Info...");
        EXPECT_EQ(about.cmdOK.caption, "OK");
    }
}

class SysInfo : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kavero-sysinfo-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "bin");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void install(const std::string& name, bool executable) {
        const auto path = folder / "bin" / name;
        std::ofstream(path) << "#!/bin/sh\n";
        std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all
                                                      : std::filesystem::perms::owner_read);
    }
    std::filesystem::path folder;
    ScriptedUserInterface ui;
};

TEST_F(SysInfo, WithoutAViewerExactlyOneMessage) {
    install("hardinfo", false); // present but not a program
    app::startSysInfo(ui, (folder / "missing").string() + "::" + (folder / "bin").string());
    EXPECT_TRUE(ui.programStarts.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(ui.messages[0].title, "KAVERO on start sysinfo");
    EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
}

TEST_F(SysInfo, StartsTheFirstViewerFoundOnThePath) {
    install("kinfocenter", true);
    install("hardinfo", true);
    app::startSysInfo(ui, (folder / "bin").string());
    ASSERT_EQ(ui.programStarts.size(), 1u);
    EXPECT_EQ(ui.programStarts[0].program, (folder / "bin" / "hardinfo").string());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SysInfo, AViewerThatFailsToStartGivesTheMessage) {
    install("hardinfo2", true);
    ui.startResults = {shell::StartResult::Failed};
    app::startSysInfo(ui, (folder / "bin").string());
    EXPECT_EQ(ui.programStarts.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "KAVERO on start sysinfo");
}
