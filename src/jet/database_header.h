// Page 0: which format the file has, and the fields of its RC4-masked block.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "jet/format.h"

namespace kavero::jet {

struct DatabaseHeader {
    const Format* format = nullptr;
    std::uint8_t versionByte = 0;  // 0 Jet 3, 1 Jet 4, 2.. ACE
    std::uint16_t codePage = 0;
    std::uint32_t databaseKey = 0; // non-zero: pages 1.. are RC4-encoded (Jet 3/4)
    std::uint16_t sortOrder = 0;   // LCID
    double creationDate = 0;       // Jet 4 and ACE; days since 1899-12-30
    std::string password;          // Jet 4: the database password as UTF-8, empty when none

    // Reads page 0 (at least one page of bytes). `fileSize` decides the page count check.
    // Throws FormatError 3343 for anything that is not a readable Access file and 3031 for an
    // encrypted ACE file.
    static DatabaseHeader parse(std::span<const std::byte> firstBytes, std::uint64_t fileSize);
};

} // namespace kavero::jet
