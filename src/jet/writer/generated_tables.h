// Fixtures whose records are computed: every type at its edges, the large tables and the
// sample shop. All of them are reproducible: a record depends only on its number.
#pragma once

#include <cstdint>

#include "jet/writer/description.h"

namespace kavero::jet::writer {

Database typesFixture();
Database largeFixture();
Database benchFixture();

// A well-mixed 64-bit value for record number n and a stream tag (splitmix64).
std::uint64_t mixBits(std::uint64_t n, std::uint64_t stream);

} // namespace kavero::jet::writer
