#include "engine/mesh/mesh_origin.h"

#include <OgreMesh.h>

#include <filesystem>
#include <system_error>

namespace verada {

void recordMeshOrigin(Ogre::Mesh& mesh, const std::string& path) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(path, error).lexically_normal();
    mesh._notifyOrigin(error ? path : file.string());
}

}  // namespace verada
