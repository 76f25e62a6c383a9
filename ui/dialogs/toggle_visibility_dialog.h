#pragma once

#include <QDialog>

#include "engine/app_state.h"

class QComboBox;

namespace verada {

// "Toggle Scene Node Visibility": a drop-down of the root children (id 1045), "OK" (1),
// "Apply" (1036) and "Cancel" (2). OK and Apply flip the chosen node's visibility; Apply also
// renders a frame and keeps the dialog open.
class ToggleVisibilityDialog : public QDialog {
    Q_OBJECT

  public:
    ToggleVisibilityDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

  private:
    void toggleChosenNode();

    AppState& state_;
    QComboBox* nodes_;
};

// Runs the dialog modally; 1 after "OK", 2 after "Cancel".
int runToggleVisibilityDialog(QWidget* owner, AppState& state);

}  // namespace verada
