#pragma once

#include "formats/config/view_settings.h"
#include "formats/config/profile.h"

namespace verada {

inline constexpr const char* kConfigFileName = "./Verada.cfg";

// [SceneParms] and [Commands]. Malformed numbers keep the components they did not reach.
void loadViewSettings(const IniProfile& profile, ViewSettings& view, PovSettings& pov);
// [SceneParms]. Without a non-zero "SaveFinalView" in the file the camera goes back to its
// defaults before it is written, so only a user who asked for it keeps the final view.
void saveViewSettings(IniProfile& profile, ViewSettings& view);

// [CustomColors]. An entry without exactly three numbers reads as white.
void loadCustomColors(const IniProfile& profile, CustomColors& colors);
void saveCustomColors(IniProfile& profile, const CustomColors& colors);

}  // namespace verada
