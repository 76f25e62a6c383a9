#pragma once

namespace verada {

// The material library's texts, printf-style.
inline constexpr char kMaterialAlreadyLoaded[] =
    "Load failed.\r\nA material named \"%s\" is already loaded.";
inline constexpr char kScriptDefinesNoMaterial[] = "ERR: %s defines no material.";
inline constexpr char kScriptCompileWarning[] = "WARN: %s(%d): %s";
inline constexpr char kScriptCompilerCrashes[] =
    "ERR: Ogre's script compiler crashes on %s; nothing of it is loaded.";
inline constexpr char kScriptVariableUnpairedBraces[] =
    "ERR: %s uses a variable, but its { and } do not pair up.";
inline constexpr char kTextureNotLoaded[] =
    "WARN: Texture \"%s\" of material \"%s\" could not be loaded.";
inline constexpr char kMaterialNameNotUnique[] = "Material name must be unique.";
inline constexpr char kCloneSourceNotFound[] = "Clone From Material name not found.";
inline constexpr char kBuiltInMaterialKept[] =
    "WARN: \"%s\" is one of the engine's own materials and cannot be deleted.";
inline constexpr char kNoSuchMaterial[] = "ERR: No material named \"%s\" is loaded.";
inline constexpr char kUnableToWrite[] = "ERR: Unable to write %s.";

}  // namespace verada
