#pragma once

#include <QDialog>

#include "engine/app_state.h"

class QComboBox;

namespace verada {

// "Assign Materials": node (list 1046), mesh (1047), group (1048) and material (1049), each
// choice refilling the lists below it; "OK" (1) and "Apply" (1036) give the chosen submesh the
// chosen material, Apply also renders a frame, "Cancel" (2) undoes nothing. The material list
// opens on the submesh's own material. A change of node keeps the mesh and group positions, cut
// to what the new node has; every opening starts at the first of each.
class AssignMaterialsDialog : public QDialog {
    Q_OBJECT

  public:
    AssignMaterialsDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

  private:
    void refreshAssignLists();
    void applyAssignment();

    AppState& state_;
    QComboBox* nodes_;
    QComboBox* meshes_;
    QComboBox* groups_;
    QComboBox* materials_;
    int assignNodeIndex_ = 0;
    int assignMeshIndex_ = 0;
    int assignGroupIndex_ = 0;
};

// Runs the dialog modally; 1 after "OK", 2 after "Cancel".
int runAssignMaterialsDialog(QWidget* owner, AppState& state);

}  // namespace verada
