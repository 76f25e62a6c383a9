#include "ui/dialogs/dialog_controls.h"

#include <cstdio>

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
    NameList names = listSceneNodes(state);
    fillWithNames(nodes, names);
    nodes.setCurrentIndex(names.size() > 0 ? 0 : -1);
}

std::string chosenName(const QComboBox& nodes) {
    if (nodes.currentIndex() < 0) {
        return {};
    }
    return nodes.currentText().toStdString().substr(0, 255);
}

void fillWithNames(QComboBox& list, const NameList& names) {
    list.clear();
    for (int n = 0; n < names.size(); ++n) {
        list.addItem(QString::fromStdString(names[n]));
    }
    // Qt selects the first entry added to an empty list.
    list.setCurrentIndex(-1);
}

bool selectByName(QComboBox& list, const std::string& name) {
    QString wanted = QString::fromStdString(name);
    int index = list.findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        index = list.findText(wanted, Qt::MatchStartsWith);
    }
    if (index < 0) {
        return false;
    }
    list.setCurrentIndex(index);
    return true;
}

std::optional<float> scanNumber(const std::string& text) {
    float value = 0.0f;
    if (std::sscanf(text.substr(0, 255).c_str(), "%f", &value) != 1) {
        return std::nullopt;
    }
    return value;
}

QString sixDecimals(double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

}  // namespace verada
