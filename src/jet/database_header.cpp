// Recognises Jet 3, Jet 4 and ACE files from page 0 and unmasks the header block.
#include "jet/database_header.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "jet/byte_view.h"
#include "jet/format_error.h"
#include "jet/rc4.h"
#include "jet/text_codec.h"

namespace kavero::jet {

namespace {

constexpr std::string_view kJetName = "Standard Jet DB";
constexpr std::string_view kAceName = "Standard ACE DB";

[[noreturn]] void unrecognized(const std::string& why) {
    throw FormatError(ErrorCode::UnrecognizedFormat, why);
}

std::string engineName(const ByteView& page) {
    std::string name;
    for (std::size_t i = 0; i < kEngineNameLength; ++i) name.push_back(static_cast<char>(page.u8(0x04 + i)));
    return name;
}

} // namespace

DatabaseHeader DatabaseHeader::parse(std::span<const std::byte> firstBytes, std::uint64_t fileSize) {
    // The smallest header field we read lies below 0x300; a shorter file is no database.
    const ByteView raw(firstBytes, 0, 0);
    if (!raw.has(0, 0x300) || raw.u8(kPageTypeOffset) != kPageHeader) {
        unrecognized("page 0 is not an Access database header");
    }
    const std::string name = engineName(raw);
    if (name != kJetName && name != kAceName) {
        unrecognized("the engine name at offset 0x4 is not \"Standard Jet DB\" or \"Standard ACE DB\"");
    }
    DatabaseHeader header;
    header.versionByte = raw.u8(kJet4Format.versionByteOffset);
    if (header.versionByte == kVersionJet3) {
        header.format = &kJet3Format;
    } else if (header.versionByte == kVersionJet4) {
        header.format = &kJet4Format;
    } else {
        header.format = &kAceFormat;
    }
    if ((name == kAceName) != (header.format->version == Version::Ace)) {
        unrecognized("engine name \"" + name + "\" does not match version byte " + std::to_string(header.versionByte));
    }
    const Format& f = *header.format;
    if (fileSize % f.pageSize != 0) {
        unrecognized("the file size " + std::to_string(fileSize) + " is not a whole number of " +
                     std::to_string(f.pageSize) + "-byte pages");
    }
    if (fileSize / f.pageSize <= kMsysObjectsPage) {
        unrecognized("the file of " + std::to_string(fileSize) + " bytes is too short: the catalog needs at least " +
                     std::to_string(kMsysObjectsPage + 1) + " pages of " + std::to_string(f.pageSize) + " bytes");
    }

    // Unmask a copy of the block; the other fields of page 0 are stored in the clear.
    std::vector<std::byte> page(firstBytes.begin(), firstBytes.begin() + 0x300);
    rc4Apply(kHeaderMaskKey, std::span<std::byte>(page).subspan(f.maskedOffset, f.maskedLength));
    const ByteView view(page, 0, 0);
    header.codePage = view.u16(f.codePageOffset);
    header.databaseKey = view.u32(f.databaseKeyOffset);
    header.sortOrder = view.u16(f.sortOrderOffset);

    if (f.version == Version::Ace && header.databaseKey != 0) {
        const std::uint16_t providerLength = raw.u16(f.cryptoProviderOffset);
        std::string scheme = "Office encryption";
        if (providerLength >= 4) {
            scheme += " " + std::to_string(raw.u16(f.cryptoProviderOffset + 2)) + "." +
                      std::to_string(raw.u16(f.cryptoProviderOffset + 4));
        }
        throw FormatError(ErrorCode::Encrypted, "the file is encrypted with a password (" + scheme +
                                                    "); encrypted databases cannot be read, remove the "
                                                    "password in Access first");
    }

    if (f.version != Version::Jet3) {
        header.creationDate = view.f64(f.creationDateOffset);
        // The Jet 4 password is XORed with the creation date's day number, repeated.
        if (f.version == Version::Jet4) {
            std::array<std::uint8_t, 4> mask{};
            const double day = std::floor(header.creationDate);
            const std::int32_t dayNumber =
                std::isfinite(day) && day > -2147483648.0 && day < 2147483647.0 ? static_cast<std::int32_t>(day) : 0;
            const auto bits = static_cast<std::uint32_t>(dayNumber);
            for (std::size_t i = 0; i < 4; ++i) mask[i] = static_cast<std::uint8_t>(bits >> (8 * i));
            std::vector<std::byte> password(f.passwordLength);
            for (std::size_t i = 0; i < f.passwordLength; ++i) {
                password[i] = static_cast<std::byte>(view.u8(f.passwordOffset + i) ^ mask[i % 4]);
            }
            std::size_t length = 0;
            while (length + 1 < password.size() &&
                   (password[length] != std::byte{0} || password[length + 1] != std::byte{0})) {
                length += 2;
            }
            header.password = decodeUcs2(std::span<const std::byte>(password).first(length));
        }
    }
    return header;
}

} // namespace kavero::jet
