#include "ui/dialogs/assign_materials_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/materials/material_listing.h"
#include "engine/scene/node_objects.h"
#include "engine/scene/scene_nodes.h"
#include "ui/dialogs/dialog_controls.h"

namespace verada {
namespace {

// Fills the list and selects entry index, first cut to the last entry; false when the list
// stays empty.
bool fillAndSelect(QComboBox& list, const NameList& names, int& index) {
    fillWithNames(list, names);
    if (index >= names.size()) {
        index = names.size() > 0 ? names.size() - 1 : 0;
    }
    if (names.size() == 0) {
        return false;
    }
    list.setCurrentIndex(index);
    return true;
}

}  // namespace

AssignMaterialsDialog::AssignMaterialsDialog(QWidget* owner, AppState& state)
    : QDialog(owner), state_(state) {
    setWindowTitle("Assign Materials");
    auto* form = new QFormLayout;
    QComboBox** lists[] = {&nodes_, &meshes_, &groups_, &materials_};
    const char* labels[] = {
        "1. Pick Node:", "2. Pick Mesh:", "3. Pick Group:", "4. Pick Material:"};
    for (int k = 0; k < 4; ++k) {
        *lists[k] = new QComboBox(this);
        (*lists[k])->setObjectName(QString("id%1").arg(1046 + k));
        form->addRow(labels[k], *lists[k]);
    }

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* apply = addDialogButton(this, "Apply", 1036, false);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({ok, apply, cancel}));

    // activated: only the user's choice refills, not the selections the refill makes.
    connect(nodes_, &QComboBox::activated, this, [this](int index) {
        assignNodeIndex_ = index;
        refreshAssignLists();
    });
    connect(meshes_, &QComboBox::activated, this, [this](int index) {
        assignMeshIndex_ = index;
        refreshAssignLists();
    });
    connect(groups_, &QComboBox::activated, this, [this](int index) {
        assignGroupIndex_ = index;
        refreshAssignLists();
    });
    connect(apply, &QPushButton::clicked, this, [this] {
        applyAssignment();
        if (state_.renderFrame) {
            state_.renderFrame();
        }
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        applyAssignment();
        done(kMessageOk);
    });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    refreshAssignLists();
}

void AssignMaterialsDialog::refreshAssignLists() {
    for (QComboBox* list : {nodes_, meshes_, groups_, materials_}) {
        list->clear();
    }
    if (!fillAndSelect(*nodes_, listSceneNodes(state_), assignNodeIndex_)) {
        return;
    }
    std::string node = chosenName(*nodes_);
    if (node.empty() || !fillAndSelect(*meshes_, listNodeObjects(state_, node), assignMeshIndex_)) {
        return;
    }
    std::string entity = chosenName(*meshes_);
    if (entity.empty() ||
        !fillAndSelect(*groups_, listSubmeshLabels(state_, node, entity), assignGroupIndex_) ||
        chosenName(*groups_).empty()) {
        return;
    }
    NameList materials;
    listMaterialNames(materials);
    fillWithNames(*materials_, materials);
    std::string current = getSubmeshMaterial(state_, node, entity, assignGroupIndex_);
    if (!current.empty()) {
        selectByName(*materials_, current);
    }
}

void AssignMaterialsDialog::applyAssignment() {
    std::string node = chosenName(*nodes_);
    std::string entity = chosenName(*meshes_);
    std::string material = chosenName(*materials_);
    int group = groups_->currentIndex();
    if (node.empty() || entity.empty() || group < 0 || material.empty()) {
        return;
    }
    setSubmeshMaterial(state_, node, entity, group, material);
}

int runAssignMaterialsDialog(QWidget* owner, AppState& state) {
    AssignMaterialsDialog dialog(owner, state);
    return dialog.exec();
}

}  // namespace verada
