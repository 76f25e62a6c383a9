#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <OgreMesh.h>

#include "formats/io/result.h"

namespace verada {

struct ImportedOgreMesh {
    Ogre::MeshPtr mesh;
    // Per submesh, as the file names it: Ogre keeps only the names of materials it holds.
    std::vector<std::string> materialNames;
};

// Imports the bytes of a .mesh file into a new mesh meshName of the group "MSH", its buffers
// static with shadow copies (so that they read back). A linked skeleton is looked for in the
// group's locations; a missing one is no error. Fails with "ERR: " and Ogre's text, also when
// the data ends before the mesh does, leaving no mesh of that name.
Result<ImportedOgreMesh> importOgreMesh(const std::string& meshName,
                                        std::vector<std::uint8_t> bytes);

// The same for the file at path.
Result<ImportedOgreMesh> importOgreMeshFile(const std::string& path, const std::string& meshName);

struct SubmeshSummary {
    std::string label;     // buildSubmeshLabel
    std::string material;  // as the file names it, loaded or not
    std::size_t vertexCount = 0;
    std::size_t faceCount = 0;  // index count / 3
    bool sharedVertices = false;
};

// The submeshes of the .mesh file at path; the mesh is not kept (`verada info`).
Result<std::vector<SubmeshSummary>> describeOgreMeshFile(const std::string& path);

}  // namespace verada
