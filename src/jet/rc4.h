// RC4, used by Access to mask the header block and to encode pages of keyed Jet files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kavero::jet {

// XORs the RC4 keystream of `key` into `data`, in place.
void rc4Apply(std::span<const std::uint8_t> key, std::span<std::byte> data);

} // namespace kavero::jet
