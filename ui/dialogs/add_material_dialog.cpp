#include "ui/dialogs/add_material_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/materials/material_edits.h"
#include "engine/materials/material_listing.h"
#include "ui/dialogs/dialog_controls.h"

namespace verada {

AddMaterialDialog::AddMaterialDialog(QWidget* owner, AppState& state)
    : QDialog(owner), state_(state) {
    setWindowTitle("Add Material");
    auto* group = new QGroupBox("Clone Settings", this);
    name_ = new QLineEdit(group);
    name_->setObjectName("id1042");
    cloneFrom_ = new QComboBox(group);
    cloneFrom_->setObjectName("id1043");
    NameList names;
    listMaterialNames(names);
    fillWithNames(*cloneFrom_, names);
    cloneFrom_->setCurrentIndex(names.size() > 0 ? 0 : -1);
    auto* form = new QFormLayout(group);
    form->addRow("Name", name_);
    form->addRow("Clone from:", cloneFrom_);

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);
    connect(ok, &QPushButton::clicked, this, [this] { addMaterial(); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({ok, cancel}));
}

void AddMaterialDialog::addMaterial() {
    std::string& name = state_.materialEditor.lastAddedMaterialName;
    name = name_->text().toStdString().substr(0, NameList::kMaxNameLength);
    Status cloned = cloneMaterial(name, chosenName(*cloneFrom_));
    if (!cloned) {
        state_.platform->messageBox(this, cloned.error(), "Add Material Failure",
                                    MessageButtons::Ok, MessageIcon::None);
        return;
    }
    done(kMessageOk);
}

int runAddMaterialDialog(QWidget* owner, AppState& state) {
    AddMaterialDialog dialog(owner, state);
    return dialog.exec();
}

}  // namespace verada
