// The splash window's platform line, and the system information button on a machine with and
// without a viewer. The About window's texts are tested on the real dialog.
#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/small_windows.h"
#include "support/scripted_user_interface.h"

using namespace kavero;
using kavero::testing::ScriptedUserInterface;

TEST(SmallWindows, SplashNamesThisPlatform) {
    shell::frmSplash splash;
    app::loadSplash(splash);
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    const std::string& platform = splash.lblPlatform.caption;
    EXPECT_EQ(platform.rfind("Platform ", 0), 0u) << platform;
    EXPECT_NE(platform.find(std::string(system.sysname) + " " + system.machine), std::string::npos) << platform;
    EXPECT_EQ(platform.find("Windows"), std::string::npos);
}

TEST(SmallWindows, SysInfoStartsTheFirstViewerOnThePathOrSaysItIsUnavailable) {
    const auto folder = std::filesystem::temp_directory_path() / ("kavero-sysinfo-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "bin");
    const auto install = [&](const std::string& name, std::filesystem::perms perms) {
        std::ofstream(folder / "bin" / name) << "#!/bin/sh\n";
        std::filesystem::permissions(folder / "bin" / name, perms);
    };
    const std::string bin = (folder / "bin").string();
    const auto unavailable = [](const ScriptedUserInterface& ui) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "System Information Is Unavailable At This Time");
        EXPECT_EQ(ui.messages[0].title, "KAVERO on start sysinfo");
        EXPECT_EQ(ui.messages[0].buttons, shell::MessageButtons::Ok);
    };

    install("hardinfo", std::filesystem::perms::owner_read); // present but not a program
    ScriptedUserInterface none;
    app::startSysInfo(none, (folder / "missing").string() + "::" + bin);
    EXPECT_TRUE(none.programStarts.empty());
    unavailable(none);

    install("kinfocenter", std::filesystem::perms::owner_all);
    install("hardinfo", std::filesystem::perms::owner_all);
    ScriptedUserInterface found;
    app::startSysInfo(found, bin);
    ASSERT_EQ(found.programStarts.size(), 1u);
    EXPECT_EQ(found.programStarts[0].program, bin + "/hardinfo");
    EXPECT_TRUE(found.messages.empty());

    ScriptedUserInterface failing;
    failing.startResults = {shell::StartResult::Failed};
    app::startSysInfo(failing, bin);
    EXPECT_EQ(failing.programStarts.size(), 1u);
    unavailable(failing);
    std::filesystem::remove_all(folder);
}
