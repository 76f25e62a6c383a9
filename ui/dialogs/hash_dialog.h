#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace verada {

// The "Hash function" calculator: type a name, press "Hash", read its name hash.
class HashDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTextId = 1056;
    static constexpr int kHashId = 1055;
    static constexpr int kDoneId = 2;
    static constexpr int kResultId = 1057;

    explicit HashDialog(QWidget* owner);

    void reject() override;

  private:
    void showHash();

    QLineEdit* text_;
    QLabel* result_;
};

// Runs the dialog modally over the owner.
void runHashDialog(QWidget* owner);

}  // namespace verada
