#include "ui/dialogs/pick_mesh_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/export/ogre_mesh_export.h"
#include "ui/commands/save_mesh_command.h"
#include "ui/dialogs/dialog_controls.h"

namespace verada {

PickMeshDialog::PickMeshDialog(QWidget* owner, AppState& state) : QDialog(owner), state_(state) {
    setWindowTitle("Pick Mesh To Save");
    auto* group = new QGroupBox("Existing Meshes", this);
    entities_ = new QComboBox(group);
    entities_->setObjectName("id1050");
    NameList names = listEntityNames(state_);
    fillWithNames(*entities_, names);
    entities_->setCurrentIndex(names.size() > 0 ? 0 : -1);

    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel("Select Mesh:", group));
    row->addWidget(entities_, 1);

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);
    connect(ok, &QPushButton::clicked, this, [this] {
        saveMeshAsOgreMesh(state_, this, chosenName(*entities_));
        done(kMessageOk);
    });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({ok, cancel}));
}

int runPickMeshDialog(QWidget* owner, AppState& state) {
    PickMeshDialog dialog(owner, state);
    return dialog.exec();
}

}  // namespace verada
