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

bool showLoadOutcome(AppState& state, const FileOutcome& outcome) {
    showLoadWarnings(state, outcome.status.warnings());
    for (const std::string& text : outcome.notes) {
        state.platform->messageBox(state.mainWindow, text, kApplicationCaption, MessageButtons::Ok,
                                   MessageIcon::None);
    }
    if (!outcome.status) {
        showLoadFailure(state, outcome.status.error());
    }
    return outcome.status.ok();
}

}  // namespace verada
