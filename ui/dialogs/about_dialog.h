#pragma once

#include <QDialog>

namespace verada {

// The About box: program icon, the version line (id 1047), one more line and "OK" (id 1).
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* owner);

    // Escape ends the box like its "Cancel" command.
    void reject() override { done(2); }
};

// The program's icon, drawn rather than shipped as an image file.
QIcon programIcon();

}  // namespace verada
