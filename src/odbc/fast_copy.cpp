// The chunked copy loop.
#include "odbc/fast_copy.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>
#include <utility>

#include "odbc/error_text.h"
#include "odbc/load_data_chunks.h"
#include "odbc/row_queue.h"
#include "odbc/server_warnings.h"
#include "shell/show_status.h"
#include "source/load_data_text.h"

namespace kavero::odbc {

namespace {

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

void postCopiedChunk(shell::StatusChannel& channel, std::int64_t first, std::int64_t last) {
    channel.showStatus("Copied records " + std::to_string(first) + " to " + std::to_string(last), false, false, 0,
                       true);
}

// A statement of several rows the server took with warnings: rolled back and sent again a row
// to a statement.
struct RowsChanged {};

// Sends each batch as soon as it is full, inside the open chunk's transaction, and commits
// once the chunk is full. The chunk's rows are kept until then: when a batch or the commit
// fails, the chunk is sent again batch by batch and a failing batch record by record.
class ChunkSender {
public:
    ChunkSender(Connection& connection, const CopyRequest& request, const std::string& head, bool strict,
                shell::StatusChannel& channel, CopyCounters& counters, std::vector<std::int64_t>& rejected,
                std::ofstream* rejectFile)
        : m_connection(connection), m_statement(connection), m_head(head), m_strict(strict), m_channel(channel),
          m_counters(counters), m_rejected(rejected), m_rejectFile(rejectFile),
          m_commitEvery(static_cast<std::size_t>(std::max<std::int64_t>(request.fast.commitEvery, 1))) {}

    void add(Pending pending) {
        m_batchBytes += pending.row.size() + 1;
        m_pending.push_back(std::move(pending));
        if (m_pending.size() - m_batchStart >= kBatchRows || m_batchBytes >= kBatchBytes) sendOpenBatch();
        if (m_pending.size() >= m_commitEvery) commit();
    }

    // Sends what is waiting and commits it.
    void commit() {
        sendOpenBatch();
        if (m_pending.empty()) return;
        bool committed = false;
        if (!m_failed) {
            try {
                m_statement.execute("COMMIT");
                committed = true;
            } catch (const Error&) {
                rollback();
            }
        }
        if (committed) {
            m_counters.copied += static_cast<std::int64_t>(m_pending.size());
            postWarnings(m_warnings);
        } else {
            resendByBatch();
        }
        postCopiedChunk(m_channel, m_pending.front().record, m_pending.back().record);
        m_pending.clear();
        m_batchStarts.clear();
        m_warnings.clear();
        m_batchStart = 0;
        m_failed = false;
    }

private:
    void sendOpenBatch() {
        if (m_batchStart == m_pending.size()) return;
        if (!m_failed) {
            try {
                if (m_batchStart == 0) m_statement.execute("START TRANSACTION");
                sendBatch(m_batchStart, m_pending.size(), m_warnings);
            } catch (const Error&) {
                // The rest of the chunk waits for the resend, which names the refused records.
                m_failed = true;
                rollback();
            } catch (const RowsChanged&) {
                m_failed = true;
                rollback();
            }
        }
        m_batchStarts.push_back(m_batchStart);
        m_batchStart = m_pending.size();
        m_batchBytes = 0;
    }

