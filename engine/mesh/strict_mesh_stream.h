#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <OgreDataStream.h>
#include <OgreMesh.h>

namespace verada {

// The bytes of a .mesh file for Ogre's MeshSerializer, which does not check what its reads
// return: a read, skip or seek past the end raises an Ogre exception instead of handing back
// fewer bytes (on a truncated file the serializer would go on with what its buffers held).
// Two reads at the end are the serializer's own: a line is found without reading past its
// newline, and the chunk header it reads once the last chunk is done (an id of 2 bytes, then
// a length of 4) comes back empty, zero-filled.
// What Ogre reads and then uses without a check is checked as it is read: the bounding box
// (Debian's Ogre asserts, ending the process, on a minimum above the maximum or not a number)
// and the numbers of LOD levels and submeshes that edge lists, submesh names, extremes, poses
// and animation tracks refer to (Ogre indexes its arrays with them). The serializer reads a
// chunk header as an id of 2 bytes and a length of 4, then the chunk's fields in order, so
// these fields are found right after the header of their chunk. An LOD level count of 0 is refused
// (Ogre asserts on it), and a bool's byte above 1 is read as 1.
class StrictMeshStream : public Ogre::DataStream {
  public:
    // mesh: the mesh being imported, for its LOD level and submesh counts as read so far.
    StrictMeshStream(const std::string& name, std::vector<std::uint8_t> bytes,
                     const Ogre::Mesh& mesh);

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
    // Watches the reads after a chunk header; false once the chunk's checked fields are read.
    bool checkChunkField(std::uint16_t chunk, const std::uint8_t* bytes, std::size_t count);
    void watch(const std::uint8_t* bytes, std::size_t count);
    std::uint16_t u16At(const std::uint8_t* bytes) const;
    std::uint32_t u32At(const std::uint8_t* bytes) const;
    float floatAt(std::size_t index) const;

    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
    EndHeader endHeader_ = EndHeader::NotRead;
    const Ogre::Mesh& mesh_;
    bool bigEndian_ = false;
    std::optional<std::uint16_t> lastShort_;  // the value of the last read when it was 2 bytes
    std::optional<std::uint16_t> chunk_;      // the chunk whose fields are being read
    std::size_t fieldsRead_ = 0;
    std::vector<std::uint8_t> box_;
};

}  // namespace verada
