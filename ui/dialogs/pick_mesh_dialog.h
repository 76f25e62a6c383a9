#pragma once

#include <QDialog>

#include "engine/app_state.h"

class QComboBox;

namespace verada {

// "Pick Mesh To Save": the objects on the root children (drop-down 1050, the first selected),
// "OK" (1) and "Cancel" (2). OK saves the selected entity's mesh (saveMeshAsOgreMesh, with the
// dialog as owner of its messages) and closes the dialog whatever came of it.
class PickMeshDialog : public QDialog {
    Q_OBJECT

  public:
    PickMeshDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

  private:
    AppState& state_;
    QComboBox* entities_;
};

// Runs the dialog modally; 1 after "OK", 2 after "Cancel".
int runPickMeshDialog(QWidget* owner, AppState& state);

}  // namespace verada