    // One statement for the rows [begin, end). A session that is not strict answers a value
    // it cannot store with a warning, and in a statement of several rows even a Null for a
    // NOT NULL column, which it refuses in a statement of one row: a warning there makes the
    // rows go again one to a statement, so each record is refused or changed exactly as the
    // one-record copy would have it, and named. The warnings of one row go to `warnings`.
    void sendBatch(std::size_t begin, std::size_t end, std::vector<std::string>& warnings) {
        std::string statement;
        statement.reserve(m_head.size() + 8 + (end - begin) * (m_pending[begin].row.size() + 1));
        statement += m_head;
        statement += "VALUES";
        for (std::size_t i = begin; i < end; ++i) {
            if (i > begin) statement += ',';
            statement += m_pending[i].row;
        }
        m_statement.execute(statement);
        if (m_strict) return;
        const std::vector<DiagnosticRecord> changed = serverWarnings(m_connection);
        if (changed.empty()) return;
        if (end - begin > 1) throw RowsChanged{};
        for (const DiagnosticRecord& warning : changed) {
            warnings.push_back(std::string(kChangedRecordLine) + std::to_string(m_pending[begin].record) + ": " +
                               std::to_string(warning.nativeError) + " " + serverText(warning.message));
        }
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
        for (std::size_t i = 0; i < m_batchStarts.size(); ++i) {
            const std::size_t begin = m_batchStarts[i];
            const std::size_t end = i + 1 < m_batchStarts.size() ? m_batchStarts[i + 1] : m_pending.size();
            std::vector<std::string> warnings;
            bool sent = false;
            try {
                m_statement.execute("START TRANSACTION");
                sendBatch(begin, end, warnings);
                m_statement.execute("COMMIT");
                sent = true;
            } catch (const Error&) {
                rollback();
            } catch (const RowsChanged&) {
                rollback();
            }
            if (sent) {
                m_counters.copied += static_cast<std::int64_t>(end - begin);
                postWarnings(warnings);
            } else {
                for (std::size_t record = begin; record < end; ++record) sendAlone(record);
            }
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
    const std::size_t m_commitEvery;
    std::vector<Pending> m_pending;         // the open chunk
    std::vector<std::size_t> m_batchStarts; // where each of its sent batches begins
    std::vector<std::string> m_warnings;    // the server's, posted once the chunk is committed
    std::size_t m_batchStart = 0;           // the first row not yet sent
    std::size_t m_batchBytes = 0;
    bool m_failed = false; // a batch of the chunk failed: it is rolled back
};

// Each chunk by LOAD DATA while that works, otherwise, and for a chunk it did not take
// whole, by INSERT statements.
class ChunkRouter {
public:
    ChunkRouter(ChunkSender& sender, LoadDataChunks* loader, shell::StatusChannel& channel, CopyCounters& counters)
        : m_sender(sender), m_loader(loader), m_channel(channel), m_counters(counters) {}

    void add(Block block) {
        if (m_loader == nullptr || !m_loader->active()) {
            if (block.chunkFile) LoadDataChunks::discard(*block.chunkFile);
            for (Pending& pending : block.rows) m_sender.add(std::move(pending));
            return;
        }
        const std::optional<ChunkFile> file = std::move(block.chunkFile);
        m_chunk.push_back(std::move(block));
        // The reader ends a block wherever a chunk ends, and gives that block the chunk's file.
        if (file) load(*file);
    }

    // Sends what is waiting and commits it. A chunk still open has no file (the reader was
    // stopped inside it): it goes as INSERTs.
    void commit() {
        insertChunk();
        m_sender.commit();
    }

private:
    void load(const ChunkFile& file) {
        const std::int64_t first = m_chunk.front().rows.front().record;
        const std::int64_t last = m_chunk.back().rows.back().record;
        if (m_loader->load(static_cast<std::size_t>(last - first + 1), file, m_channel)) {
            m_counters.copied += last - first + 1;
            postCopiedChunk(m_channel, first, last);
            m_chunk.clear();
            return;
        }
        commit();
    }

    void insertChunk() {
        for (Block& block : m_chunk) {
            for (Pending& pending : block.rows) m_sender.add(std::move(pending));
        }
        m_chunk.clear();
    }

    ChunkSender& m_sender;
    LoadDataChunks* m_loader;
    shell::StatusChannel& m_channel;
    CopyCounters& m_counters;
    std::vector<Block> m_chunk; // the open chunk's blocks, of records numbered one after another
};

// Reads every record as rows into the queue, in blocks that never reach past the end of a
// chunk of `chunkSize`; always ends it. With `loader`, the chunks' LOAD DATA lines go into a
// file each, written here, while the server takes the chunk before.
void readRows(const CopyRequest& request, const std::vector<source::CopiedField>& fields, const LoadDataChunks* loader,
              std::size_t chunkSize, RowQueue& queue, shell::StatusChannel& channel, CopyCounters& counters) {
    std::int64_t record = 0;
    Block block;
    std::string lines; // the open chunk's
    // Room for a row as long as the last one and a little more: one allocation a row, not
    // one each time it outgrows its room.
    std::size_t rowRoom = 0;
    // The lines are made while LOAD DATA is wanted, which is asked once a chunk: once the
    // loader has given up, it never takes a chunk again.
    bool withLines = loader != nullptr && loader->active();
    // The block that ends a chunk takes the chunk's file along.
    const auto endChunk = [&] {
        withLines = withLines && loader->active();
        if (withLines) block.chunkFile = loader->writeChunk((record - 1) / static_cast<std::int64_t>(chunkSize), lines);
        lines.clear();
    };
    try {
        source::AccessDatabase database(request.databasePath, request.readOptions);
        source::Recordset records = database.openRecordset(request.design.name);
        for (; !records.eof(); records.moveNext()) {
            if (block.rows.empty()) block.rows.reserve(kBatchRows);
            Pending& row = block.rows.emplace_back();
            row.record = record + 1;
            row.row.reserve(rowRoom);
            source::appendValuesRow(row.row, fields, records.values(), withLines ? &lines : nullptr);
            rowRoom = row.row.size() + row.row.size() / 4 + 16;
            postChangedValues(channel, row.record, fields, records.values());
            ++record;
            const bool chunkEnds = static_cast<std::size_t>(record) % chunkSize == 0;
            if (block.rows.size() >= kBatchRows || chunkEnds) {
                counters.read = record;
                if (chunkEnds) endChunk();
                if (!queue.push(std::exchange(block, {}))) return queue.finish();
            }
        }
        counters.read = record;
        if (!block.rows.empty()) {
            endChunk();
            if (!queue.push(std::move(block))) return queue.finish();
        }
        queue.finish();
    } catch (const source::EngineError& error) {
        // The records read before the damage still go, then the reason.
        counters.read = record;
        if (!block.rows.empty()) {
            endChunk();
            queue.push(std::move(block));
        }
        queue.finish("Error reading the record after record no. " + std::to_string(record) + ": " + error.boxText());
    } catch (const std::exception& error) {
        queue.finish(std::string("Error reading the records: ") + error.what());
    }
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
    ChunkSender inserts(connection, request, head, strict, channel, counters, copy.rejected,
                        rejectFile.is_open() ? &rejectFile : nullptr);
    std::optional<LoadDataChunks> loader;
    if (request.fast.loadData) loader.emplace(connection, request.design.name, fields);
    LoadDataChunks* const chunks = loader && loader->active() ? &*loader : nullptr;
    const auto chunkSize = static_cast<std::size_t>(std::max<std::int64_t>(request.fast.commitEvery, 1));
    ChunkRouter sender(inserts, chunks, channel, counters);
    const std::int64_t total = request.total;
    shell::ProgressPacer pacer(channel, total);
    counters.total = total;
    channel.showStatus("Copying " + std::to_string(total) + " records in total", false, true,
                       total > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(total));
    // A chunk goes to the server as a whole, so a chunk's worth of rows may wait: the reader
    // reads the next chunk while the server takes this one.
    RowQueue queue(std::max<std::size_t>(4, chunkSize / kBatchRows + 1));
    std::thread reader([&] { readRows(request, fields, chunks, chunkSize, queue, channel, counters); });
    // Whatever ends this function, the reader is told and waited for.
    struct JoinReader {
        RowQueue& queue;
        std::thread& reader;
        ~JoinReader() {
            queue.cancel();
            if (reader.joinable()) reader.join();
        }
    } joinReader{queue, reader};
    while (std::optional<Block> block = queue.pop()) {
        copy.records = block->rows.back().record;
        sender.add(std::move(*block));
        pacer.update(copy.records);
        if (channel.stopRequested()) {
            queue.cancel();
            reader.join();
            sender.commit(); // what was taken arrives, so the numbers below hold
            channel.showStatus(shell::stoppedByUserLine(counters.copied, total), true);
            return copy;
        }
    }
    reader.join();
    sender.commit();
    pacer.post(copy.records);
    if (const std::optional<std::string> error = queue.error()) {
        // The Access file is damaged past this record: the rest cannot be read, and saying so
        // is the last thing the copy does.
        channel.showStatus(*error, false, false, 0, true);
        channel.showStatus("The copy ended early: the Access file could not be read to its end", true);
        return copy;
    }
    copy.finished = true;
    return copy;
}

} // namespace kavero::odbc
