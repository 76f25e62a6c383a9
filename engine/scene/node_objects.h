#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/scene/name_list.h"

namespace verada {

// The objects on a root child, addressed by node and object name, and the submeshes of the
// entities among them: what material assignment walks down. A node, object or mesh that is not
// there, or an object that is no entity, gives the empty result and changes nothing.

// Names of the objects attached to root child nodeName, in attachment order.
NameList listNodeObjects(const AppState& state, const std::string& nodeName);

// Entry k is the label of submesh k (see buildSubmeshLabel) of entity entityName on root child
// nodeName; at most the first 128 submeshes.
NameList listSubmeshLabels(const AppState& state, const std::string& nodeName,
                           const std::string& entityName);

// The material of submesh index (kept within the submeshes there are), cut to 255 characters.
std::string getSubmeshMaterial(const AppState& state, const std::string& nodeName,
                               const std::string& entityName, int index);

// Gives submesh index the material; an index past the submeshes changes nothing.
void setSubmeshMaterial(AppState& state, const std::string& nodeName, const std::string& entityName,
                        int index, const std::string& materialName);

}  // namespace verada
