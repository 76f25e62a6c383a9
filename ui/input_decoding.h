#pragma once

#include "engine/app_state.h"

namespace verada {

// What a key, mouse move or wheel turn asks for; the main window carries it out.
enum class InputAction {
    None,
    ResetCamera,
    CountMaterials,
    PointsMode,
    Quit,
    ResetNode,
    SolidMode,
    WireframeMode,
    OrbitCamera,
    PanCamera,
    ZoomCamera,
    TurnNode,
    MoveNode,
    RollNode,
    MoveNodeDepth,
};

struct DecodedInput {
    InputAction action = InputAction::None;
    float a = 0.0f;  // dx, or the single argument
    float b = 0.0f;  // dy
};

struct MouseButtons {
    bool left = false;
    bool right = false;
    bool middle = false;
};

DecodedInput decodeCharacter(char key);

// Shifts the current mouse position into the previous one, then decodes the move.
DecodedInput decodeMouseMove(AppState& state, int x, int y, MouseButtons buttons, bool ctrl,
                             bool alt);

// angleDelta > 0 is a turn away from the user.
DecodedInput decodeWheel(int angleDelta, bool middle, bool ctrl, bool alt);

// A left-button release picks only without Shift, Ctrl and Alt.
bool releasePicks(bool shift, bool ctrl, bool alt);

}  // namespace verada
