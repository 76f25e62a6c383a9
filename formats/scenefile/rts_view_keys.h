#pragma once

#include <cstddef>

#include "formats/config/view_settings.h"

namespace verada::rts {

// The [RTSData] keys after the version lines, in the order they are written, with the
// values a file without the key loads.
struct ViewKey {
    const char* key;
    const char* defaultText;
    std::size_t count;  // reals in the value
    float* (*field)(ViewSettings&);
};

// A file without background keys loads a reddish background: red and blue are swapped
// against the configuration's defaults.
inline constexpr ViewKey kViewKeys[] = {
    {"LightPosition", "0 15 25", 3, [](ViewSettings& v) { return v.lightPosition.data(); }},
    {"LightDiffuseColor", "1 0.6 0.4", 3,
     [](ViewSettings& v) { return v.lightDiffuseColor.data(); }},
    {"LightSpecularColor", "1 0.4 0.6", 3,
     [](ViewSettings& v) { return v.lightSpecularColor.data(); }},
    {"CameraXPos", "0", 1, [](ViewSettings& v) { return &v.cameraXPos; }},
    {"CameraYPos", "1", 1, [](ViewSettings& v) { return &v.cameraYPos; }},
    {"CameraDist", "2", 1, [](ViewSettings& v) { return &v.cameraDist; }},
    {"CameraLookX", "0", 1, [](ViewSettings& v) { return &v.cameraLookX; }},
    {"CameraLookY", "0.7", 1, [](ViewSettings& v) { return &v.cameraLookY; }},
    {"CameraNearClip", "1", 1, [](ViewSettings& v) { return &v.cameraNearClip; }},
    {"CameraFOVY", "60", 1, [](ViewSettings& v) { return &v.cameraFovY; }},
    {"BackgroundShift", "8", 1, [](ViewSettings& v) { return &v.backgroundShift; }},
    {"BgndRed", "0.45", 1, [](ViewSettings& v) { return &v.bgndRed; }},
    {"BgndGreen", "0.1", 1, [](ViewSettings& v) { return &v.bgndGreen; }},
    {"BgndBlue", "0.1", 1, [](ViewSettings& v) { return &v.bgndBlue; }},
    {"BgndAlpha", "1", 1, [](ViewSettings& v) { return &v.bgndAlpha; }},
};

}  // namespace verada::rts
