#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "formats/scene/scene_snapshot.h"

namespace verada::test {

// Six significant digits, as OgreXMLConverter prints them: " 1 2.5 -3".
std::string numbers(const std::vector<float>& values);

// A mesh as lines: per vertex data its count and one line per kind of element, per submesh its
// label, whether it shares the vertices, and its indices.
std::vector<std::string> meshLines(const MeshSnapshot& mesh);

// The same lines from the mesh as OgreXMLConverter writes it, one element a line; the face
// lists of the levels of detail are not the submeshes' own.
std::vector<std::string> converterLines(const std::filesystem::path& xml);

}  // namespace verada::test
