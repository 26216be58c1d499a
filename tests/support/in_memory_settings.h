// A settings store held in memory, for tests of the rules above the store: it records the
// order of writes and can refuse chosen keys, as a full disk or a read-only file would.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_store.h"

namespace kavero::testing {

class InMemorySettings : public shell::SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> writeOrder;
    mutable std::vector<std::string> readOrder;
    std::set<std::string, std::less<>> refusedKeys;

    std::string read(std::string_view key, std::string_view fallback) const override {
        readOrder.emplace_back(key);
        const auto found = values.find(key);
        return found == values.end() ? std::string(fallback) : found->second;
    }

    bool write(std::string_view key, std::string_view value) override {
        writeOrder.emplace_back(key);
        if (refusedKeys.count(key)) return false;
        values[std::string(key)] = std::string(value);
        return true;
    }
};

} // namespace kavero::testing
