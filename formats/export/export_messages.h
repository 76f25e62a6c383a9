#pragma once

namespace verada {

// The texts of the scene exporters; printf placeholders as named.
inline constexpr const char* kNoModelToExport = "ERR: The scene holds no model to export.";
// Submesh label, mesh name, vertex count.
inline constexpr const char* kIndexPastVertices =
    "WARN: Submesh %s of mesh %s holds an index past its %zu vertices and is left out.";
// Texture name, material name.
inline constexpr const char* kTextureLeftOut =
    "WARN: Texture %s of material %s could not be read and is left out.";

}  // namespace verada
