#pragma once

#include <string>

namespace Ogre {
class Mesh;
}

namespace verada {

// Records the file a mesh came from, as an absolute path, for the status bar: the path given
// may be relative to a working directory that a file dialog changed and puts back afterwards.
void recordMeshOrigin(Ogre::Mesh& mesh, const std::string& path);

}  // namespace verada
