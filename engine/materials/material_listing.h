#pragma once

#include "engine/scene/name_list.h"

namespace verada {

// The names of the materials Ogre holds, in order of creation; returns how many were listed.
int listMaterialNames(NameList& names);

// The names of the textures Ogre holds, in order of creation; returns how many were listed.
int listTextureNames(NameList& names);

}  // namespace verada
