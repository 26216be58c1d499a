// An attachment's file as Access stores it in the FileData column of the field's flat table.
#pragma once

#include <string_view>

#include "jet/writer/description.h"

namespace kavero::jet::writer {

// u32 encoding (0 stored as is, 1 zlib-deflated), u32 content length, then the content,
// deflated or not: u32 header length, u32 flags (1), u32 characters of the extension with its
// terminating NUL, the extension in UTF-16, and the file's bytes.
Bytes storedAttachment(const Bytes& file, std::string_view extension, bool deflate);

} // namespace kavero::jet::writer
