#include "ui/input_decoding.h"

#include <gtest/gtest.h>

namespace verada {
namespace {

TEST(InputDecoding, CharacterKeysInEitherCase) {
    struct Case {
        char key;
        InputAction action;
    } cases[] = {
        {'c', InputAction::ResetCamera},    {'C', InputAction::ResetCamera},
        {'m', InputAction::CountMaterials}, {'p', InputAction::PointsMode},
        {'q', InputAction::Quit},           {'Q', InputAction::Quit},
        {'r', InputAction::ResetNode},      {'s', InputAction::SolidMode},
        {'w', InputAction::WireframeMode},  {'x', InputAction::None},
        {'1', InputAction::None},           {' ', InputAction::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeCharacter(c.key).action, c.action) << c.key;
    }
}

TEST(InputDecoding, MouseMovesFollowButtonsAndModifiers) {
    const MouseButtons none{}, left{true, false, false}, right{false, true, false},
        middle{false, false, true}, leftRight{true, true, false}, leftMiddle{true, false, true};
    struct Case {
        MouseButtons buttons;
        bool ctrl;
        bool alt;
        InputAction action;
        float a;
        float b;
    } cases[] = {
        // From (100, 50) to (90, 57): dx back = 10, dy down = 7.
        {left, false, true, InputAction::OrbitCamera, 10, 7},
        {leftMiddle, false, true, InputAction::OrbitCamera, 10, 7},  // Alt + left orbits
        {left, true, false, InputAction::TurnNode, 10, 7},
        {left, true, true, InputAction::OrbitCamera, 10, 7},
        {left, false, false, InputAction::None, 0, 0},
        {middle, false, true, InputAction::PanCamera, 10, 7},
        {leftRight, false, true, InputAction::PanCamera, 10, 7},
        {middle, true, false, InputAction::MoveNode, -10, -7},
        {leftRight, true, false, InputAction::MoveNode, -10, -7},
        {middle, false, false, InputAction::None, 0, 0},
        {right, true, false, InputAction::RollNode, 7, 0},
        {right, false, false, InputAction::None, 0, 0},
        {none, true, true, InputAction::None, 0, 0},
    };
    for (const Case& c : cases) {
        AppState state;
        state.mouseX = 100;
        state.mouseY = 50;
        DecodedInput decoded = decodeMouseMove(state, 90, 57, c.buttons, c.ctrl, c.alt);
        EXPECT_EQ(decoded.action, c.action);
        EXPECT_EQ(decoded.a, c.a);
        EXPECT_EQ(decoded.b, c.b);
        EXPECT_EQ(state.prevMouseX, 100);
        EXPECT_EQ(state.prevMouseY, 50);
        EXPECT_EQ(state.mouseX, 90);
        EXPECT_EQ(state.mouseY, 57);
    }
}

TEST(InputDecoding, AltRightDragZoomsByTheDominantDifference) {
    const MouseButtons right{false, true, false};
    struct Case {
        int x;
        int y;
        float d;
    } cases[] = {
        {110, 53, 10},  // dx 10, dy 3: the larger
        {103, 60, 10},  // dx 3, dy 10: the larger
        {100, 45, 0},   // dx 0, dy -5: the larger
        {95, 58, -5},   // dx -5, dy 8: the smaller
        {92, 47, -8},   // dx -8, dy -3: the smaller
    };
    for (const Case& c : cases) {
        AppState state;
        state.mouseX = 100;
        state.mouseY = 50;
        DecodedInput decoded = decodeMouseMove(state, c.x, c.y, right, false, true);
        EXPECT_EQ(decoded.action, InputAction::ZoomCamera);
        EXPECT_EQ(decoded.a, c.d) << c.x << "," << c.y;
    }
}

TEST(InputDecoding, WheelStepsAndTargets) {
    struct Case {
        int delta;
        bool middle;
        bool ctrl;
        bool alt;
        InputAction action;
        float step;
    } cases[] = {
        {120, false, false, true, InputAction::ZoomCamera, 1},
        {-120, false, false, true, InputAction::ZoomCamera, -1},
        {120, true, false, true, InputAction::ZoomCamera, 16},
        {-120, true, true, false, InputAction::MoveNodeDepth, -16},
        {120, false, true, true, InputAction::ZoomCamera, 1},
        {120, false, false, false, InputAction::None, 0},
    };
    for (const Case& c : cases) {
        DecodedInput decoded = decodeWheel(c.delta, c.middle, c.ctrl, c.alt);
        EXPECT_EQ(decoded.action, c.action);
        EXPECT_EQ(decoded.a, c.step);
    }
}

TEST(InputDecoding, OnlyAPlainLeftReleasePicks) {
    EXPECT_TRUE(releasePicks(false, false, false));
    EXPECT_FALSE(releasePicks(true, false, false));
    EXPECT_FALSE(releasePicks(false, true, false));
    EXPECT_FALSE(releasePicks(false, false, true));
}

}  // namespace
}  // namespace verada
