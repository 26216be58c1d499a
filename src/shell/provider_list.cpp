// The provider list file: a field reader in the manner of the old runtime's sequential input.
#include "shell/provider_list.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

#include "kavero/install_dirs.h"
#include "kavero/version.h"

namespace kavero::shell {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

class FieldReader {
public:
    explicit FieldReader(std::string text) : m_text(std::move(text)) {
        if (m_text.rfind("\xEF\xBB\xBF", 0) == 0) m_pos = 3; // a UTF-8 mark written by Windows editors
    }

    // The next field, or nothing at the end of the file. Blank lines before a field are
    // skipped; a comma at the end of a line still leaves an (empty) field to read.
    std::optional<std::string> next() {
        if (!m_afterComma) {
            while (m_pos < m_text.size() && (isBlank(m_text[m_pos]) || isLineEnd(m_text[m_pos]))) ++m_pos;
            if (m_pos >= m_text.size()) return std::nullopt;
        } else {
            while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
        }
        m_afterComma = false;
        std::string field;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            ++m_pos;
            const std::size_t close = m_text.find_first_of("\"\r\n", m_pos);
            const std::size_t end = close == std::string::npos ? m_text.size() : close;
            field = m_text.substr(m_pos, end - m_pos);
            m_pos = end;
            if (m_pos < m_text.size() && m_text[m_pos] == '"') ++m_pos;
            // Anything between the closing quote and the separator is not part of the value.
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos])) ++m_pos;
        } else {
            const std::size_t end = std::min(m_text.find_first_of(",\r\n", m_pos), m_text.size());
            std::string_view raw(m_text.data() + m_pos, end - m_pos);
            while (!raw.empty() && isBlank(raw.back())) raw.remove_suffix(1);
            field = std::string(raw);
            m_pos = end;
        }
        consumeSeparator();
        return field;
    }

private:
    void consumeSeparator() {
        if (m_pos >= m_text.size()) return;
        if (m_text[m_pos] == ',') {
            ++m_pos;
            m_afterComma = true;
            return;
        }
        if (m_text[m_pos] == '\r') ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
    }

    std::string m_text;
    std::size_t m_pos = 0;
    bool m_afterComma = false;
};

} // namespace

ProviderList readProviderList(std::istream& in, std::size_t maxRecords) {
    ProviderList list;
    FieldReader reader{std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
    while (list.records.size() < maxRecords) {
        std::optional<std::string> name = reader.next();
        if (!name) break;
        std::optional<std::string> detail = reader.next();
        if (!detail) {
            list.problem = SettingsError(SettingsError::kInputPastEndOfFile,
                                         "Input past end of file: record " + std::to_string(list.records.size() + 1) +
                                             " (\"" + *name + "\") has no second field");
            break;
        }
        list.records.push_back({std::move(*name), std::move(*detail)});
    }
    return list;
}

ProviderList readProviderFile(const std::filesystem::path& file, std::size_t maxRecords) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    ProviderList list = readProviderList(in, maxRecords);
    if (list.problem) {
        list.problem = SettingsError(list.problem->number(), std::string(list.problem->what()) + " in " + file.string());
    }
    return list;
}

std::vector<std::filesystem::path> providerFileCandidates(const std::filesystem::path& programFolder) {
    std::vector<std::filesystem::path> files{programFolder / kProviderFileName};
    // As the XDG rules have it, a configuration home that is not absolute is ignored.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (configHome && std::filesystem::path(configHome).is_absolute()) {
        files.push_back(std::filesystem::path(configHome) / kProductName / kProviderFileName);
    } else if (home && *home) {
        files.push_back(std::filesystem::path(home) / ".config" / kProductName / kProviderFileName);
    }
    files.push_back((programFolder / kDataFolderFromProgram).lexically_normal() / kProviderFileName);
    return files;
}

std::filesystem::path findProviderFile(const std::filesystem::path& programFolder) {
    const std::vector<std::filesystem::path> files = providerFileCandidates(programFolder);
    for (const std::filesystem::path& file : files) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(file, ignored)) return file;
    }
    return files.front();
}

void fillProviderList(frmMain& form, const SettingsStore& store, const std::filesystem::path& providerFile,
                      const SettingsProblemSink& problem) {
    ComboBox& box = form.eProvideName;
    box.clear();
    box.addItem(std::string(kNoneEntry));
    const ProviderList list = readProviderFile(providerFile);
    for (const ProviderRecord& record : list.records) box.addItem(record.name);
    if (list.problem && problem) problem(*list.problem);
    box.select(0);
    selectSavedProvider(form, store);
}

} // namespace kavero::shell
