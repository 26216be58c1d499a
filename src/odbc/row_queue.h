// Records handed from the thread that reads the Access file to the one that talks to the
// server.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kavero::odbc {

// A record waiting in the open chunk: its number and its row "('a', 1)" for an INSERT.
struct Pending {
    std::int64_t record = 0;
    std::string row;
};

// The LOAD DATA lines of a chunk, written by the reader: the file, or why it could not be
// written.
struct ChunkFile {
    std::filesystem::path path;
    std::string error;
};

// Records read one after another, as rows. When the chunks go by LOAD DATA, the block that
// ends a chunk carries the file of the chunk's lines.
struct Block {
    std::vector<Pending> rows;
    std::optional<ChunkFile> chunkFile;
};

// Rows handed from the thread reading the Access file to the one talking to the server, so
// that the reading and the formatting of the next batch overlap the server's work on this
// one. Memory grows with the chunk, never with the table.
class RowQueue {
public:
    // At most `waiting` blocks wait: enough that the reader never waits for a chunk the server
    // is still taking, few enough that memory stays within a chunk or two.
    explicit RowQueue(std::size_t waiting) : m_waiting(waiting) {}

    // False when the taker has given up: the reader stops.
    bool push(Block block) {
        std::unique_lock lock(m_mutex);
        m_space.wait(lock, [this] { return m_blocks.size() < m_waiting || m_cancelled; });
        if (m_cancelled) return false;
        m_blocks.push_back(std::move(block));
        m_ready.notify_one();
        return true;
    }
    // The reader is done; `error` says why it ended early, when it did.
    void finish(std::optional<std::string> error = std::nullopt) {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
        m_error = std::move(error);
        m_ready.notify_one();
    }
    // The next block, or nothing once the reader is done and every block taken.
    std::optional<Block> pop() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_blocks.empty() || m_finished; });
        if (m_blocks.empty()) return std::nullopt;
        Block block = std::move(m_blocks.front());
        m_blocks.pop_front();
        m_space.notify_one();
        return block;
    }
    void cancel() {
        const std::lock_guard lock(m_mutex);
        m_cancelled = true;
        m_space.notify_one();
    }
    std::optional<std::string> error() const {
        const std::lock_guard lock(m_mutex);
        return m_error;
    }

private:
    const std::size_t m_waiting;
    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_space;
    std::deque<Block> m_blocks;
    bool m_finished = false;
    bool m_cancelled = false;
    std::optional<std::string> m_error;
};

} // namespace kavero::odbc
