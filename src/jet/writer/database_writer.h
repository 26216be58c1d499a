// Writes a whole Jet 4 (.mdb, Access 2000-2003) file from a description. The files carry
// what mdbtools, mdb-reader and our own reader need; they leave out index pages, free maps
// and the system tables' indexes, so Access itself would not open them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "jet/writer/description.h"

namespace kavero::jet::writer {

// Throws std::runtime_error or std::invalid_argument naming the table and column at fault.
std::vector<std::uint8_t> buildDatabase(const Database& database);
void writeDatabase(const Database& database, const std::filesystem::path& file);

} // namespace kavero::jet::writer
