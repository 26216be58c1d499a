// The column properties blob (MSysObjects.LvProp) of a table.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/writer/description.h"

namespace kavero::jet::writer {

// Empty when the table is to have no blob at all.
std::vector<std::uint8_t> buildPropertyBlob(const Table& table);

} // namespace kavero::jet::writer
