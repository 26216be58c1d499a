// The per-user settings store: text values under the application "KAVERO", section
// "Settings", addressed by key. The desktop program backs it with QSettings; tests use a
// temporary file or memory.
#pragma once

#include <string>
#include <string_view>

namespace kavero::shell {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `fallback` when the key is absent.
    virtual std::string read(std::string_view key, std::string_view fallback) const = 0;
    // Returns false when the store refused the write.
    virtual bool write(std::string_view key, std::string_view value) = 0;
};

} // namespace kavero::shell
