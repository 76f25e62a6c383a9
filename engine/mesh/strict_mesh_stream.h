#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <OgreDataStream.h>

namespace verada {

// The bytes of a .mesh file for Ogre's MeshSerializer, which does not check what its reads
// return: a read, skip or seek past the end raises an Ogre exception instead of handing back
// fewer bytes (on a truncated file the serializer would go on with what its buffers held).
// Two reads at the end are the serializer's own: a line is found without reading past its
// newline, and the chunk header it reads once the last chunk is done (an id of 2 bytes, then
// a length of 4) comes back empty, zero-filled.
// The mesh's bounding box is checked as it is read: Debian's Ogre asserts, ending the process,
// on a minimum above the maximum (or not a number). The serializer reads a chunk header as an
// id of 2 bytes and a length of 4, and the box as the six floats after it, so a bounds chunk's
// header followed by reads of whole floats is watched for.
class StrictMeshStream : public Ogre::DataStream {
  public:
    StrictMeshStream(const std::string& name, std::vector<std::uint8_t> bytes);

    std::size_t read(void* buffer, std::size_t count) override;
    Ogre::String getLine(bool trimAfter = true) override;
    void skip(long count) override;
    void seek(std::size_t position) override;
    std::size_t tell() const override { return position_; }
    bool eof() const override { return position_ >= bytes_.size(); }
    void close() override {}

  private:
    [[noreturn]] void raiseEndReached(const std::string& what) const;

    enum class EndHeader { NotRead, IdRead, LengthRead };
    enum class Bounds { Unseen, IdRead, Reading };

    void watchBounds(const std::uint8_t* bytes, std::size_t count);
    float floatAt(std::size_t index) const;

    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
    EndHeader endHeader_ = EndHeader::NotRead;
    bool bigEndian_ = false;
    Bounds bounds_ = Bounds::Unseen;
    std::vector<std::uint8_t> box_;
};

}  // namespace verada
