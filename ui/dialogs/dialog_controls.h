#pragma once

#include <initializer_list>
#include <string>

#include "engine/app_state.h"

class QComboBox;
class QDialog;
class QHBoxLayout;
class QPushButton;

namespace verada {

// A push button carrying its command id as object name ("id1036"); only the dialog's
// default button answers Enter.
QPushButton* addDialogButton(QDialog* dialog, const char* text, int id, bool isDefault);

// The buttons side by side, right-aligned.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// Empties the drop-down, lists the root children into it and selects the first.
void fillWithSceneNodes(QComboBox& nodes, const AppState& state);

// The selected entry's text, cut to 255 characters; empty when nothing is selected.
std::string chosenName(const QComboBox& nodes);

}  // namespace verada
