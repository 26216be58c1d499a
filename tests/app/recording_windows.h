// The window system as the start-up procedure and Quit see it, recorded: each call is logged,
// and windows that refuse to unload can be named.
#pragma once

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/windows.h"

namespace kavero::testing {

class RecordingWindows : public app::Windows {
public:
    std::vector<std::string> calls;
    std::vector<std::string> loaded{"frmMain"};
    std::set<std::string> failingUnloads;
    std::set<std::string> failingSteps;

    void showSplash() override { step("showSplash"); }
    void unloadSplash() override { step("unloadSplash"); }
    void showMain() override { step("showMain"); }
    void showAbout() override { step("showAbout"); }
    std::vector<std::string> loadedWindows() override { return loaded; }
    void unloadWindow(const std::string& name) override {
        calls.push_back("unload " + name);
        if (failingUnloads.count(name)) throw std::runtime_error("cannot unload " + name);
        loaded.erase(std::remove(loaded.begin(), loaded.end(), name), loaded.end());
    }

private:
    void step(const std::string& name) {
        calls.push_back(name);
        if (failingSteps.count(name)) throw std::runtime_error(name + " failed");
    }
};

} // namespace kavero::testing
