#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace verada::test {

struct CommandOutput {
    int status = -1;     // the exit status, -1 when the command did not end normally
    std::string output;  // standard output and standard error
};

CommandOutput runCommand(const std::string& command);

// The Khronos glTF validator on the files: status 0 when none has an error; the output lists
// each file's counts and its errors and warnings.
CommandOutput validateGltf(const std::vector<std::filesystem::path>& files);

// One mesh as `assimp info FILE -r` reports it, after reading the file without any
// post-processing.
struct AssimpMesh {
    std::string name;
    int vertices = 0;
    int faces = 0;
};

std::vector<AssimpMesh> assimpMeshes(const std::filesystem::path& file);

}  // namespace verada::test
