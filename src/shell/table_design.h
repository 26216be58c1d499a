// The picked table's design as the Access file holds it: every field and index with the
// engine's own type codes and attributes. It is read once per pick; the field list and key
// list of the main window show it, and the script, the record copy and the pages are built
// from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavero::shell {

struct DesignField {
    std::string name{};
    int type = 0;          // engine type code: 1 Yes/No ... 12 Memo, 15 GUID, 16 Decimal, others as stored
    std::int32_t size = 0; // as the engine reports it
    std::int32_t attributes = 0;
    bool allowZeroLength = false;
    bool required = false;
    std::string defaultValue{}; // the stored expression, empty when none
    int precision = 0;          // Decimal
    int scale = 0;              // Decimal
    // Converted by the lossless rules (an Options choice) instead of the documented ones.
    bool lossless = false;
};

struct DesignIndex {
    std::string name{};
    std::string fields{}; // "+A;-B": sign and name of each field, ";" between them
    bool unique = false;
    bool primary = false;
};

struct TableDesign {
    std::string name{};
    std::vector<DesignField> fields{};  // record order
    std::vector<DesignIndex> indexes{}; // engine order
};

// Chooses the rules every field of the design is converted by: the script, the record
// statements and the check after a copy all follow the fields' choice.
inline void chooseLossless(TableDesign& design, bool lossless) {
    for (DesignField& field : design.fields) field.lossless = lossless;
}

inline bool isLossless(const TableDesign& design) {
    return !design.fields.empty() && design.fields.front().lossless;
}

} // namespace kavero::shell
