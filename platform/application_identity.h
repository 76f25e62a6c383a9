#pragma once

namespace verada {

inline constexpr const char* kApplicationCaption = "Verada V0.22 - created by Dudoda";
inline constexpr const char* kVersionText = "Verada V0.22";

}  // namespace verada
