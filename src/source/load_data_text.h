// Records in the text form LOAD DATA reads: one line per record, fields split by a tab, Null
// as \N, and tab, line feed, carriage return, backslash and NUL escaped with a backslash.
// Each field carries the value its INSERT literal would, so a record loaded this way and one
// inserted arrive the same.
#pragma once

#include <string>
#include <vector>

#include "jet/value.h"
#include "source/record_statement.h"

namespace kavero::source {

// Appends one record as one line, its line feed included.
void appendLoadDataLine(std::string& text, const std::vector<CopiedField>& fields,
                        const std::vector<jet::Value>& record);

// LOAD DATA LOCAL INFILE of `path` into `table`, reading the lines above. Bytes travel as hex
// digits and are turned back by the server, so no byte of them depends on a character set.
std::string BuildLoadDataStatement(const std::string& table, const std::vector<CopiedField>& fields,
                                   const std::string& path);

} // namespace kavero::source
