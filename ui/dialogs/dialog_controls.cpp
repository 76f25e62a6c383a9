#include "ui/dialogs/dialog_controls.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "engine/scene/scene_nodes.h"

namespace verada {

QPushButton* addDialogButton(QDialog* dialog, const char* text, int id, bool isDefault) {
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(QString("id%1").arg(id));
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    return button;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

void fillWithSceneNodes(QComboBox& nodes, const AppState& state) {
    nodes.clear();
    NameList names = listSceneNodes(state);
    for (int n = 0; n < names.size(); ++n) {
        nodes.addItem(QString::fromStdString(names[n]));
    }
    nodes.setCurrentIndex(names.size() > 0 ? 0 : -1);
}

std::string chosenName(const QComboBox& nodes) {
    if (nodes.currentIndex() < 0) {
        return {};
    }
    return nodes.currentText().toStdString().substr(0, 255);
}

}  // namespace verada
