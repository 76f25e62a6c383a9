#pragma once

#include <array>
#include <cstdint>
#include <string>


namespace verada {

// Camera, light and background parameters shared by the configuration file, the scene file
// and the POV-Ray export.
struct ViewSettings {
    std::array<float, 3> lightPosition{};
    std::array<float, 3> lightDiffuseColor{};
    std::array<float, 3> lightSpecularColor{};
    float cameraXPos = 0.0f;
    float cameraYPos = 1.0f;
    float cameraDist = 2.0f;
    float cameraLookX = 0.0f;
    float cameraLookY = 0.7f;
    float cameraNearClip = 1.0f;
    float cameraFovY = 60.0f;
    float backgroundShift = 8.0f;
    float bgndRed = 0.1f;
    float bgndGreen = 0.1f;
    float bgndBlue = 0.45f;
    float bgndAlpha = 1.0f;
};

struct PovSettings {
    std::string povCommand;
    std::string povTexturePath;
};

// The colour chooser's 16 custom colours, each 0x00BBGGRR.
using CustomColors = std::array<std::uint32_t, 16>;

// The colour picker's custom colours before the configuration file is read.
CustomColors defaultCustomColors();

}  // namespace verada
