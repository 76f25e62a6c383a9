#include "ui/dialogs/keys_and_mouse_dialog.h"

#include <vector>

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace verada {
namespace {

QString tableOf(const char* heading, const std::vector<Gesture>& rows) {
    QString html = QString("<h3>%1</h3><table cellspacing=\"0\" cellpadding=\"3\">").arg(heading);
    for (const Gesture& row : rows) {
        html += QString("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(QString(row.input).toHtmlEscaped(), QString(row.effect).toHtmlEscaped());
    }
    return html + "</table>";
}

}  // namespace

const std::vector<Gesture>& KeysAndMouseDialog::keys() {
    static const std::vector<Gesture> rows = {
        {"C", "reset the camera"},
        {"M", "count the loaded materials"},
        {"P / W / S", "draw points / wireframe / solid"},
        {"R", "put the selected node back at the origin"},
        {"Q", "quit"},
        {"Home", "frame the selected node, or every model when none is selected"},
        {"F12", "save a screenshot of the 3D view"},
    };
    return rows;
}

const std::vector<Gesture>& KeysAndMouseDialog::mouse() {
    static const std::vector<Gesture> rows = {
        {"left click", "select the model under the pointer; on empty floor, clear"},
        {"Alt + left drag", "orbit the camera"},
        {"Alt + middle drag, or Alt + left + right drag", "pan the camera"},
        {"Alt + right drag, Alt + wheel", "zoom"},
        {"Ctrl + left drag", "turn the selected node"},
        {"Ctrl + middle drag, or Ctrl + left + right drag", "move the selected node"},
        {"Ctrl + right drag", "roll the selected node"},
        {"Ctrl + wheel", "push the selected node back or forth"},
        {"middle button held while turning the wheel", "16 times larger steps"},
        {"dropping files on the window", "open them as new nodes"},
    };
    return rows;
}

KeysAndMouseDialog::KeysAndMouseDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Keys and Mouse");
    auto* text =
        new QLabel(tableOf("Keys (either case)", keys()) + tableOf("Mouse", mouse()), this);
    text->setTextFormat(Qt::RichText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

}  // namespace verada
