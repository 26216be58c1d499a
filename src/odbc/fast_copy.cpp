// The chunked copy loop.
#include "odbc/fast_copy.h"

#include <chrono>
#include <cstdio>
#include <fstream>

#include "odbc/error_text.h"
#include "odbc/server_warnings.h"
#include "shell/show_status.h"

namespace kavero::odbc {

namespace {

using Clock = std::chrono::steady_clock;

// How often the progress line is redrawn: often enough to look alive, rarely enough to cost
// nothing next to the copy.
constexpr auto kProgressInterval = std::chrono::milliseconds(250);

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c; // UTF-8 passes as it is
        }
    }
    out += '"';
}

// A record waiting in the open chunk: its number and its row "('a', 1)".
struct Pending {
    std::int64_t record = 0;
    std::string row;
};

class ChunkSender {
public:
    ChunkSender(Connection& connection, const CopyRequest& request, const std::string& head, bool strict,
                shell::StatusChannel& channel, CopyCounters& counters, std::vector<std::int64_t>& rejected,
                std::ofstream* rejectFile)
        : m_connection(connection), m_statement(connection), m_head(head), m_strict(strict), m_channel(channel),
          m_counters(counters), m_rejected(rejected), m_rejectFile(rejectFile),
          m_commitEvery(request.fast.commitEvery > 0 ? request.fast.commitEvery : 1) {}

    // Takes one record's VALUES clause; sends the chunk once it is full.
    void add(std::int64_t record, std::string valuesClause) {
        // "VALUES(…)" becomes one row "(…)" of a multi-row statement.
        m_pending.push_back({record, valuesClause.substr(6)});
        if (static_cast<std::int64_t>(m_pending.size()) >= m_commitEvery) send();
    }

    // Sends and commits what is waiting.
    void send() {
        if (m_pending.empty()) return;
        std::vector<std::string> warnings;
        bool sent = false;
        try {
            m_statement.execute("START TRANSACTION");
            for (std::size_t begin = 0; begin < m_pending.size();) {
                const std::size_t end = batchEnd(begin);
                sendBatch(begin, end, warnings);
                begin = end;
            }
            m_statement.execute("COMMIT");
            sent = true;
        } catch (const Error&) {
            rollback();
        }
        if (sent) {
            m_counters.copied += static_cast<std::int64_t>(m_pending.size());
            postWarnings(warnings);
        } else {
            resendByBatch();
        }
        m_channel.showStatus("Copied records " + std::to_string(m_pending.front().record) + " to " +
                                 std::to_string(m_pending.back().record),
                             false, false, 0, true);
        m_pending.clear();
    }

private:
    std::size_t batchEnd(std::size_t begin) const {
        std::size_t end = begin;
        std::size_t bytes = m_head.size();
        while (end < m_pending.size() && end - begin < kBatchRows && (end == begin || bytes < kBatchBytes)) {
            bytes += m_pending[end].row.size() + 1;
            ++end;
        }
        return end;
    }

    // One statement for the rows [begin, end); the server's warnings on it go to `warnings`
    // under the record each names.
    void sendBatch(std::size_t begin, std::size_t end, std::vector<std::string>& warnings) {
        std::string statement = m_head + "VALUES";
        for (std::size_t i = begin; i < end; ++i) {
            if (i > begin) statement += ',';
            statement += m_pending[i].row;
        }
        m_statement.execute(statement);
        if (m_strict) return;
        for (const DiagnosticRecord& warning : serverWarnings(m_connection)) {
            warnings.push_back(std::string(kChangedRecordLine) + std::to_string(recordOfWarning(begin, end, warning)) +
                               ": " + std::to_string(warning.nativeError) + " " + serverText(warning.message));
        }
    }

    // MariaDB and MySQL name the row of a multi-row statement a warning is about ("… at row
    // 37"); a warning naming none goes to the batch's first record.
    std::int64_t recordOfWarning(std::size_t begin, std::size_t end, const DiagnosticRecord& warning) const {
        const std::size_t at = warning.message.rfind(" at row ");
        if (at != std::string::npos) {
            const long long row = std::atoll(warning.message.c_str() + at + 8);
            if (row >= 1 && static_cast<std::size_t>(row) <= end - begin) return m_pending[begin + row - 1].record;
        }
        return m_pending[begin].record;
    }

    void postWarnings(const std::vector<std::string>& warnings) {
        for (const std::string& line : warnings) m_channel.showStatus(line, false, false, 0, true);
    }

    void rollback() {
        try {
            m_statement.execute("ROLLBACK");
        } catch (const Error&) {
            // A connection that is gone has nothing left to roll back.
        }
    }

    // The chunk failed as a whole: each batch again in a transaction of its own, and a
    // batch that fails again record by record, each committed on its own, so every refused
    // record is named and every other one arrives.
    void resendByBatch() {
        for (std::size_t begin = 0; begin < m_pending.size();) {
            const std::size_t end = batchEnd(begin);
            std::vector<std::string> warnings;
            bool sent = false;
            try {
                m_statement.execute("START TRANSACTION");
                sendBatch(begin, end, warnings);
                m_statement.execute("COMMIT");
                sent = true;
            } catch (const Error&) {
                rollback();
            }
            if (sent) {
                m_counters.copied += static_cast<std::int64_t>(end - begin);
                postWarnings(warnings);
            } else {
                for (std::size_t i = begin; i < end; ++i) sendAlone(i);
            }
            begin = end;
        }
    }

