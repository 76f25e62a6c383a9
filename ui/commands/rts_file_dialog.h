#pragma once

#include <optional>

#include "engine/app_state.h"
#include "platform/pick_file.h"

namespace verada {

// The file dialog of "Save As .RTS" (save) and "Load .RTS" (open).
inline std::optional<PickedFile> pickRtsFile(AppState& state, bool save) {
    return pickFile(*state.platform, state.directories, "rts",
                    {{"Verada RTS files (*.rts)", "*.rts"}, {"All Files (*.*)", "*.*"}}, save);
}

}  // namespace verada
