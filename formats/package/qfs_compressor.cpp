#include "formats/package/qfs_compressor.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace verada {
namespace {

constexpr std::size_t kWindow = 131072;  // farthest distance a copy code reaches
constexpr std::size_t kMinLength = 3;
constexpr std::size_t kMaxLength = 1028;
constexpr std::size_t kMaxRun = 112;  // longest literal run code
constexpr std::size_t kLongKey = 8;
// Search effort, measured against ratio and speed on text, vertex data and real package items:
// positions tried per long and per short key, the largest hash table, and the match length
// below which a better match one byte further on is sought.
constexpr int kLongTries = 20;
constexpr int kShortTries = 4;
constexpr int kMostHashBits = 16;
constexpr std::size_t kLazyLength = 8;
// After kSkipAfter positions in a row without a match, each further 2^kSkipShift lengthen the
// step to the next position tried by one, and the positions stepped over stay out of the
// chains: data that does not compress (packed images, noise) goes through some twenty times
// faster, while text, vertex data and real package items, which match every few hundred bytes
// at most, compress to the same streams.
constexpr std::size_t kSkipAfter = 2048;
constexpr int kSkipShift = 5;

struct Match {
    std::size_t length = 0;
    std::size_t distance = 0;
    std::size_t savings = 0;  // bytes the copy code saves over literals
};

// Bytes the shortest copy code for this length and distance takes, or 0 when none can express
// it (a 3-byte match beyond 1024, a 4-byte match beyond 16384).
std::size_t codeCost(std::size_t length, std::size_t distance) {
    if (length <= 10 && distance <= 1024) {
        return 2;
    }
    if (length >= 4 && length <= 67 && distance <= 16384) {
        return 3;
    }
    if (length >= 5 && distance <= kWindow) {
        return 4;
    }
    return 0;
}

std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t value;
    std::memcpy(&value, p, 8);
    return value;
}

std::uint64_t shortKey(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16;
}

// The index of the first differing byte, in memory order, of two different 8-byte loads.
std::size_t firstDifference(std::uint64_t a, std::uint64_t b) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    return static_cast<std::size_t>(__builtin_ctzll(a ^ b)) / 8;
#else
    return static_cast<std::size_t>(__builtin_clzll(a ^ b)) / 8;
#endif
}

// How many of the first limit bytes at a and b agree; a may overlap b.
std::size_t matchLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t n = 0;
    for (; n + 8 <= limit; n += 8) {
        const std::uint64_t x = load64(a + n);
        const std::uint64_t y = load64(b + n);
        if (x != y) {
            return n + firstDifference(x, y);
        }
    }
    while (n < limit && a[n] == b[n]) {
        ++n;
    }
    return n;
}

// Hash chains: heads hold the latest position of each hash of a key, links the previous
// position of the same hash for every position. A position is looked up before it is added,
// so a window-sized link table has not yet reused the slot of any position in the window.
// Positions are kept as stamps, the position plus a base that moves past each input, so the
// tables serve one input after another: stamps that earlier inputs left are below the base
// and nothing needs clearing.
class ChainView {
  public:
    ChainView(std::uint32_t* heads, std::uint32_t* links, std::uint32_t base, int bits,
              std::size_t mask)
        : heads_(heads), links_(links), base_(base), shift_(64 - bits), mask_(mask) {}

    void add(std::uint64_t key, std::size_t pos) {
        std::uint32_t& head = heads_[hashOf(key)];
        const std::uint32_t stamp = stampOf(pos);
        links_[stamp & mask_] = head;
        head = stamp;
    }

    std::uint32_t stampOf(std::size_t pos) const { return base_ + static_cast<std::uint32_t>(pos); }
    // Whether the stamp is of a position of this input, not of an earlier one or none.
    bool holds(std::uint32_t stamp) const { return stamp >= base_; }
    std::uint32_t latest(std::uint64_t key) const { return heads_[hashOf(key)]; }
    std::uint32_t before(std::uint32_t stamp) const { return links_[stamp & mask_]; }

  private:
    std::size_t hashOf(std::uint64_t key) const {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> shift_);
    }

    std::uint32_t* heads_;
    std::uint32_t* links_;
    std::uint32_t base_;
    int shift_;
    std::size_t mask_;
};

// The tables behind the chains, kept from one input to the next. Small inputs get four heads
// per byte, up to 2^mostBits, since a walk ends at a position that only shares the hash.
class HashChains {
  public:
    explicit HashChains(int mostBits) : mostBits_(mostBits) {}

