#pragma once

#include "engine/scene/name_list.h"

namespace verada {

// The names of the materials Ogre holds, in order of creation; returns how many were listed.
int listMaterialNames(NameList& names);

}  // namespace verada
