// Wraps a file the way Access keeps an attachment.
#include "jet/writer/attachment.h"

#include <stdexcept>

#include <zlib.h>

#include "jet/writer/page_file.h"

namespace kavero::jet::writer {

Bytes storedAttachment(const Bytes& file, std::string_view extension, bool deflate) {
    constexpr std::uint32_t kFlags = 1;
    std::u16string name = toUtf16(extension);
    name.push_back(u'\0');
    ByteString content;
    content.u32(static_cast<std::uint32_t>(12 + 2 * name.size()));
    content.u32(kFlags);
    content.u32(static_cast<std::uint32_t>(name.size()));
    content.utf16(name);
    content.append(file);

    ByteString stored;
    stored.u32(deflate ? 1 : 0);
    stored.u32(static_cast<std::uint32_t>(content.size()));
    if (!deflate) {
        stored.append(content.bytes);
        return stored.bytes;
    }
    uLongf length = compressBound(static_cast<uLong>(content.size()));
    Bytes packed(length);
    if (compress2(packed.data(), &length, content.bytes.data(), static_cast<uLong>(content.size()), 3) != Z_OK)
        throw std::runtime_error("zlib could not compress an attachment");
    packed.resize(length);
    stored.append(packed);
    return stored.bytes;
}

} // namespace kavero::jet::writer
