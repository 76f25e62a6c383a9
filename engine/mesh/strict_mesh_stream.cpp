#include "engine/mesh/strict_mesh_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <OgreException.h>
#include <OgreString.h>

#include "formats/io/printf_text.h"

namespace verada {
namespace {

// Chunk ids of Ogre's mesh format.
constexpr std::uint16_t kLodLevels = 0x8000;
constexpr std::uint16_t kBounds = 0x9000;
constexpr std::uint16_t kSubmeshName = 0xA100;
constexpr std::uint16_t kEdgeListLevel = 0xB100;
constexpr std::uint16_t kEdgeGroup = 0xB110;
constexpr std::uint16_t kPose = 0xC100;
constexpr std::uint16_t kAnimationTrack = 0xD110;
constexpr std::uint16_t kExtremes = 0xE000;
constexpr std::size_t kBoxBytes = 6 * 4;

[[noreturn]] void refuse(const std::string& text) {
    OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, text, "StrictMeshStream");
}

void checkBelow(std::uint32_t value, unsigned count, const char* what) {
    if (value >= count) {
        refuse(printfText("Mesh data refers to %s %u, of which it has %u.", what,
                          static_cast<unsigned>(value), count));
    }
}

}  // namespace

StrictMeshStream::StrictMeshStream(const std::string& name, std::vector<std::uint8_t> bytes,
                                   const Ogre::Mesh& mesh)
    : Ogre::DataStream(name), bytes_(std::move(bytes)), mesh_(mesh) {
    mSize = bytes_.size();
    // The header chunk's id, 0x1000, tells the byte order.
    bigEndian_ = bytes_.size() >= 2 && bytes_[0] == 0x10 && bytes_[1] == 0x00;
}

std::uint16_t StrictMeshStream::u16At(const std::uint8_t* bytes) const {
    return static_cast<std::uint16_t>(bigEndian_ ? bytes[0] << 8 | bytes[1]
                                                 : bytes[1] << 8 | bytes[0]);
}

std::uint32_t StrictMeshStream::u32At(const std::uint8_t* bytes) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | bytes[bigEndian_ ? i : 3 - i];
    }
    return value;
}

float StrictMeshStream::floatAt(std::size_t index) const {
    std::uint8_t word[4];
    for (std::size_t i = 0; i < 4; ++i) {
        word[i] = box_[4 * index + (bigEndian_ ? 3 - i : i)];
    }
    float value;
    std::memcpy(&value, word, sizeof value);
    return value;
}

bool StrictMeshStream::checkChunkField(std::uint16_t chunk, const std::uint8_t* bytes,
                                       std::size_t count) {
    const unsigned submeshes = mesh_.getNumSubMeshes();
    const unsigned vertexSets = submeshes + (mesh_.sharedVertexData != nullptr ? 1 : 0);
    // Counts Ogre sizes arrays by before reading their elements, each of which takes at least
    // a word of the file.
    const auto checkCount = [this](std::uint32_t value, const char* what) {
        if (value > bytes_.size() / 4) {
            refuse(printfText("Mesh data declares %u %s, more than its %zu bytes can hold.",
                              static_cast<unsigned>(value), what, bytes_.size()));
        }
    };
    switch (chunk) {
        case kBounds:
            // Six floats, whether read one by one or three at a time.
            if (count % 4 != 0) {
                return false;
            }
            box_.insert(box_.end(), bytes, bytes + std::min(count, kBoxBytes - box_.size()));
            if (box_.size() < kBoxBytes) {
                return true;
            }
            for (std::size_t axis = 0; axis < 3; ++axis) {
                if (!(floatAt(axis) <= floatAt(axis + 3))) {
                    refuse(
                        "Mesh data gives a bounding box whose minimum is not below its "
                        "maximum.");
                }
            }
            return false;
        case kLodLevels:
            // The level count follows the strategy's name (read as a line); Ogre asserts on a
            // later level chunk once a count of 0 has emptied its list.
            if (fieldsRead_ == 0 && count == 2 && u16At(bytes) == 0) {
                refuse("Mesh data declares 0 LOD levels, where a mesh has at least its own.");
            }
            return false;
        case kEdgeListLevel:
            // LOD index, manual flag, then (not manual) closed flag, triangle and group counts.
            if (fieldsRead_ == 0 && count == 2) {
                checkBelow(u16At(bytes), mesh_.getNumLodLevels(), "LOD level");
                return true;
            }
            if (fieldsRead_ == 1 && count == 1) {
                return bytes[0] == 0;
            }
            if (fieldsRead_ == 2 && count == 1) {
                return true;
            }
            if (fieldsRead_ == 3 && count == 4) {
                checkCount(u32At(bytes), "edge list triangles");
                return true;
            }
            if (fieldsRead_ == 4 && count == 4) {
                checkCount(u32At(bytes), "edge groups");
            }
            return false;
        case kEdgeGroup:
            // Its vertex set, then words up to its edge count (triangle start and count first
            // in later versions).
            if (count != 4) {
                return false;
            }
            if (fieldsRead_ == 0) {
                checkBelow(u32At(bytes), vertexSets, "vertex set");
            } else {
                checkCount(u32At(bytes), "edges");
            }
            return true;
        case kSubmeshName:
        case kExtremes:
            if (fieldsRead_ == 0 && count == 2) {
                checkBelow(u16At(bytes), submeshes, "submesh");
            }
            return false;
        case kPose:
        case kAnimationTrack: {
            // A track's type comes before its target: 0 the shared vertices, n submesh n - 1.
            const std::size_t target = chunk == kAnimationTrack ? 1 : 0;
            if (count != 2 || fieldsRead_ > target) {
                return false;
            }
            if (fieldsRead_ < target) {
                return true;
            }
            const std::uint16_t value = u16At(bytes);
            if (value == 0 && mesh_.sharedVertexData == nullptr) {
                refuse("Mesh data refers to shared vertices, which it does not have.");
            }
            checkBelow(value, submeshes + 1, "vertex set");
            return false;
        }
        default:
            return false;
    }
}

