#include "ui/input_decoding.h"

#include <algorithm>
#include <cctype>

namespace verada {

DecodedInput decodeCharacter(char key) {
    switch (std::toupper(static_cast<unsigned char>(key))) {
        case 'C':
            return {InputAction::ResetCamera};
        case 'M':
            return {InputAction::CountMaterials};
        case 'P':
            return {InputAction::PointsMode};
        case 'Q':
            return {InputAction::Quit};
        case 'R':
            return {InputAction::ResetNode};
        case 'S':
            return {InputAction::SolidMode};
        case 'W':
            return {InputAction::WireframeMode};
        default:
            return {};
    }
}

DecodedInput decodeMouseMove(AppState& state, int x, int y, MouseButtons buttons, bool ctrl,
                             bool alt) {
    state.prevMouseX = state.mouseX;
    state.prevMouseY = state.mouseY;
    state.mouseX = x;
    state.mouseY = y;
    const int backX = state.prevMouseX - state.mouseX;
    const int downY = state.mouseY - state.prevMouseY;
    const auto f = [](int value) { return static_cast<float>(value); };

    if (buttons.left && !buttons.right) {
        if (alt) {
            return {InputAction::OrbitCamera, f(backX), f(downY)};
        }
        if (ctrl) {
            return {InputAction::TurnNode, f(backX), f(downY)};
        }
        return {};
    }
    if (buttons.middle || (buttons.left && buttons.right)) {
        if (alt) {
            return {InputAction::PanCamera, f(backX), f(downY)};
        }
        if (ctrl) {
            return {InputAction::MoveNode, f(-backX), f(-downY)};
        }
        return {};
    }
    if (buttons.right) {
        if (alt) {
            const int dx = state.mouseX - state.prevMouseX;
            const int dy = downY;
            return {InputAction::ZoomCamera, f(dx >= 0 ? std::max(dx, dy) : std::min(dx, dy))};
        }
        if (ctrl) {
            return {InputAction::RollNode, f(downY)};
        }
    }
    return {};
}

DecodedInput decodeWheel(int angleDelta, bool middle, bool ctrl, bool alt) {
    float step = angleDelta >= 0 ? 1.0f : -1.0f;
    if (middle) {
        step *= 16.0f;
    }
    if (alt) {
        return {InputAction::ZoomCamera, step};
    }
    if (ctrl) {
        return {InputAction::MoveNodeDepth, step};
    }
    return {};
}

bool releasePicks(bool shift, bool ctrl, bool alt) {
    return !shift && !ctrl && !alt;
}

}  // namespace verada
