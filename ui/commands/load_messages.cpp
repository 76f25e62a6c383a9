#include "ui/commands/load_messages.h"

#include "platform/application_identity.h"

namespace verada {

void showLoadFailure(AppState& state, const std::string& text) {
    state.platform->messageBox(nullptr, text, kApplicationCaption, MessageButtons::Ok,
                               MessageIcon::Warning);
}

void showLoadWarnings(AppState& state, const std::vector<std::string>& warnings) {
    if (warnings.empty()) {
        return;
    }
    std::string text = warnings.front();
    for (std::size_t i = 1; i < warnings.size(); ++i) {
        text += "\r\n" + warnings[i];
    }
    showLoadFailure(state, text);
}

}  // namespace verada
