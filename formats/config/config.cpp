#include "formats/config/config.h"

#include <cstdio>

namespace verada {
namespace {

constexpr const char* kSceneParms = "SceneParms";
constexpr const char* kCommands = "Commands";
constexpr const char* kCustomColors = "CustomColors";
constexpr std::size_t kValueBuffer = 255;

std::string formatFloat(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

std::string formatTriple(const std::array<float, 3>& values) {
    char text[200];
    std::snprintf(text, sizeof text, "%f %f %f", static_cast<double>(values[0]),
                  static_cast<double>(values[1]), static_cast<double>(values[2]));
    return text;
}

void readTriple(const IniProfile& profile, const char* key, const char* defaultText,
                std::array<float, 3>& values) {
    std::string text = profile.readString(kSceneParms, key, defaultText, kValueBuffer);
    std::sscanf(text.c_str(), "%f %f %f", &values[0], &values[1], &values[2]);
}

struct FloatKey {
    const char* key;
    float ViewSettings::*field;
};

constexpr FloatKey kFloatKeys[] = {
    {"CameraXPos", &ViewSettings::cameraXPos},
    {"CameraYPos", &ViewSettings::cameraYPos},
    {"CameraDist", &ViewSettings::cameraDist},
    {"CameraLookX", &ViewSettings::cameraLookX},
    {"CameraLookY", &ViewSettings::cameraLookY},
    {"CameraNearClip", &ViewSettings::cameraNearClip},
    {"CameraFovY", &ViewSettings::cameraFovY},
    {"BackgroundShift", &ViewSettings::backgroundShift},
    {"BgndRed", &ViewSettings::bgndRed},
    {"BgndGreen", &ViewSettings::bgndGreen},
    {"BgndBlue", &ViewSettings::bgndBlue},
    {"BgndAlpha", &ViewSettings::bgndAlpha},
};

void readCommand(const IniProfile& profile, const char* key, std::string& target) {
    std::string value = profile.readString(kCommands, key, "", kValueBuffer);
    if (value.empty()) {
        return;
    }
    if (value.front() == '"') {
        value.erase(0, 1);
        if (!value.empty() && value.back() == '"') {
            value.pop_back();
        }
    }
    target = value;
}

}  // namespace

CustomColors defaultCustomColors() {
    constexpr int kRgb[16][3] = {
        {31, 31, 31},   {63, 63, 63},  {95, 95, 95},   {127, 127, 127},
        {255, 63, 63},  {63, 255, 63}, {63, 127, 63},  {127, 63, 63},
        {63, 127, 63},  {63, 63, 127}, {127, 127, 63}, {127, 63, 127},
        {63, 127, 127}, {127, 31, 63}, {31, 127, 63},  {31, 63, 127},
    };
    CustomColors colors{};
    for (int i = 0; i < 16; ++i) {
        colors[i] = static_cast<std::uint32_t>(kRgb[i][0] | kRgb[i][1] << 8 | kRgb[i][2] << 16);
    }
    return colors;
}

void loadViewSettings(const IniProfile& profile, ViewSettings& view, PovSettings& pov) {
    readTriple(profile, "LightPosition", "0.0 15.0 25.0", view.lightPosition);
    readTriple(profile, "LightDiffuseColor", "1.0 0.6 0.4", view.lightDiffuseColor);
    readTriple(profile, "LightSpecularColor", "1.0 0.4 0.6", view.lightSpecularColor);
    for (const FloatKey& entry : kFloatKeys) {
        float& field = view.*entry.field;
        std::string text =
            profile.readString(kSceneParms, entry.key, formatFloat(field), kValueBuffer);
        std::sscanf(text.c_str(), "%f", &field);
    }
    readCommand(profile, "POVCommand", pov.povCommand);
    readCommand(profile, "POVTexPath", pov.povTexturePath);
}

void saveViewSettings(IniProfile& profile, ViewSettings& view) {
    profile.writeString(kSceneParms, "LightPosition", formatTriple(view.lightPosition));
    profile.writeString(kSceneParms, "LightDiffuseColor", formatTriple(view.lightDiffuseColor));
    profile.writeString(kSceneParms, "LightSpecularColor", formatTriple(view.lightSpecularColor));
    int saveFinalView = profile.readInt(kSceneParms, "SaveFinalView", 0);
    if (saveFinalView == 0) {
        const ViewSettings defaults;
        view.cameraXPos = defaults.cameraXPos;
        view.cameraYPos = defaults.cameraYPos;
        view.cameraDist = defaults.cameraDist;
        view.cameraLookX = defaults.cameraLookX;
        view.cameraLookY = defaults.cameraLookY;
        view.cameraNearClip = defaults.cameraNearClip;
        view.cameraFovY = defaults.cameraFovY;
    }
    profile.writeString(kSceneParms, "SaveFinalView", std::to_string(saveFinalView));
    for (const FloatKey& entry : kFloatKeys) {
        profile.writeString(kSceneParms, entry.key, formatFloat(view.*entry.field));
    }
}

void loadCustomColors(const IniProfile& profile, CustomColors& colors) {
    for (int i = 0; i < 16; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "ColorSet%02d", i);
        std::uint32_t c = colors[i];
        char defaultText[64];
        std::snprintf(defaultText, sizeof defaultText, "%d %d %d", static_cast<int>(c & 0xFF),
                      static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
        std::string text = profile.readString(kCustomColors, key, defaultText, kValueBuffer);
        int red = 0;
        int green = 0;
        int blue = 0;
        if (std::sscanf(text.c_str(), "%d %d %d", &red, &green, &blue) != 3) {
            red = green = blue = 255;
        }
        colors[i] = (static_cast<std::uint32_t>(red) & 0xFF) |
                    (static_cast<std::uint32_t>(green) & 0xFF) << 8 |
                    (static_cast<std::uint32_t>(blue) & 0xFF) << 16;
    }
}

void saveCustomColors(IniProfile& profile, const CustomColors& colors) {
    for (int i = 0; i < 16; ++i) {
        char key[16];
        char value[64];
        std::snprintf(key, sizeof key, "ColorSet%02d", i);
        std::uint32_t c = colors[i];
        std::snprintf(value, sizeof value, "%d %d %d", static_cast<int>(c & 0xFF),
                      static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
        profile.writeString(kCustomColors, key, value);
    }
}

}  // namespace verada
