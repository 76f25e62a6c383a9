#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace verada {

// "Save As .RTS" once the file is chosen: the view settings and the whole scene (captureScene)
// as a scene file at path. The text goes to a temporary file beside it, which replaces path
// only when every write and the close succeeded; else path stays as it was, the temporary is
// gone and the text is "ERR: Unable to create file\r\n\"%s\"." or, when a write failed,
// "ERR: Unable to write file\r\n\"%s\"." (a failure to write path). Ogre's exceptions come back
// as "ERR: " and their description.
Status writeRtsFile(AppState& state, const std::string& path);

}  // namespace verada
