// A settings store held in memory, for commands that read browse folders.
#pragma once

#include <map>
#include <string>

#include "shell/settings_store.h"

namespace kavero::testing {

class MemorySettings : public shell::SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values;

    std::string read(std::string_view key, std::string_view fallback) const override {
        const auto it = values.find(key);
        return it == values.end() ? std::string(fallback) : it->second;
    }
    bool write(std::string_view key, std::string_view value) override {
        values[std::string(key)] = std::string(value);
        return true;
    }
};

} // namespace kavero::testing
