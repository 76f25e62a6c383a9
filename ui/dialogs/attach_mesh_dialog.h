#pragma once

#include <QDialog>

#include "engine/app_state.h"

class QComboBox;
class QRadioButton;

namespace verada {

// "Add Mesh To Existing Scene Node": the node (id 1045) and the loader (radio buttons 1007
// Ogre .mesh, 1008 GMDL, 1009 GMDC, 1010 GMSH). OK stores the choice in
// state.attachTargetNode and state.attachSource; after Cancel attachTargetNode stays empty.
class AttachMeshDialog : public QDialog {
    Q_OBJECT

  public:
    AttachMeshDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

  private:
    void storeChoice();

    AppState& state_;
    QComboBox* nodes_;
    QRadioButton* ogreMesh_;
    QRadioButton* gmdl_;
    QRadioButton* gmdc_;
    QRadioButton* gmsh_;
};

int runAttachMeshDialog(QWidget* owner, AppState& state);

}  // namespace verada
