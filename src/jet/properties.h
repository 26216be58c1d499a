// Column properties from a table's property blob (MSysObjects.LvProp): DefaultValue,
// AllowZeroLength and Required.
#pragma once

#include <cstdint>
#include <span>

#include "jet/table_definition.h"
#include "jet/text_codec.h"

namespace kavero::jet {

// Parses the blob and stores the properties on the columns it names. An empty blob sets
// nothing. Throws FormatError for a damaged blob.
void applyColumnProperties(std::span<const std::uint8_t> blob, const Format& format, const CodePageDecoder& codePage,
                           TableDefinition& table);

} // namespace kavero::jet
