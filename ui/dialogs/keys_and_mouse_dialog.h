#pragma once

#include <vector>

#include <QDialog>

namespace verada {

struct Gesture {
    const char* input;
    const char* effect;
};

// Help > "Keys and Mouse": the keys and the mouse gestures of the 3D view, as the README's
// tables list them.
class KeysAndMouseDialog : public QDialog {
    Q_OBJECT

  public:
    explicit KeysAndMouseDialog(QWidget* owner);

    static const std::vector<Gesture>& keys();
    static const std::vector<Gesture>& mouse();
};

}  // namespace verada
