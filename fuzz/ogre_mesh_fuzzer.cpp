// libFuzzer target for the .mesh importer, on the headless engine: a mesh it accepts has every
// submesh's vertices and indices in its buffers, and leaves no mesh behind when removed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <OgreMeshManager.h>
#include <OgreSubMesh.h>

#include "engine/engine.h"
#include "engine/mesh/ogre_mesh_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<verada::Engine> engine = verada::Engine::startHeadless("");
    verada::Result<verada::ImportedOgreMesh> imported =
        verada::importOgreMesh("FuzzMesh", std::vector<std::uint8_t>(data, data + size));
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (imported) {
        const Ogre::Mesh& mesh = *imported->mesh;
        for (unsigned i = 0; i < mesh.getNumSubMeshes(); ++i) {
            const Ogre::SubMesh& submesh = *mesh.getSubMesh(i);
            const Ogre::VertexData* vertices =
                submesh.useSharedVertices ? mesh.sharedVertexData : submesh.vertexData;
            if (vertices == nullptr) {
                std::abort();
            }
        }
        meshes.remove(imported->mesh);
    }
    if (meshes.resourceExists("FuzzMesh", Ogre::RGN_AUTODETECT)) {
        std::abort();
    }
    return 0;
}
