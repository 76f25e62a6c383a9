#include "engine/mesh/strict_mesh_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <OgreException.h>
#include <OgreString.h>

#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr std::uint16_t kBoundsChunk = 0x9000;  // M_MESH_BOUNDS
constexpr std::size_t kBoxBytes = 6 * 4;

}  // namespace

StrictMeshStream::StrictMeshStream(const std::string& name, std::vector<std::uint8_t> bytes)
    : Ogre::DataStream(name), bytes_(std::move(bytes)) {
    mSize = bytes_.size();
    // The header chunk's id, 0x1000, tells the byte order.
    bigEndian_ = bytes_.size() >= 2 && bytes_[0] == 0x10 && bytes_[1] == 0x00;
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

void StrictMeshStream::watchBounds(const std::uint8_t* bytes, std::size_t count) {
    if (bounds_ == Bounds::IdRead) {
        bounds_ = count == 4 ? Bounds::Reading : Bounds::Unseen;
        box_.clear();
        return;
    }
    if (bounds_ == Bounds::Reading && count % 4 == 0) {
        box_.insert(box_.end(), bytes, bytes + std::min(count, kBoxBytes - box_.size()));
        if (box_.size() < kBoxBytes) {
            return;
        }
        bounds_ = Bounds::Unseen;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (!(floatAt(axis) <= floatAt(axis + 3))) {
                OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                            "Mesh data gives a bounding box whose minimum is not below its "
                            "maximum.",
                            "StrictMeshStream");
            }
        }
        return;
    }
    bounds_ = Bounds::Unseen;
    if (count == 2) {
        const std::uint16_t id =
            bigEndian_ ? (bytes[0] << 8 | bytes[1]) : (bytes[1] << 8 | bytes[0]);
        if (id == kBoundsChunk) {
            bounds_ = Bounds::IdRead;
        }
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
        watchBounds(bytes_.data() + position_, count);
        std::memcpy(buffer, bytes_.data() + position_, count);
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
    bounds_ = Bounds::Unseen;
    position_ = static_cast<std::size_t>(static_cast<long>(position_) + count);
}

void StrictMeshStream::seek(std::size_t position) {
    if (position > bytes_.size()) {
        raiseEndReached(printfText("a seek to byte %zu", position));
    }
    bounds_ = Bounds::Unseen;
    position_ = position;
}

}  // namespace verada
