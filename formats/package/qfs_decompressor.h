#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace verada {

inline constexpr const char* kQfsSourceOverrun = "ERR: Source buffer overrun.";
inline constexpr const char* kQfsDestinationOverrun = "ERR: Destination buffer overrun.";
inline constexpr const char* kQfsDestinationUnderrun = "ERR: Destination buffer underrun.";
inline constexpr const char* kQfsReachBeforeStart =
    "ERR: Compressed copy reaches before the start of the output.";

// Expands one QFS (RefPack) stream, header included, into exactly outputSize bytes of output.
// Decoding runs to the end of the input; end codes do not stop it. On error the output holds
// undefined bytes.
std::optional<std::string> decompressQfs(const std::uint8_t* input, std::size_t inputSize,
                                         std::uint8_t* output, std::size_t outputSize);

}  // namespace verada
