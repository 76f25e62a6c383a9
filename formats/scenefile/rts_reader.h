#pragma once

#include <string>
#include <string_view>

#include "formats/config/view_settings.h"
#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

// What a scene file gives. `scene` holds the nodes with their raw names from the file (not yet
// made unique) and, per object, the mesh of the same name; it has no materials.
struct RtsScene {
    ViewSettings view;
    SceneSnapshot scene;
    // Empty when the whole file was read. Else the text at which reading stopped: `scene` then
    // holds exactly what was read before it (the nodes before the failing one complete, the
    // failing node with the objects before the failing mesh), which the load keeps.
    std::string error;
};

// Reads a scene file; values of `current` stand where a view key is present but does not scan.
// Fails only with the version texts, before anything is read: the scene must stay as it was.
//
// To load as the menu command does: on failure show the text and change nothing. Else clear
// the scene, apply `view` (a frame), then create `scene.nodes` in order (names made unique with
// "%s%d"), each with its objects in order and a frame after each mesh, stopping at the first
// mesh the engine refuses (a name it already holds); when all was built, show `error` if any.
Result<RtsScene> readRtsText(std::string_view text, const ViewSettings& current);
// A file that cannot be read reads as one without a version.
Result<RtsScene> readRtsFile(const std::string& path, const ViewSettings& current);

}  // namespace verada
