// The record copy of the direct target: every record of the table as one INSERT, each
// committed on its own, with a status line per record and one per rejected record (or, as
// FastCopyOptions ask, many records to a statement in committed chunks: fast_copy.h), and
// then, unless left out, the check that everything arrived (check_records.h). It runs on a worker
// thread with a connection and a reading of the Access file of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "odbc/direct_connection.h"
#include "shell/status_channel.h"
#include "shell/table_design.h"
#include "source/engine.h"
#include "source/record_statement.h"

namespace kavero::odbc {

// The fast copy (fast_copy.h): many records to a statement, committed in chunks.
struct FastCopyOptions {
    bool enabled = false;
    // Records per transaction: what a lost connection can take back at most.
    std::int64_t commitEvery = 10000;
    // When given, each refused record as one JSON line: its number, the server's error and
    // the values sent.
    std::string rejectFile;
    // Send each chunk with LOAD DATA LOCAL INFILE where the server allows it; INSERT
    // statements of many rows otherwise.
    bool loadData = true;
};

// Everything the copy needs, taken from the window before the worker starts: the worker
// never reads a window model.
struct CopyRequest {
    DirectLogin login;
    std::string databasePath;
    source::ReadOptions readOptions{};
    shell::TableDesign design;
    // The number of records, counted by the command when it read the table to its end before
    // touching the server; the bar and the total follow it, whatever the first field holds.
    std::int64_t total = 0;
    // Read the table back from the server afterwards and compare it with the Access table.
    bool check = true;
    FastCopyOptions fast{};
};

// Where the copy stands, for a watcher on another thread (kavero-cli's progress line).
struct CopyCounters {
    std::atomic<std::int64_t> total{0};
    std::atomic<std::int64_t> read{0};
    std::atomic<std::int64_t> copied{0};
    std::atomic<std::int64_t> rejected{0};
    std::atomic<bool> finished{false}; // every record was tried
    // The check: server rows read, records found as copied, and differences found.
    std::atomic<std::int64_t> checked{0};
    std::atomic<std::int64_t> verified{0};
    std::atomic<std::int64_t> differences{0};
    std::atomic<bool> checkComplete{false}; // the check read both sides to their end
};

// The first words of the status line of a rejected record, followed by its number, ": ",
// the server's error number, a blank and its description.
inline constexpr std::string_view kRejectedRecordLine = "Error on record no. ";
// The same for a record the server took but changed (a value cut in a non-strict mode).
inline constexpr std::string_view kChangedRecordLine = "Warning on record no. ";
// The fast copy could not use LOAD DATA LOCAL INFILE: why, then that INSERTs follow.
inline constexpr std::string_view kLoadDataRefusedLine = "LOAD DATA LOCAL INFILE cannot be used (";

// Posts a "Warning on record no. N: …" line for each value of the record its literal changes
// (source::changedValues), whether the server then takes the record or not: the line says
// what was sent.
void postChangedValues(shell::StatusChannel& channel, std::int64_t record,
                       const std::vector<source::CopiedField>& fields, const std::vector<jet::Value>& values);

// Copies the records and posts the status calls; ends with a finish call whatever happens,
// so the progress window never waits for one. Without the check that is "Finished copy";
// with it, the summary of records read, copied, rejected and verified.
void CopyRecordsDirectly(const CopyRequest& request, shell::StatusChannel& channel, CopyCounters& counters);

} // namespace kavero::odbc
