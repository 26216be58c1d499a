// The table pick: the selected table's fields and keys in eFieldListGrid and ekeyListGrid.
#pragma once

#include <string>
#include <string_view>

#include "shell/main_form.h"
#include "shell/user_interface.h"
#include "source/engine.h"

namespace kavero::source {

// Grid widths in twips.
inline constexpr int kNameColumnWidth = 1900;
inline constexpr int kSizeColumnWidth = 550;

// The type word of a field: the name the builders map, from the engine type code and the
// Attributes (exactly 49, an auto-increment long, reads AUTONUM). Decimal and BigInt read
// DOUBLE; GUID, Binary and codes the builders cannot map read the empty word.
std::string typeWord(int typeCode, std::int32_t attributes);

// The click on an eTables entry: loads the design of `tableName` from the file in eFilename.
void loadTableDesign(shell::frmMain& form, shell::UserInterface& ui, const std::string& tableName);

} // namespace kavero::source
