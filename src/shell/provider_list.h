// The web-host provider list, provider.txt: records of two text fields, of which the first
// names the provider in eProvideName.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "shell/main_form.h"
#include "shell/settings.h"
#include "shell/settings_store.h"

namespace kavero::shell {

inline constexpr std::size_t kMaxProviders = 100;
inline constexpr const char* kProviderFileName = "provider.txt";

struct ProviderRecord {
    std::string name;
    std::string detail; // read, not used
};

struct ProviderList {
    std::vector<ProviderRecord> records;
    // Set when the file ended inside a record: its first field was read, its second was
    // missing. That record is not among `records`.
    std::optional<SettingsError> problem;
};

// Reads records as a stream of fields, two at a time: a comma or a line end ends a field, so a
// line with one field takes its partner from the next line. A field may be enclosed in double
// quotes (commas inside belong to it); blanks around an unquoted field are dropped; blank lines
// hold no fields. Reading stops after `maxRecords`.
ProviderList readProviderList(std::istream& in, std::size_t maxRecords = kMaxProviders);

// The same from a file; a missing file is an empty list, not an error.
ProviderList readProviderFile(const std::filesystem::path& file, std::size_t maxRecords = kMaxProviders);

// Where provider.txt may be, in the order it is looked for: beside the program (a copy run where
// it was built or unpacked), the user's configuration folder ($XDG_CONFIG_HOME/KAVERO, else
// ~/.config/KAVERO: an installed program's folder is not the user's to write), and the data
// folder installed with the program (share/kavero beside its bin folder).
std::vector<std::filesystem::path> providerFileCandidates(const std::filesystem::path& programFolder);

// The first of those that exists; the one beside the program when none does.
std::filesystem::path findProviderFile(const std::filesystem::path& programFolder);

// Fills eProvideName: "(None)", then the names from `providerFile`, selects "(None)" and then
// the saved provider. A file that ends inside a record keeps the names read before it and is
// reported to `problem`, so the rest of the load still runs.
void fillProviderList(frmMain& form, const SettingsStore& store, const std::filesystem::path& providerFile,
                      const SettingsProblemSink& problem);

} // namespace kavero::shell
