#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace verada {

// The scene (captureScene) as a POV-Ray scene file at path, with the view and POV-Ray settings
// of state, through a temporary beside path that replaces it once complete. Fails with
// "ERR: Unable to create file\r\n\"%s\"." or "ERR: Unable to write file\r\n\"%s\"." (path
// left as it was), or "ERR: " and the text of an Ogre exception; the writer's warnings travel
// with the result.
Status writePovFile(AppState& state, const std::string& path);

// POVCommand cut into words as a shell would (splitCommandWords) and the file name, exactly as
// the file was created, as one more word: the program started through services, waited for
// when asked. A command of no words starts nothing. Fails with "ERR: Unable to start ..."
// naming the program, and, waited for, with "ERR: ... ended with exit status %d." for any
// status but 0.
Status runPovCommand(SystemServices& services, const std::string& povCommand,
                     const std::string& fileName, bool wait);

// "Spawn POV-Ray": the scene written under the name
// "Verada-%04d-%02d-%02d-%02d-%02d-%02d-%03d.pov" of the current UTC time (state.platform's
// clock) in the current folder, then POVCommand started on it, not waited for, when set. A name
// already taken is never written over: the time is read again until the name is free. Returns
// the name, or the first failure.
Result<std::string> exportPovFile(AppState& state);

}  // namespace verada
