#pragma once

#include <vector>

#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

// A node of the glTF and OBJ files with the entities they show of it.
struct ExportNode {
    const NodeSnapshot* node = nullptr;
    std::vector<const ObjectSnapshot*> entities;
};

// What the view shows of the models: the root children but the viewer's own floor and
// backdrop, each with its visible entities, leaving out nodes that show none. Fails with
// "ERR: The scene holds no model to export." when nothing is left.
Result<std::vector<ExportNode>> selectExportNodes(const SceneSnapshot& scene);

}  // namespace verada
