#include "engine/mesh/strict_mesh_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <OgreException.h>
#include <OgreString.h>

#include "formats/io/printf_text.h"

namespace verada {

StrictMeshStream::StrictMeshStream(const std::string& name, std::vector<std::uint8_t> bytes)
    : Ogre::DataStream(name), bytes_(std::move(bytes)) {
    mSize = bytes_.size();
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
    position_ = static_cast<std::size_t>(static_cast<long>(position_) + count);
}

void StrictMeshStream::seek(std::size_t position) {
    if (position > bytes_.size()) {
        raiseEndReached(printfText("a seek to byte %zu", position));
    }
    position_ = position;
}

}  // namespace verada
