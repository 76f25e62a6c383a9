#pragma once

#include <string>

#include "engine/app_state.h"

namespace Ogre {
class SceneNode;
}

namespace verada {

// The scene is the flat list of the root scene node's children ("root children"), addressed by
// name. Operations on a node that does not exist return the "nothing done" result quietly.

// Names of the root children into state.nameList; returns how many were written (0 to 128).
int listSceneNodes(AppState& state);

// Names of the objects attached to root child nodeName into state.nameList; 0 if no such node.
int listNodeObjects(AppState& state, const std::string& nodeName);

// The material of sub-entity index (clamped to the last one) of entity objectName on node
// nodeName: 1 with materialOut set, else 0 with materialOut untouched.
int getSubmeshMaterial(AppState& state, const std::string& nodeName, const std::string& objectName,
                       int index, std::string& materialOut);

// 1 when sub-entity index exists and got the material, else 0.
int setSubmeshMaterial(AppState& state, const std::string& nodeName, const std::string& objectName,
                       int index, const std::string& materialName);

bool nodeHasVisibleObject(const Ogre::SceneNode& node);

// Flips the node's visibility with its children; toggling the selected node drops the
// selection. 1, or 0 if no such node.
int toggleNodeVisibility(AppState& state, const std::string& nodeName);

// The selected node's name and scale, or an empty name and (0, 0, 0) with nothing selected.
int readSelectedNodeScale(AppState& state, NodeScaleRecord& record);
int applyNodeScale(AppState& state, const NodeScaleRecord& record);

// Direct manipulation of the selected node; nothing happens without one.
void resetSelectedNode(AppState& state);
void moveSelectedNode(AppState& state, float dx, float dy);
void moveSelectedNodeDepth(AppState& state, float d);
void turnSelectedNode(AppState& state, float dx, float dy);
void rollSelectedNode(AppState& state, float d);

// Selects the nearest visible model under client pixel (x, y), or nothing; the selected node
// shows its bounding box. Uses state.clientRect for the window size. Returns 1.
int pickNodeAt(AppState& state, int x, int y);

// Frees the own vertex data of every submesh shown on a root child, before the engine's own
// clean-up, and logs how many submeshes it visited.
void releaseMeshVertexData(AppState& state);

// "Remove All": every node, entity and built mesh goes, the floor and backdrop included.
void removeAllNodes(AppState& state);

}  // namespace verada
