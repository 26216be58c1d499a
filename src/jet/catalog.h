// The catalog: the local tables that MSysObjects lists, in physical scan order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/page_channel.h"
#include "jet/text_codec.h"

namespace kavero::jet {

struct CatalogEntry {
    std::string name;
    std::uint32_t tdefPage = 0;
    std::uint32_t flags = 0;
    bool system = false;
};

class Catalog {
public:
    // Every local table (Type 1), system tables included; linked tables have no definition here.
    static std::vector<CatalogEntry> tables(const PageChannel& channel, const CodePageDecoder& codePage);
    // The property blob of the table row with this exact name; empty when it has none.
    static std::vector<std::uint8_t> properties(const PageChannel& channel, const CodePageDecoder& codePage,
                                                const std::string& tableName);
};

} // namespace kavero::jet
