#include "ui/dialogs/toggle_visibility_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_controls.h"
#include "engine/scene/scene_nodes.h"

namespace verada {

ToggleVisibilityDialog::ToggleVisibilityDialog(QWidget* owner, AppState& state)
    : QDialog(owner), state_(state) {
    setWindowTitle("Toggle Scene Node Visibility");
    auto* group = new QGroupBox("Select From All Nodes", this);
    nodes_ = new QComboBox(group);
    nodes_->setObjectName("id1045");
    fillWithSceneNodes(*nodes_, state_);

    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel("Select Node:", group));
    row->addWidget(nodes_, 1);

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* apply = addDialogButton(this, "Apply", 1036, false);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);
    connect(ok, &QPushButton::clicked, this, [this] {
        toggleChosenNode();
        done(kMessageOk);
    });
    connect(apply, &QPushButton::clicked, this, [this] {
        toggleChosenNode();
        if (state_.renderFrame) {
            state_.renderFrame();
        }
    });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({ok, apply, cancel}));
}

void ToggleVisibilityDialog::toggleChosenNode() {
    toggleNodeVisibility(state_, chosenName(*nodes_));
}

int runToggleVisibilityDialog(QWidget* owner, AppState& state) {
    ToggleVisibilityDialog dialog(owner, state);
    return dialog.exec();
}

}  // namespace verada
