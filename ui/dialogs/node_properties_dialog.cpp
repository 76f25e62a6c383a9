#include "ui/dialogs/node_properties_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/scene/scene_nodes.h"
#include "ui/dialogs/dialog_controls.h"

namespace verada {
namespace {

QLineEdit* scaleField(QWidget* parent, const char* objectName, float value) {
    auto* field = new QLineEdit(sixDecimals(value), parent);
    field->setObjectName(objectName);
    return field;
}

}  // namespace

float parseScaleField(const std::string& text, float current) {
    return scanNumber(text).value_or(current);
}

NodePropertiesDialog::NodePropertiesDialog(QWidget* owner, AppState& state)
    : QDialog(owner), state_(state), record_(readSelectedNodeScale(state)) {
    setWindowTitle("Selected Scene Node Properties");
    const NodeScaleRecord& record = record_;

    auto* nodeLabel = new QLabel("Node:", this);
    nodeLabel->setObjectName("id1053");
    nodeLabel->setText(record.nodeName.empty()
                           ? QString("No SceneNode Selected")
                           : "Node: " + QString::fromStdString(record.nodeName));

    auto* group = new QGroupBox("Scale", this);
    scaleX_ = scaleField(group, "id1052", record.x);
    scaleY_ = scaleField(group, "id1004", record.y);
    scaleZ_ = scaleField(group, "id1005", record.z);
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel("X Y Z: ", group));
    row->addWidget(scaleX_);
    row->addWidget(scaleY_);
    row->addWidget(scaleZ_);

    QPushButton* ok = addDialogButton(this, "OK", kMessageOk, true);
    QPushButton* apply = addDialogButton(this, "Apply", 1036, false);
    QPushButton* cancel = addDialogButton(this, "Cancel", kMessageCancel, false);
    connect(ok, &QPushButton::clicked, this, [this] {
        applyFields();
        done(kMessageOk);
    });
    connect(apply, &QPushButton::clicked, this, [this] {
        applyFields();
        if (state_.renderFrame) {
            state_.renderFrame();
        }
    });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kMessageCancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nodeLabel);
    layout->addWidget(group);
    layout->addLayout(buttonRow({ok, apply, cancel}));
}

void NodePropertiesDialog::applyFields() {
    record_.x = parseScaleField(scaleX_->text().toStdString(), record_.x);
    record_.y = parseScaleField(scaleY_->text().toStdString(), record_.y);
    record_.z = parseScaleField(scaleZ_->text().toStdString(), record_.z);
    applyNodeScale(state_, record_);
}

std::optional<NodeScaleRecord> runNodePropertiesDialog(QWidget* owner, AppState& state) {
    NodePropertiesDialog dialog(owner, state);
    if (dialog.exec() != kMessageOk) {
        return std::nullopt;
    }
    return dialog.record();
}

}  // namespace verada
