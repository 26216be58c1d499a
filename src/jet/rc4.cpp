// The RC4 keystream: key schedule, then one output byte per data byte.
#include "jet/rc4.h"

#include <array>
#include <utility>

namespace kavero::jet {

void rc4Apply(std::span<const std::uint8_t> key, std::span<std::byte> data) {
    if (key.empty()) return;
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (std::byte& out : data) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        const std::uint8_t k = state[static_cast<std::uint8_t>(state[a] + state[b])];
        out ^= static_cast<std::byte>(k);
    }
}

} // namespace kavero::jet
