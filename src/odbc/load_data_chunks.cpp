// LOAD DATA of a chunk through a scratch file.
#include "odbc/load_data_chunks.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "odbc/copy_records.h"
#include "odbc/error_text.h"
#include "odbc/server_warnings.h"
#include "source/load_data_text.h"

namespace kavero::odbc {

namespace {

// A folder only this user can read: the records pass through it on their way to the server.
std::filesystem::path makePrivateFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return {};
    std::string pattern = (base / "kavero-load-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

} // namespace

LoadDataChunks::LoadDataChunks(Connection& connection, const std::string& table,
                               const std::vector<source::CopiedField>& fields)
    : m_connection(connection), m_statement(connection), m_folder(makePrivateFolder()), m_table(table),
      m_fields(fields), m_active(!m_folder.empty()) {}

LoadDataChunks::~LoadDataChunks() {
    std::error_code ignored;
    if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ignored);
}

ChunkFile LoadDataChunks::writeChunk(std::int64_t chunk, const std::string& lines) const {
    ChunkFile file{m_folder / ("chunk-" + std::to_string(chunk) + ".tsv"), {}};
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.path.c_str(), "wb"), std::fclose);
    if (!out || std::fwrite(lines.data(), 1, lines.size(), out.get()) != lines.size() || std::fflush(out.get()) != 0)
        file.error = "the scratch file " + file.path.string() + " could not be written";
    return file;
}

void LoadDataChunks::discard(const ChunkFile& file) {
    std::error_code ignored;
    std::filesystem::remove(file.path, ignored);
}

void LoadDataChunks::giveUp(shell::StatusChannel& channel, const std::string& why) {
    m_active = false;
    channel.showStatus(std::string(kLoadDataRefusedLine) + why + "); the records go as INSERT statements", false, false,
                       0, true);
}

bool LoadDataChunks::load(std::size_t records, const ChunkFile& file, shell::StatusChannel& channel) {
    // Whatever happens below, the chunk's file has done its work.
    const struct Discard {
        const ChunkFile& file;
        ~Discard() { discard(file); }
    } discardFile{file};
    if (!m_active || records == 0) return false;
    if (!file.error.empty()) {
        giveUp(channel, file.error);
        return false;
    }
    bool kept = false;
    try {
        m_statement.execute("START TRANSACTION");
        try {
            m_statement.execute(source::BuildLoadDataStatement(m_table, m_fields, file.path.string()));
        } catch (const Error& error) {
            // Refused as a statement: by a server or driver that does not allow it, never
            // for a record's value, which would only be a warning.
            const DiagnosticRecord first =
                error.records().empty() ? DiagnosticRecord{"", 0, error.what()} : error.records().front();
            m_statement.execute("ROLLBACK");
            giveUp(channel, std::to_string(first.nativeError) + " " + serverText(first.message));
            return false;
        }
        kept = m_statement.rowCount() == static_cast<std::int64_t>(records) && serverWarnings(m_connection).empty();
        m_statement.execute(kept ? "COMMIT" : "ROLLBACK");
    } catch (const Error&) {
        // The transaction could not even be opened or ended: the INSERTs will say why.
        kept = false;
    }
    return kept;
}

} // namespace kavero::odbc