void StrictMeshStream::watch(const std::uint8_t* bytes, std::size_t count) {
    const std::optional<std::uint16_t> id = lastShort_;
    lastShort_.reset();
    if (id && count == 4) {
        // The extremes chunk is the one whose length Ogre reads its floats by.
        if (*id == kExtremes && u32At(bytes) > bytes_.size() - position_ + 6) {
            refuse(printfText("Mesh data declares a chunk of %u bytes, more than its %zu bytes.",
                              static_cast<unsigned>(u32At(bytes)), bytes_.size()));
        }
        chunk_ = *id;
        fieldsRead_ = 0;
        box_.clear();
        return;
    }
    if (chunk_) {
        if (!checkChunkField(*chunk_, bytes, count)) {
            chunk_.reset();
        }
        ++fieldsRead_;
    }
    if (count == 2) {
        lastShort_ = u16At(bytes);
    }
}

void StrictMeshStream::raiseEndReached(const std::string& what) const {
    OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                printfText("Mesh data ends early: %s at byte %zu of %zu.", what.c_str(), position_,
                           bytes_.size()),
                "StrictMeshStream");
}

std::size_t StrictMeshStream::read(void* buffer, std::size_t count) {
    std::size_t left = bytes_.size() - position_;
    if (count <= left) {
        watch(bytes_.data() + position_, count);
        std::memcpy(buffer, bytes_.data() + position_, count);
        // Every single byte of the format is a bool, which Ogre reads straight into one: a
        // value other than 0 or 1 would make the bool itself undefined.
        if (count == 1 && bytes_[position_] > 1) {
            *static_cast<std::uint8_t*>(buffer) = 1;
        }
        position_ += count;
        return count;
    }
    if (left == 0 && count == 2 && endHeader_ == EndHeader::NotRead) {
        endHeader_ = EndHeader::IdRead;
    } else if (left == 0 && count == 4 && endHeader_ == EndHeader::IdRead) {
        endHeader_ = EndHeader::LengthRead;
    } else {
        raiseEndReached(printfText("a read of %zu bytes", count));
    }
    std::memset(buffer, 0, count);
    return 0;
}

Ogre::String StrictMeshStream::getLine(bool trimAfter) {
    auto start = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
    auto newline = std::find(start, bytes_.end(), '\n');
    if (newline == bytes_.end()) {
        raiseEndReached("a line without its end");
    }
    Ogre::String line(start, newline);
    position_ = static_cast<std::size_t>(newline - bytes_.begin()) + 1;
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (trimAfter) {
        Ogre::StringUtil::trim(line);
    }
    return line;
}

void StrictMeshStream::skip(long count) {
    bool before = count < 0 && static_cast<std::size_t>(-count) > position_;
    bool after = count > 0 && static_cast<std::size_t>(count) > bytes_.size() - position_;
    if (before || after) {
        raiseEndReached(printfText("a skip of %ld bytes", count));
    }
    lastShort_.reset();
    chunk_.reset();
    position_ = static_cast<std::size_t>(static_cast<long>(position_) + count);
}

void StrictMeshStream::seek(std::size_t position) {
    if (position > bytes_.size()) {
        raiseEndReached(printfText("a seek to byte %zu", position));
    }
    lastShort_.reset();
    chunk_.reset();
    position_ = position;
}

}  // namespace verada
