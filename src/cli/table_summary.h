// Whole databases from the command line: the user tables of a file, each run by the one-table
// command in turn, and the table of results on standard error at the end, as migration tools
// close their runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "source/engine.h"
#include "source/foreign_keys.h"

namespace kavero::cli {

// Exit statuses of the copy: some records were refused by the server (each named), and the
// check after the copy found the server holding something other than what was copied.
inline constexpr int kExitRecordsRejected = 3;
inline constexpr int kExitDifferences = 4;

// What one table's run did; a count that does not apply stays empty and shows as "-".
struct TableRun {
    std::string table;
    int status = 0; // the one-table command's exit status
    std::optional<std::int64_t> read{}, copied{}, rejected{}, verified{};
    double seconds = 0;
};

// The user tables of `file` in catalog order, with `valuesTables` each followed by the values
// tables of its attachment and multi-value fields; nothing (the error printed) when the file
// cannot be read.
std::optional<std::vector<std::string>> allUserTables(const std::string& file, const source::ReadOptions& options,
                                                      bool valuesTables = false);

// Runs `one` for each table, then prints the summary; the exit status is 1 when a table
// failed, else 4 when a check found differences, else 3 when records were rejected, else 0.
int runAllTables(const std::vector<std::string>& tables, const std::function<TableRun(const std::string&)>& one);

// Whether a table's run left the table on the server (or in the script), its records
// rejected or different or not.
bool tableCreated(int status);

// The foreign keys that the file's relationships between the run's `tables` make between
// the lossless tables `created`, each relationship left out named on standard error; nothing
// (the error printed) when the file cannot be read. Relationships of other tables (the
// engine's own) do not concern the run.
std::optional<std::vector<source::ForeignKey>> planForeignKeys(const std::string& file,
                                                               const std::vector<std::string>& tables,
                                                               const std::vector<std::string>& created,
                                                               const source::ReadOptions& options);

// The summary table, one line per table and a total line, each ended by a line break.
std::string summaryTable(const std::vector<TableRun>& runs);

} // namespace kavero::cli
