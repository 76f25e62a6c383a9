#pragma once

#include <string>
#include <vector>

#include "formats/model/imported_model.h"

namespace Ogre {
class VertexDeclaration;
}

namespace verada {

struct BuiltMesh {
    std::string name;
    std::vector<std::string> leftOut;  // one text per problem of a group left out
};

// Builds a manual mesh in the group "MSH" with one submesh per group (32-byte interleaved
// position, normal, texture coordinate; 16-bit indices), named after the file's base name made
// unique with "%s%d". A group whose normals or texture coordinates do not cover its vertices,
// or whose faces point past them, is left out with a text saying why; a group without faces is
// left out quietly. The bounds are the union of the groups' boxes.
BuiltMesh buildMeshFromModel(const ImportedModel& model, const std::string& fileName);

// The 32-byte vertex of every mesh built from a model or a scene file, in buffer 0: position,
// normal, texture coordinate.
void declareModelVertex(Ogre::VertexDeclaration& declaration);

}  // namespace verada
