#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "engine/app_state.h"

class QComboBox;
class QRadioButton;

namespace verada {

// Loader chosen in "Add Mesh To Existing Scene Node".
enum class AttachSource { OgreMesh, Gmdc, Gmdl, Gmsh };

struct AttachChoice {
    AttachSource source = AttachSource::OgreMesh;
    std::string targetNode;  // empty when no node was listed
};

// "Add Mesh To Existing Scene Node": the node (id 1045) and the loader (radio buttons 1007
// Ogre .mesh, 1008 GMDL, 1009 GMDC, 1010 GMSH).
class AttachMeshDialog : public QDialog {
    Q_OBJECT

  public:
    AttachMeshDialog(QWidget* owner, const AppState& state);

    void reject() override { done(kMessageCancel); }

    // What the radio buttons and the drop-down show now.
    AttachChoice choice() const;

  private:
    QComboBox* nodes_;
    QRadioButton* ogreMesh_;
    QRadioButton* gmdl_;
    QRadioButton* gmdc_;
    QRadioButton* gmsh_;
};

// Runs the dialog modally: the choice after "OK", nothing after "Cancel".
std::optional<AttachChoice> runAttachMeshDialog(QWidget* owner, const AppState& state);

}  // namespace verada
