#pragma once

#include <string>

#include "engine/scene/name_list.h"

namespace verada {

// The names of the materials Ogre holds, in order of creation; returns how many were listed.
int listMaterialNames(NameList& names);

// Whether Ogre holds a material of that name.
bool materialLoaded(const std::string& name);

// The names of the textures Ogre holds, in order of creation; returns how many were listed.
int listTextureNames(NameList& names);

}  // namespace verada
