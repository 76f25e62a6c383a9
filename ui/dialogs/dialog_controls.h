#pragma once

#include <initializer_list>
#include <optional>
#include <string>

#include <QString>

#include "engine/app_state.h"
#include "engine/scene/name_list.h"

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

// Empties the drop-down and appends the names in their order, leaving no entry selected.
void fillWithNames(QComboBox& list, const NameList& names);

// Selects the entry that equals name exactly, else the first that begins with it regardless of
// case ("" selects the first entry). A prefix alone could pick "skin.png.old" for "skin.png"
// and have the next OK swap it in. False, with the selection kept, when no entry fits.
bool selectByName(QComboBox& list, const std::string& name);

// The number "%f" reads from the start of at most 255 characters of text, or nothing.
std::optional<float> scanNumber(const std::string& text);

// The value as "%f" writes it: six decimals.
QString sixDecimals(double value);

}  // namespace verada