    void sendAlone(std::size_t index) {
        std::vector<std::string> warnings;
        try {
            sendBatch(index, index + 1, warnings); // autocommit: committed on its own
        } catch (const Error& error) {
            const Pending& pending = m_pending[index];
            ++m_counters.rejected;
            m_rejected.push_back(pending.record);
            postRejectedRecord(m_channel, pending.record, error);
            if (m_rejectFile != nullptr)
                *m_rejectFile << rejectedRecordJson(pending.record, error, pending.row) << '\n' << std::flush;
            return;
        }
        ++m_counters.copied;
        postWarnings(warnings);
    }

    Connection& m_connection;
    Statement m_statement;
    const std::string& m_head;
    const bool m_strict;
    shell::StatusChannel& m_channel;
    CopyCounters& m_counters;
    std::vector<std::int64_t>& m_rejected;
    std::ofstream* m_rejectFile;
    const std::int64_t m_commitEvery;
    std::vector<Pending> m_pending;
};

std::string progressText(std::int64_t done, std::int64_t total, Clock::time_point started) {
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    const long long left = rate > 0 ? static_cast<long long>(static_cast<double>(total - done) / rate + 0.5) : 0;
    return std::to_string(done) + " of " + std::to_string(total) + " records, " +
           std::to_string(static_cast<long long>(rate)) + " records/s, " + std::to_string(left) + " s left";
}

} // namespace

void postRejectedRecord(shell::StatusChannel& channel, std::int64_t record, const Error& error) {
    const std::string start = std::string(kRejectedRecordLine) + std::to_string(record) + ": ";
    for (const DiagnosticRecord& diagnostic : error.records()) {
        channel.showStatus(start + std::to_string(diagnostic.nativeError) + " " + serverText(diagnostic.message), false,
                           false, 0, true);
    }
    if (error.records().empty()) channel.showStatus(start + "0 " + error.what(), false, false, 0, true);
}

std::string rejectedRecordJson(std::int64_t record, const Error& error, std::string_view values) {
    const DiagnosticRecord first = error.records().empty() ? DiagnosticRecord{"", 0, error.what()} : error.records()[0];
    std::string line =
        "{\"record\":" + std::to_string(record) + ",\"error\":" + std::to_string(first.nativeError) + ",\"sqlstate\":";
    appendJsonString(line, first.sqlstate);
    line += ",\"message\":";
    appendJsonString(line, serverText(first.message));
    line += ",\"values\":";
    appendJsonString(line, values);
    line += '}';
    return line;
}

SentRecords CopyInChunks(Connection& connection, const CopyRequest& request,
                         const std::vector<source::CopiedField>& fields, const std::string& head, bool strict,
                         shell::StatusChannel& channel, CopyCounters& counters) {
    SentRecords copy;
    std::ofstream rejectFile;
    if (!request.fast.rejectFile.empty()) {
        rejectFile.open(request.fast.rejectFile, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!rejectFile) {
            channel.showStatus(
                "No record was copied: the reject file " + request.fast.rejectFile + " could not be written", true);
            return copy;
        }
    }
    ChunkSender sender(connection, request, head, strict, channel, counters, copy.rejected,
                       rejectFile.is_open() ? &rejectFile : nullptr);
    const std::int64_t total = request.total;
    const Clock::time_point started = Clock::now();
    Clock::time_point shown = started;
    try {
        source::AccessDatabase database(request.databasePath, request.readOptions);
        counters.total = total;
        channel.showStatus("Copying " + std::to_string(total) + " records in total", false, true,
                           total > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(total));
        source::Recordset records = database.openRecordset(request.design.name);
        for (; !records.eof(); records.moveNext()) {
            if (channel.stopRequested()) {
                sender.send(); // what was read arrives, so the numbers below hold
                channel.showStatus(shell::stoppedByUserLine(counters.copied, total), true);
                return copy;
            }
            ++copy.records;
            counters.read = copy.records;
            sender.add(copy.records, source::BuildValuesClause(fields, records.values()));
            if ((copy.records & 255) == 0 && Clock::now() - shown >= kProgressInterval) {
                shown = Clock::now();
                channel.showProgress(copy.records, progressText(copy.records, total, started));
            }
        }
        sender.send();
    } catch (const source::EngineError& error) {
        sender.send();
        channel.showStatus("Error reading the record after record no. " + std::to_string(copy.records) + ": " +
                               error.boxText(),
                           false, false, 0, true);
        channel.showStatus("The copy ended early: the Access file could not be read to its end", true);
        return copy;
    }
    channel.showProgress(copy.records, progressText(copy.records, total, started));
    copy.finished = true;
    return copy;
}

} // namespace kavero::odbc
