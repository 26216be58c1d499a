// Chunks of records sent with LOAD DATA LOCAL INFILE: the fastest way a server takes records
// (about 1.7 times the rows a second of INSERT statements of a thousand rows each, measured
// on MariaDB 10.11), but one that stores what it cannot take with a warning instead of
// refusing it, and that a server may not allow at all. So each chunk is loaded inside a
// transaction and kept only when every record arrived without a word from the server;
// otherwise it is rolled back and the caller sends it as INSERT statements, which name each
// record the server refuses or changes.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "odbc/handles.h"
#include "odbc/row_queue.h"
#include "shell/status_channel.h"
#include "source/record_statement.h"

namespace kavero::odbc {

// The loader lives on the thread that talks to the server; the reader writes each chunk's
// lines into a file of its own with writeChunk while the server takes the chunk before.
class LoadDataChunks {
public:
    // Inactive from the start when no private scratch folder can be made.
    LoadDataChunks(Connection& connection, const std::string& table, const std::vector<source::CopiedField>& fields);
    ~LoadDataChunks();
    LoadDataChunks(const LoadDataChunks&) = delete;
    LoadDataChunks& operator=(const LoadDataChunks&) = delete;

    // False once LOAD DATA turned out not to work here: the rest of the copy goes as INSERTs.
    bool active() const { return m_active; }

    // From the reader's thread: the lines of the `chunk`th chunk into a scratch file of its own.
    ChunkFile writeChunk(std::int64_t chunk, const std::string& lines) const;

    // Loads a chunk of `records` records from its file and commits them. False when it left
    // nothing behind: the file could not be written or the server refused the statement
    // (then a line on `channel` says so once and the loader goes inactive), or the server took
    // the records with warnings or not all of them. The file is gone afterwards.
    bool load(std::size_t records, const ChunkFile& file, shell::StatusChannel& channel);

    // Removes a chunk's file that is not loaded.
    static void discard(const ChunkFile& file);

private:
    void giveUp(shell::StatusChannel& channel, const std::string& why);

    Connection& m_connection;
    Statement m_statement;
    const std::filesystem::path m_folder;
    const std::string m_table;
    const std::vector<source::CopiedField> m_fields;
    std::atomic<bool> m_active = false; // read by the reader's thread too
};

} // namespace kavero::odbc
