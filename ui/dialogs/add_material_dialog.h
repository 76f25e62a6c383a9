#pragma once

#include <QDialog>

#include "engine/app_state.h"

class QComboBox;
class QLineEdit;

namespace verada {

// "Add Material": a new material as a clone of a loaded one. Name (edit 1042), "Clone from:"
// (list 1043, the first material selected), "OK" (1) and "Cancel" (2). OK keeps the name in
// state.materialEditor.lastAddedMaterialName, cloned or not; when the library refuses, its text
// shows in a box on this dialog ("Add Material Failure") and the dialog stays open.
class AddMaterialDialog : public QDialog {
    Q_OBJECT

  public:
    AddMaterialDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

  private:
    void addMaterial();

    AppState& state_;
    QLineEdit* name_;
    QComboBox* cloneFrom_;
};

// Runs the dialog modally; 1 once a material was added, 2 after "Cancel".
int runAddMaterialDialog(QWidget* owner, AppState& state);

}  // namespace verada
