#include "engine/mesh/bounded_buffer_manager.h"

#include <OgreException.h>

#include "formats/io/printf_text.h"

namespace verada {

void BoundedBufferManager::check(std::size_t count, std::size_t size, const char* what) const {
    if (size != 0 && count > maxBytes_ / size) {
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    printfText("Mesh data declares %zu %s of %zu bytes, more than its %zu bytes.",
                               count, what, size, maxBytes_),
                    "BoundedBufferManager");
    }
}

Ogre::HardwareVertexBufferSharedPtr BoundedBufferManager::createVertexBuffer(
    std::size_t vertexSize, std::size_t numVerts, Ogre::HardwareBuffer::Usage usage,
    bool useShadowBuffer) {
    check(numVerts, vertexSize, "vertices");
    return Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(vertexSize, numVerts,
                                                                          usage, useShadowBuffer);
}

Ogre::HardwareIndexBufferSharedPtr BoundedBufferManager::createIndexBuffer(
    Ogre::HardwareIndexBuffer::IndexType itype, std::size_t numIndexes,
    Ogre::HardwareBuffer::Usage usage, bool useShadowBuffer) {
    check(numIndexes, itype == Ogre::HardwareIndexBuffer::IT_32BIT ? 4 : 2, "indices");
    return Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(itype, numIndexes, usage,
                                                                         useShadowBuffer);
}

}  // namespace verada
