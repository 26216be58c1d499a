// Records in the text form LOAD DATA reads: one line per record, fields split by a tab, Null
// as \N, and tab, line feed, carriage return, backslash and NUL escaped with a backslash.
// Each field carries the value its INSERT literal would, so a record loaded this way and one
// inserted arrive the same.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jet/value.h"
#include "source/record_statement.h"

namespace kavero::source {

// Appends the field for one literal of the record statements (recordLiteral): NULL as \N, a
// quoted text unquoted and escaped, the digits of X'…' alone, a number as it stands. A line is
// the fields of a record split by tabs, ended by a line feed (see appendValuesRow).
void appendLoadDataField(std::string& text, std::string_view literal);

// LOAD DATA LOCAL INFILE of `path` into `table`, reading the lines above. Bytes travel as hex
// digits and are turned back by the server, so no byte of them depends on a character set.
std::string BuildLoadDataStatement(const std::string& table, const std::vector<CopiedField>& fields,
                                   const std::string& path);

} // namespace kavero::source
