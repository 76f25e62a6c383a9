#include "ui/dialogs/attach_mesh_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"

namespace verada {
namespace {

QRadioButton* sourceButton(QWidget* parent, const char* text, const char* objectName) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

}  // namespace

AttachMeshDialog::AttachMeshDialog(QWidget* owner, const AppState& state) : QDialog(owner) {
    setWindowTitle("Add Mesh To Existing Scene Node");

    auto* group = new QGroupBox("Existing Scene Nodes", this);
    nodes_ = new QComboBox(group);
    nodes_->setObjectName("id1045");
    fillWithSceneNodes(*nodes_, state);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Select Node:", group));
    row->addWidget(nodes_, 1);

    ogreMesh_ = sourceButton(group, "Load from Ogre .mesh", "id1007");
    gmdl_ = sourceButton(group, "Load from Spore .gmdl", "id1008");
    gmdc_ = sourceButton(group, "Load from Sims 2 .gmdc", "id1009");
    gmsh_ = sourceButton(group, "Load from Spore .gmsh", "id1010");
    ogreMesh_->setChecked(true);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(row);
    for (QRadioButton* button : {ogreMesh_, gmdl_, gmdc_, gmsh_}) {
        groupLayout->addWidget(button);
    }

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);
    connect(ok, &QPushButton::clicked, this, [this] { done(kMessageOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({ok, cancel}));
}

AttachChoice AttachMeshDialog::choice() const {
    AttachChoice chosen;
    if (gmdc_->isChecked()) {
        chosen.source = AttachSource::Gmdc;
    }
    if (gmdl_->isChecked()) {
        chosen.source = AttachSource::Gmdl;
    }
    if (gmsh_->isChecked()) {
        chosen.source = AttachSource::Gmsh;
    }
    chosen.targetNode = chosenName(*nodes_);
    return chosen;
}

std::optional<AttachChoice> runAttachMeshDialog(QWidget* owner, const AppState& state) {
    AttachMeshDialog dialog(owner, state);
    if (dialog.exec() != kMessageOk) {
        return std::nullopt;
    }
    return dialog.choice();
}

}  // namespace verada