    // The chains for an input of size bytes. The view is a plain value that the match finder
    // keeps to itself, so the compiler holds its fields in registers.
    ChainView prepare(std::size_t size) {
        int bits = 8;
        while (bits < mostBits_ && (std::size_t(1) << bits) < size * 4) {
            ++bits;
        }
        std::size_t links = 1;
        while (links < kWindow && links < size) {
            links <<= 1;
        }
        base_ += used_;
        used_ = size;
        if (base_ + size > 0xFFFFFFFFu) {
            std::fill(heads_.begin(), heads_.end(), kEmpty);
            base_ = 1;
        }
        if (heads_.size() < std::size_t(1) << bits) {
            heads_.resize(std::size_t(1) << bits, kEmpty);
        }
        if (links_.size() < links) {
            links_.resize(links);
        }
        return ChainView(heads_.data(), links_.data(), static_cast<std::uint32_t>(base_), bits,
                         links - 1);
    }

  private:
    static constexpr std::uint32_t kEmpty = 0;

    int mostBits_;
    std::vector<std::uint32_t> heads_;
    std::vector<std::uint32_t> links_;
    std::uint64_t base_ = 1;
    std::size_t used_ = 0;
};

// Finds matches through two sets of chains: one keyed on the eight bytes at a position, whose
// candidates share a long prefix and so lead to long matches in few steps, and one keyed on
// three bytes for the shorter matches.
class MatchFinder {
  public:
    MatchFinder(const std::uint8_t* data, std::size_t size, HashChains& longChains,
                HashChains& shortChains)
        : data_(data),
          size_(size),
          long_(longChains.prepare(size)),
          short_(shortChains.prepare(size)) {}

    // Leaves the positions before end out of the chains.
    void skipTo(std::size_t end) { added_ = std::max(added_, end); }

    // Adds every position before end.
    // Called for nearly every position: inlined into the compressor's loop, where the finder is
    // a local whose fields stay in registers, it runs a fifth faster on meshes.
    __attribute__((always_inline)) void addUpTo(std::size_t end) {
        std::size_t pos = added_;
        for (; pos < end && pos + kLongKey <= size_; ++pos) {
            const std::uint64_t key = load64(data_ + pos);
            long_.add(key, pos);
            short_.add(key & 0xFFFFFF, pos);
        }
        for (; pos < end && pos + kMinLength <= size_; ++pos) {
            short_.add(shortKey(data_ + pos), pos);
        }
        added_ = std::max(added_, pos);
    }

    // The match at pos that saves the most among the nearest candidates; every position before
    // pos must have been added, pos itself not.
    Match find(std::size_t pos) const {
        Match best;
        const std::size_t limit = std::min(kMaxLength, size_ - pos);
        if (limit < kMinLength) {
            return best;
        }
        const std::uint8_t* current = data_ + pos;
        // Candidates come nearest first and a farther code never costs less, so only a longer
        // match can save more: one byte past the best length rejects most candidates.
        std::size_t bestLength = kMinLength - 1;
        // Follows a chain while its positions hold the key. A position that only shares the
        // hash ends the walk: where data seldom repeats, chains are mostly such positions, and
        // stepping over them made real meshes several times slower to compress for a fraction
        // of a percent in size.
        auto walk = [&](const ChainView& chains, std::uint64_t key, auto keyAt, int tries) {
            const std::uint32_t here = chains.stampOf(pos);
            for (std::uint32_t stamp = chains.latest(key); chains.holds(stamp) && tries > 0;
                 stamp = chains.before(stamp), --tries) {
                const std::size_t distance = here - stamp;
                const std::uint8_t* earlier = current - distance;
                if (distance > kWindow || keyAt(earlier) != key) {
                    return;
                }
                if (earlier[bestLength] != current[bestLength]) {
                    continue;
                }
                const std::size_t length = matchLength(earlier, current, limit);
                const std::size_t cost = codeCost(length, distance);
                if (length <= bestLength || cost == 0 || length - cost <= best.savings) {
                    continue;
                }
                best = {length, distance, length - cost};
                bestLength = length;
                if (length == limit) {
                    return;
                }
            }
        };
        if (limit >= kLongKey) {
            walk(long_, load64(current), load64, kLongTries);
            // A match found there is eight bytes or longer; a short key seldom does better.
            if (best.length > 0) {
                return best;
            }
        }
        walk(short_, shortKey(current), shortKey, kShortTries);
        return best;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    ChainView long_;
    ChainView short_;
    std::size_t added_ = 0;
};

// Writes literals in runs of a multiple of four bytes, leaving the last 0-3 for the code that
// follows to carry.
std::uint8_t* putLiteralRuns(std::uint8_t* out, const std::uint8_t*& literals, std::size_t& count) {
    while (count >= 4) {
        const std::size_t run = std::min(count & ~std::size_t(3), kMaxRun);
        *out++ = static_cast<std::uint8_t>(0xE0 + run / 4 - 1);
        std::memcpy(out, literals, run);
        out += run;
        literals += run;
        count -= run;
    }
    return out;
}

// The shortest code for the match, carrying count (0-3) literals.
std::uint8_t* putCopy(std::uint8_t* out, const Match& match, const std::uint8_t* literals,
                      std::size_t count) {
    const std::size_t d = match.distance - 1;
    if (match.length <= 10 && match.distance <= 1024) {
        *out++ = static_cast<std::uint8_t>((d >> 8) << 5 | (match.length - 3) << 2 | count);
        *out++ = static_cast<std::uint8_t>(d);
    } else if (match.length <= 67 && match.distance <= 16384) {
        *out++ = static_cast<std::uint8_t>(0x80 | (match.length - 4));
        *out++ = static_cast<std::uint8_t>(count << 6 | d >> 8);
        *out++ = static_cast<std::uint8_t>(d);
    } else {
        const std::size_t n = match.length - 5;
        *out++ = static_cast<std::uint8_t>(0xC0 | (d >> 16) << 4 | (n >> 8) << 2 | count);
        *out++ = static_cast<std::uint8_t>(d >> 8);
        *out++ = static_cast<std::uint8_t>(d);
        *out++ = static_cast<std::uint8_t>(n);
    }
    for (std::size_t i = 0; i < count; ++i) {
        *out++ = literals[i];
    }
    return out;
}

}  // namespace

