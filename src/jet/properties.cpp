// The property blob: a magic, then chunks of a name pool and one value block per object.
#include "jet/properties.h"

#include <cstring>
#include <string>
#include <vector>

#include "jet/byte_view.h"

namespace kavero::jet {

namespace {

constexpr std::uint8_t kPropertyBoolean = 1;
constexpr std::uint8_t kPropertyText = 10;
constexpr std::uint8_t kPropertyMemo = 12;

} // namespace

void applyColumnProperties(std::span<const std::uint8_t> blob, const Format& format, const CodePageDecoder& codePage,
                           TableDefinition& table) {
    if (blob.empty()) return;
    const ByteView view(std::as_bytes(blob), ByteView::kNoPage, 0);
    const bool jet3 = format.version == Version::Jet3;
    const char* magic = jet3 ? kPropertyMagicJet3 : kPropertyMagicJet4;
    view.require(0, 4, "property magic");
    if (std::memcmp(view.all().data(), magic, 4) != 0) view.corrupt(0, "property blob lacks its magic");
    auto text = [&](std::span<const std::byte> bytes) { return jet3 ? codePage.decode(bytes) : decodeJet4Text(bytes); };

    std::vector<std::string> names;
    std::size_t pos = 4;
    while (pos < view.size()) {
        view.require(pos, kPropertyChunkHeaderSize, "property chunk header");
        const std::uint32_t length = view.u32(pos);
        const std::uint16_t type = view.u16(pos + 4);
        if (length < kPropertyChunkHeaderSize || !view.has(pos, length)) {
            view.corrupt(pos, "property chunk length " + std::to_string(length) + " outside the blob");
        }
        const ByteView body = view.sub(pos + kPropertyChunkHeaderSize, length - kPropertyChunkHeaderSize);
        pos += length;
        if (type == kPropertyChunkNames) {
            std::size_t p = 0;
            while (p < body.size()) {
                const std::uint16_t nameLength = body.u16(p);
                names.push_back(text(body.bytes(p + 2, nameLength)));
                p += 2 + static_cast<std::size_t>(nameLength);
            }
            continue;
        }
        if (type != kPropertyChunkTable && type != kPropertyChunkColumn) continue;
        // The name block: u32 length, u16 name length, the name. Access writes the block
        // length as exactly 6 + name length; the entries follow the name.
        const std::uint32_t block = body.u32(0);
        const std::uint16_t objectLength = body.u16(4);
        const std::string objectName = text(body.bytes(6, objectLength));
        if (block < 6u + objectLength || block > body.size()) {
            body.corrupt(0, "property block length " + std::to_string(block) + " for a name of " +
                                std::to_string(objectLength) + " bytes");
        }
        Column* column = nullptr;
        if (type == kPropertyChunkColumn) {
            for (Column& c : table.columns) {
                if (c.name == objectName) column = &c;
            }
        }
        std::size_t p = 6u + objectLength;
        while (p < body.size()) {
            const std::uint16_t entryLength = body.u16(p);
            if (entryLength < kPropertyEntryHeaderSize) body.corrupt(p, "property entry too short");
            const ByteView entry = body.sub(p, entryLength);
            p += entryLength;
            const std::uint8_t dataType = entry.u8(3);
            const std::uint16_t nameIndex = entry.u16(4);
            const std::uint16_t dataLength = entry.u16(6);
            const auto data = entry.bytes(kPropertyEntryHeaderSize, dataLength);
            if (nameIndex >= names.size()) {
                entry.corrupt(4, "property name index " + std::to_string(nameIndex) + " of " + std::to_string(names.size()));
            }
            if (column == nullptr) continue;
            const std::string& name = names[nameIndex];
            if (name == "DefaultValue" && (dataType == kPropertyText || dataType == kPropertyMemo)) {
                column->defaultValue = text(data);
            } else if (name == "AllowZeroLength" && dataType == kPropertyBoolean && !data.empty()) {
                column->allowZeroLength = data[0] != std::byte{0};
            } else if (name == "Required" && dataType == kPropertyBoolean && !data.empty()) {
                column->required = data[0] != std::byte{0};
            }
        }
    }
}

} // namespace kavero::jet
