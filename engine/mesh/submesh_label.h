#pragma once

#include <string>

namespace Ogre {
class Mesh;
}

namespace verada {

// The name the mesh registers for submesh index (cut to 255 characters), else
// "GroupIndex%02d". With several names for one submesh the last one the mesh's name table
// yields wins. The assignment dialog, the scene file and the exporters label submeshes so.
std::string buildSubmeshLabel(const Ogre::Mesh& mesh, unsigned index);

}  // namespace verada
