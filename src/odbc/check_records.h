// The check after a copy: the table read back from the server, and every copied record found
// there holding, value for value, what the column rule says its column must hold (typed
// values read back through ODBC, compared with the reader's values; never the statements'
// text). Records are paired by the Access table's primary key when every field of it is
// copied, otherwise the rows are compared as a multiset. Each record missing on the server,
// each paired record holding other values and each row no record gives is reported.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/copy_records.h"
#include "odbc/handles.h"
#include "shell/status_channel.h"
#include "shell/table_design.h"
#include "source/engine.h"

namespace kavero::odbc {

struct CheckRequest {
    std::string databasePath;
    source::ReadOptions readOptions{};
    shell::TableDesign design;
    // The records the copy reported as refused, ascending: they are expected to be missing.
    std::vector<std::int64_t> rejected;
    // The number of records, counted beforehand, for the bar.
    std::int64_t total = 0;
};

struct CheckCounts {
    std::int64_t records = 0;   // read from the Access table
    std::int64_t verified = 0;  // on the server with every value as expected
    std::int64_t missing = 0;   // copied (not refused) but not on the server
    std::int64_t different = 0; // paired by key, holding other values
    std::int64_t extra = 0;     // rows on the server that no record gives
    bool complete = false;      // the check read both sides to their end

    std::int64_t differences() const { return missing + different + extra; }
};

// The first words of the status lines of the differences: a record number follows the first
// two, the row's values the third.
inline constexpr std::string_view kMissingRecordLine = "Missing record no. ";
inline constexpr std::string_view kDifferentRecordLine = "Different record no. ";
inline constexpr std::string_view kExtraRowLine = "Extra row on the server: ";
// The closing line of a check that found differences, followed by their counts.
inline constexpr std::string_view kCheckDifferencesLine = "The server does not hold what was copied: ";
// The first word of the line of a check that ended early, followed by why.
inline constexpr std::string_view kCheckEndedEarlyLine = "The check ";

// Posts "Checking …" lines, one line per difference and a closing line with the counts;
// never a finish call, which is the caller's. A failure (the server gone, the table missing,
// the Access file unreadable) or a stop ends the check early with a line that says so, and
// the counts are not complete. Reads the server in pages along its primary key when it has
// one of a single column, so the driver never holds the whole table.
CheckCounts CheckCopiedRecords(Connection& connection, const CheckRequest& request, shell::StatusChannel& channel,
                               CopyCounters& counters);

// The check alone, for a table copied earlier: connects as `login` says, checks with no
// record expected to be missing, and ends with the summary line as a finish call.
void CheckCopiedTable(const DirectLogin& login, const CheckRequest& request, shell::StatusChannel& channel,
                      CopyCounters& counters);

// The closing line of a copy or check: "Records read 5, copied 5, rejected 0, verified 5, in
// 0.4 s (12 records/s)". Negative counts are left out (a check alone copies nothing);
// `verified` without a complete check reads "not verified".
std::string summaryLine(std::int64_t read, std::int64_t copied, std::int64_t rejected, std::int64_t verified,
                        bool checked, double seconds);

} // namespace kavero::odbc
