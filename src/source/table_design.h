// The table pick: the selected table's design, read once into the window model and shown in
// eFieldListGrid and ekeyListGrid.
#pragma once

#include <string>
#include <vector>

#include "shell/command_result.h"
#include "shell/main_form.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::source {

// Grid widths in twips.
inline constexpr int kNameColumnWidth = 1900;
inline constexpr int kSizeColumnWidth = 550;

// One row of the key list: the first field of an index, for the first index in engine order
// that starts with it. Keys on fields the field list leaves out (GUIDs) have no row.
struct KeyRow {
    const shell::DesignField* field;
    bool unique;
    bool primary;
};
std::vector<KeyRow> keyList(const shell::TableDesign& design);

// The fields of the table's primary index, in index order; empty when it has none.
std::vector<const shell::DesignField*> primaryKeyFields(const shell::TableDesign& design);

// One field of an index, in index order, and whether it is sorted descending.
struct IndexPart {
    const shell::DesignField* field;
    bool descending;
};

// The fields of an index; empty when it names a field the table does not have.
std::vector<IndexPart> indexParts(const shell::TableDesign& design, const shell::DesignIndex& index);

// The fields that have a row in the field list, in record order.
std::vector<const shell::DesignField*> listedFields(const shell::TableDesign& design);

// The click on an eTables entry: loads the design of `tableName` from the file in eFilename
// into form.design and the grids. A name the server would not take stops the load with a
// message; an engine error is shown and reported as a failure.
shell::CommandResult loadTableDesign(shell::frmMain& form, shell::UserInterface& ui, const std::string& tableName,
                                     const ReadOptions& options);

} // namespace kavero::source
