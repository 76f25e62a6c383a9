#pragma once

#include <cstddef>

#include <OgreHardwareBufferManager.h>

namespace verada {

// Makes the vertex and index buffers of a mesh being imported through the engine's buffer
// manager, refusing (with an Ogre exception) any buffer larger than the file the mesh comes
// from. Ogre's mesh serializer fills every buffer it makes from the file, but makes it before
// reading: a hostile count in an otherwise well-formed file would have it allocate gigabytes,
// or go on with an allocation that failed, before its short read is noticed.
class BoundedBufferManager : public Ogre::HardwareBufferManagerBase {
  public:
    explicit BoundedBufferManager(std::size_t maxBytes) : maxBytes_(maxBytes) {}

    Ogre::HardwareVertexBufferSharedPtr createVertexBuffer(std::size_t vertexSize,
                                                           std::size_t numVerts,
                                                           Ogre::HardwareBuffer::Usage usage,
                                                           bool useShadowBuffer) override;
    Ogre::HardwareIndexBufferSharedPtr createIndexBuffer(Ogre::HardwareIndexBuffer::IndexType itype,
                                                         std::size_t numIndexes,
                                                         Ogre::HardwareBuffer::Usage usage,
                                                         bool useShadowBuffer) override;

  private:
    void check(std::size_t count, std::size_t size, const char* what) const;

    std::size_t maxBytes_;
};

}  // namespace verada
