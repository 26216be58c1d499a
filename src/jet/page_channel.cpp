// File access for the reader: POSIX reads at page offsets, decoding keyed pages.
#include "jet/page_channel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "jet/rc4.h"

namespace kavero::jet {

PageChannel::PageChannel(const std::string& path) : m_path(path) {
    // Non-blocking, so a FIFO without a writer is refused below instead of hanging the open;
    // reads of a regular file never block either way.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            throw FormatError(ErrorCode::FileNotFound, "'" + path + "' does not exist");
        }
        throw FormatError(ErrorCode::CannotOpenFile, "'" + path + "': " + std::strerror(error));
    }
    try {
        struct stat info {};
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            throw FormatError(
                ErrorCode::CannotOpenFile,
                "'" + path + (S_ISDIR(info.st_mode) ? "' is a folder, not a regular file" : "' is not a regular file"));
        }
        m_fileSize = static_cast<std::uint64_t>(info.st_size);
        readHeader();
    } catch (...) {
        ::close(m_fd);
        throw;
    }
}

PageChannel::PageChannel(const std::string& name, std::vector<std::byte> image)
    : m_path(name), m_image(std::move(image)) {
    m_fileSize = m_image.size();
    readHeader();
}

void PageChannel::readHeader() {
    std::vector<std::byte> first(static_cast<std::size_t>(std::min<std::uint64_t>(m_fileSize, 4096)));
    try {
        readAt(0, first.data(), first.size());
        m_header = DatabaseHeader::parse(first, m_fileSize);
    } catch (const FormatError& e) {
        throw e.withContext("file '" + m_path + "'");
    }
    const std::uint64_t pages = m_fileSize / m_header.format->pageSize;
    if (pages > 0xFFFFFF) {
        throw FormatError(ErrorCode::UnrecognizedFormat, "file '" + m_path + "' has more pages than Jet addresses");
    }
    m_pageCount = static_cast<std::uint32_t>(pages);
}

PageChannel::~PageChannel() {
    if (m_fd >= 0) ::close(m_fd);
}

void PageChannel::readAt(std::uint64_t offset, std::byte* out, std::size_t n) const {
    if (m_fd < 0) {
        if (offset > m_image.size() || n > m_image.size() - offset) {
            throw FormatError(ErrorCode::CannotOpenFile, "read past the end at offset " + std::to_string(offset));
        }
        if (n != 0) std::memcpy(out, m_image.data() + offset, n);
        return;
    }
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            throw FormatError(ErrorCode::CannotOpenFile, "read " + std::to_string(done) + " of " + std::to_string(n) +
                                                             " bytes at offset " + std::to_string(offset));
        }
        done += static_cast<std::size_t>(got);
    }
}

ByteView PageChannel::readPage(std::uint32_t page, std::vector<std::byte>& buffer) const {
    if (page >= m_pageCount) {
        throw FormatError(ErrorCode::Corrupt, "page " + std::to_string(page) + " lies past the end of the file (" +
                                                  std::to_string(m_pageCount) + " pages)");
    }
    const std::size_t size = format().pageSize;
    buffer.resize(size);
    readAt(static_cast<std::uint64_t>(page) * size, buffer.data(), size);
    if (m_header.databaseKey != 0 && page != 0) {
        const std::uint32_t key = m_header.databaseKey ^ page;
        const std::uint8_t keyBytes[4] = {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
                                          static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 24)};
        rc4Apply(keyBytes, buffer);
    }
    return ByteView(buffer, page, 0);
}

ByteView PageChannel::readPageOfType(std::uint32_t page, std::uint8_t type, std::vector<std::byte>& buffer,
                                     const char* what) const {
    ByteView view = readPage(page, buffer);
    if (view.u8(kPageTypeOffset) != type) {
        char text[96];
        std::snprintf(text, sizeof text, "expected a %s page (type 0x%02x), found type 0x%02x", what, type,
                      view.u8(kPageTypeOffset));
        view.corrupt(0, text);
    }
    return view;
}

} // namespace kavero::jet
