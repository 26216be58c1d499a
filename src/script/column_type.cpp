// The type mapping from Access type words to MySQL column types.
#include "script/column_type.h"

#include <array>
#include <utility>

namespace kavero::script {

namespace {

// The prefix given to keys on LONGBLOB and LONGTEXT columns: long enough to tell most values
// apart, short enough for any index (255 utf8mb4 characters are 1020 bytes).
constexpr std::string_view kLongColumnKeyPrefix = "255";

constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kFixedTypes = {{
    {"BOOLEAN", " INTEGER, "},
    {"BYTE", " INTEGER, "},
    {"INTEGER", " INTEGER, "},
    {"LNGINT", " BIGINT, "},
    {"CURRENCY", " DOUBLE, "},
    {"SINGLE", " REAL, "},
    {"DOUBLE", " DOUBLE, "},
    {"DATETIME", " DATETIME, "},
    {"BLOB", " TEXT, "}, // Access Memo
    {"OLE", " BLOB, "},  // Access OLE object
    {"AUTONUM", " DOUBLE auto_increment, "},
}};

} // namespace

bool isKnownTypeWord(std::string_view typeWord) {
    if (typeWord == "TEXT") return true;
    for (const auto& [word, column] : kFixedTypes) {
        if (word == typeWord) return true;
    }
    return false;
}

std::string columnText(std::string_view typeWord, std::string_view size) {
    if (typeWord == "TEXT") return " VARCHAR(" + std::string(size) + "), ";
    for (const auto& [word, column] : kFixedTypes) {
        if (word == typeWord) return std::string(column);
    }
    if (typeWord.empty()) return " LONGBLOB, ";
    return " LONGTEXT, ";
}

std::string keyPrefixLength(std::string_view typeWord, std::string_view size) {
    if (typeWord == "TEXT") return std::string(size);
    if (!isKnownTypeWord(typeWord)) return std::string(kLongColumnKeyPrefix);
    return {};
}

} // namespace kavero::script
