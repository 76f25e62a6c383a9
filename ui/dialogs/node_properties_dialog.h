#pragma once

#include <optional>

#include <QDialog>

#include "engine/app_state.h"
#include "engine/scene/scene_nodes.h"

class QLineEdit;

namespace verada {

// "Selected Scene Node Properties": the selected node's name (id 1053) and its scale in three
// fields (1052, 1004, 1005). The node is fixed when the dialog opens; OK and Apply set its
// scale, Apply also renders a frame.
class NodePropertiesDialog : public QDialog {
    Q_OBJECT

  public:
    NodePropertiesDialog(QWidget* owner, AppState& state);

    void reject() override { done(kMessageCancel); }

    // The scale record as last applied (as read while nothing was).
    const NodeScaleRecord& record() const { return record_; }

  private:
    void applyFields();

    AppState& state_;
    NodeScaleRecord record_;
    QLineEdit* scaleX_;
    QLineEdit* scaleY_;
    QLineEdit* scaleZ_;
};

// Runs the dialog modally: the scale record as applied after "OK", nothing after "Cancel".
std::optional<NodeScaleRecord> runNodePropertiesDialog(QWidget* owner, AppState& state);

// The value "%f" reads from the start of text (leading blanks allowed, trailing text ignored),
// or current when nothing parses.
float parseScaleField(const std::string& text, float current);

}  // namespace verada
