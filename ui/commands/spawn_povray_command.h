#pragma once

#include "engine/app_state.h"

namespace verada {

// Tools > "Spawn POV-Ray": the scene as a POV-Ray file under the automatic name in the
// start-up folder, then POVCommand started on it when set; what went wrong shows in a message
// box of the main window.
void spawnPovRay(AppState& state);

}  // namespace verada