struct QfsCompressor::Chains {
    HashChains longKeys{kMostHashBits};
    HashChains shortKeys{kMostHashBits};
};

QfsCompressor::QfsCompressor() : chains_(std::make_unique<Chains>()) {}

QfsCompressor::~QfsCompressor() = default;

std::optional<std::vector<std::uint8_t>> compressQfs(const std::uint8_t* data, std::size_t size) {
    return QfsCompressor().compress(data, size);
}

std::optional<std::vector<std::uint8_t>> QfsCompressor::compress(const std::uint8_t* data,
                                                                 std::size_t size) {
    if (size > kQfsMaxInputSize) {
        return std::nullopt;
    }
    // Every copy code saves at least a byte, so the stream is at most the literals, their run
    // codes, the header and the end code.
    std::vector<std::uint8_t> stream(5 + size + size / kMaxRun + 2);
    std::uint8_t* out = stream.data();
    *out++ = 0x10;
    *out++ = 0xFB;
    *out++ = static_cast<std::uint8_t>(size >> 16);
    *out++ = static_cast<std::uint8_t>(size >> 8);
    *out++ = static_cast<std::uint8_t>(size);

    MatchFinder finder(data, size, chains_->longKeys, chains_->shortKeys);
    std::size_t literalStart = 0;
    std::size_t pos = 0;
    std::size_t misses = 0;
    while (pos + kMinLength <= size) {
        finder.addUpTo(pos);
        Match match = finder.find(pos);
        if (match.length == 0) {
            finder.addUpTo(pos + 1);
            pos += 1 + (misses > kSkipAfter ? (misses - kSkipAfter) >> kSkipShift : 0);
            ++misses;
            finder.skipTo(pos);
            continue;
        }
        misses = 0;
        // Lazy matching: a better match one byte on is worth a literal.
        while (match.length < kLazyLength) {
            finder.addUpTo(pos + 1);
            const Match next = finder.find(pos + 1);
            if (next.savings <= match.savings) {
                break;
            }
            ++pos;
            match = next;
        }
        const std::uint8_t* literals = data + literalStart;
        std::size_t count = pos - literalStart;
        out = putLiteralRuns(out, literals, count);
        out = putCopy(out, match, literals, count);
        pos += match.length;
        literalStart = pos;
    }
    const std::uint8_t* literals = data + literalStart;
    std::size_t count = size - literalStart;
    out = putLiteralRuns(out, literals, count);
    *out++ = static_cast<std::uint8_t>(0xFC | count);
    if (count > 0) {  // an empty input may come without a buffer
        std::memcpy(out, literals, count);
        out += count;
    }
    stream.resize(static_cast<std::size_t>(out - stream.data()));
    return stream;
}

}  // namespace verada
