#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/scene/name_list.h"

namespace Ogre {
class SceneNode;
}

namespace verada {

// The scene is the flat list of the root scene node's children ("root children"), addressed by
// name. Operations on a node that does not exist return the "nothing done" result quietly.

struct NodeScaleRecord {
    std::string nodeName;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The root child of that name, or null.
Ogre::SceneNode* rootChildNamed(const AppState& state, const std::string& name);

// Names of the root children, in child order.
NameList listSceneNodes(const AppState& state);

bool nodeHasVisibleObject(const Ogre::SceneNode& node);

// The root children that hold the user's models: all but the floor and the backdrop.
std::vector<Ogre::SceneNode*> modelNodes(const AppState& state);

// Flips the node's visibility with its children; toggling the selected node drops the
// selection. 1, or 0 if no such node.
int toggleNodeVisibility(AppState& state, const std::string& nodeName);

// The selected node's name and scale, or an empty name and (0, 0, 0) with nothing selected.
NodeScaleRecord readSelectedNodeScale(const AppState& state);
// The scale on the node the record names, if it is there.
void applyNodeScale(AppState& state, const NodeScaleRecord& record);

// Direct manipulation of the selected node; nothing happens without one.
void resetSelectedNode(AppState& state);
void moveSelectedNode(AppState& state, float dx, float dy);
void moveSelectedNodeDepth(AppState& state, float d);
void turnSelectedNode(AppState& state, float dx, float dy);
void rollSelectedNode(AppState& state, float d);

// Selects the nearest visible model under client pixel (x, y), or nothing; the selected node
// shows its bounding box. Uses state.clientRect for the window size.
void pickNodeAt(AppState& state, int x, int y);

// Frees the own vertex data of every submesh shown on a root child, before the engine's own
// clean-up, and logs how many submeshes it visited.
void releaseMeshVertexData(AppState& state);

// "Remove All": every node, entity and built mesh goes, the floor and backdrop included; the
// light "Light1" is made again from the view settings.
void removeAllNodes(AppState& state);

}  // namespace verada
