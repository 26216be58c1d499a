// A usage map: the set of pages a table (or index, or long-value column) owns, stored either
// inline as one bitmap (type 0) or as pointers to bitmap pages (type 1).
#pragma once

#include <cstdint>
#include <vector>

#include "jet/page_channel.h"

namespace kavero::jet {

class UsageMap {
public:
    // Reads the map row at `pointer` (page << 8 | row). The pages come in ascending order,
    // without duplicates. A map that lists pages past the end of the file yields the first of
    // them as its last page, so that the caller meets it where it would read it and reports
    // it; their type and owner, too, are for the caller to check.
    static std::vector<std::uint32_t> pages(const PageChannel& channel, std::uint32_t pointer);
};

} // namespace kavero::jet
