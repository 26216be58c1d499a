// The fast record copy: records sent in chunks, each committed at once, instead of one
// statement and one commit per record (which makes the server sync its log for every record,
// a few hundred records a second). A chunk goes by LOAD DATA LOCAL INFILE where the server
// allows it and takes the chunk without a warning, else as INSERT statements of a thousand
// rows; a failed INSERT batch is sent again record by record, so every refused record is
// still named by its number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "odbc/copy_records.h"
#include "odbc/error.h"
#include "odbc/handles.h"
#include "shell/status_channel.h"
#include "source/record_statement.h"

namespace kavero::odbc {

// At most this many rows go into one INSERT, and no statement grows much past kBatchBytes,
// well below the smallest max_allowed_packet a server is likely to run with (4 MB before
// MariaDB 10.2 and MySQL 8).
inline constexpr std::size_t kBatchRows = 1000;
inline constexpr std::size_t kBatchBytes = 1 << 20;

// Posts one "Error on record no. N: …" line per diagnostic of the refusal.
void postRejectedRecord(shell::StatusChannel& channel, std::int64_t record, const Error& error);

// What a copy loop did: the records read (numbered from 1), the refused ones in
// ascending order, and whether it went through the whole table. When it did not, it has
// posted why with a finish call.
struct SentRecords {
    std::int64_t records = 0;
    std::vector<std::int64_t> rejected;
    bool finished = false;
};

// Sends every record of the request's table as CopyRequest::fast says, on `connection`.
// `head` is the INSERT head of the table ("Insert Into `T` (`a`) "); `strict` says whether the
// session refuses what it would otherwise cut, so SHOW WARNINGS is needed only when not.
SentRecords CopyInChunks(Connection& connection, const CopyRequest& request,
                         const std::vector<source::CopiedField>& fields, const std::string& head, bool strict,
                         shell::StatusChannel& channel, CopyCounters& counters);

// One JSON object on one line for a record the server refused, for the reject file.
std::string rejectedRecordJson(std::int64_t record, const Error& error, std::string_view values);

} // namespace kavero::odbc
