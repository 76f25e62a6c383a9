#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"
#include "platform/application_identity.h"

namespace verada {

// What a command came to, as the menu shows it: each "WARN: " text, then the failure, in a
// message box of the owner with an OK button, under the application's caption.
template <typename T>
void showCommandMessages(AppState& state, WindowHandle owner, const Result<T>& result) {
    for (const std::string& warning : result.warnings()) {
        state.platform->messageBox(owner, warning, kApplicationCaption, MessageButtons::Ok,
                                   MessageIcon::None);
    }
    if (!result) {
        state.platform->messageBox(owner, result.error(), kApplicationCaption, MessageButtons::Ok,
                                   MessageIcon::None);
    }
}

}  // namespace verada
