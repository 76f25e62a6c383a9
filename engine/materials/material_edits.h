#pragma once

#include <string>

#include "formats/io/result.h"

namespace verada {

// A copy of material fromName named newName, in fromName's resource group; fromName is then
// compiled again. Fails with "Material name must be unique." or "Clone From Material name not
// found." (shown with the caption "Add Material Failure"), creating nothing.
Status cloneMaterial(const std::string& newName, const std::string& fromName);

// Unloads the material if it is loaded; entities showing it keep their copy. Refuses, with a
// "WARN: " text, the engine's own materials: without "BaseWhite" no model could be added.
Status deleteMaterial(const std::string& name);

// The material's script text (its non-default attributes, as Ogre writes them) saved at path
// through the atomic writer, so a failed save leaves the file that was there.
Status saveMaterialScript(const std::string& name, const std::string& path);

}  // namespace verada
