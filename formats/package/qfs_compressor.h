#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace verada {

// The largest input a QFS stream can describe: its header holds the size in 24 bits.
inline constexpr std::size_t kQfsMaxInputSize = 0xFFFFFF;

// Compresses size bytes into one complete QFS (RefPack) stream: the header 0x10 0xFB and the
// size as 24-bit big-endian, then the codes, ending with one end code. An input larger than
// kQfsMaxInputSize has no stream: the result is empty and the caller stores the bytes as they
// are. Input that does not compress (random bytes) gives a stream slightly larger than itself;
// whether to keep it is the caller's choice.
std::optional<std::vector<std::uint8_t>> compressQfs(const std::uint8_t* data, std::size_t size);

// Compresses one input after another as compressQfs does, to the same streams, keeping its
// search tables between inputs instead of setting them up for each (a packer's many items).
class QfsCompressor {
  public:
    QfsCompressor();
    ~QfsCompressor();
    QfsCompressor(const QfsCompressor&) = delete;
    QfsCompressor& operator=(const QfsCompressor&) = delete;

    std::optional<std::vector<std::uint8_t>> compress(const std::uint8_t* data, std::size_t size);

  private:
    struct Chains;
    std::unique_ptr<Chains> chains_;
};

}  // namespace verada
