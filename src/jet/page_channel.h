// The open database file: its header, and its pages read one at a time into a caller's buffer.
// The file is closed when the channel goes away.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/byte_view.h"
#include "jet/database_header.h"

namespace kavero::jet {

class PageChannel {
public:
    // Opens the file and reads its header; throws FormatError 3024 when there is no such file.
    explicit PageChannel(const std::string& path);
    // Reads a database image held in memory; `name` stands for the file in error texts.
    PageChannel(const std::string& name, std::vector<std::byte> image);
    ~PageChannel();
    PageChannel(const PageChannel&) = delete;
    PageChannel& operator=(const PageChannel&) = delete;

    const std::string& path() const { return m_path; }
    const DatabaseHeader& header() const { return m_header; }
    const Format& format() const { return *m_header.format; }
    std::uint32_t pageCount() const { return m_pageCount; }
    std::uint64_t fileSize() const { return m_fileSize; }

    // Reads page `page` into `buffer` (resized to a page) and returns a view of it. Throws
    // FormatError when the page lies outside the file. Page errors do not name the file: the
    // caller puts it in front, with the table or structure it was reading.
    ByteView readPage(std::uint32_t page, std::vector<std::byte>& buffer) const;
    // Reads a page and checks its type byte; `what` names the structure for the error text.
    ByteView readPageOfType(std::uint32_t page, std::uint8_t type, std::vector<std::byte>& buffer,
                            const char* what) const;

private:
    void readAt(std::uint64_t offset, std::byte* out, std::size_t n) const;
    void readHeader();

    std::string m_path;
    int m_fd = -1;
    std::vector<std::byte> m_image; // used when m_fd < 0
    std::uint64_t m_fileSize = 0;
    std::uint32_t m_pageCount = 0;
    DatabaseHeader m_header;
};

} // namespace kavero::jet
