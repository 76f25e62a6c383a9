#include "ui/dialogs/hash_dialog.h"

#include <QByteArray>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "formats/hash/name_hash.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr int kMaxTextLength = 255;

QString controlName(int id) {
    return QStringLiteral("id%1").arg(id);
}

}  // namespace

HashDialog::HashDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Hash function"));

    text_ = new QLineEdit(this);
    text_->setObjectName(controlName(kTextId));
    text_->setMaxLength(kMaxTextLength);
    result_ = new QLabel(QStringLiteral(" "), this);
    result_->setObjectName(controlName(kResultId));
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* hashButton = new QPushButton(QStringLiteral("Hash"), this);
    hashButton->setObjectName(controlName(kHashId));
    hashButton->setDefault(true);
    auto* doneButton = new QPushButton(QStringLiteral("Done"), this);
    doneButton->setObjectName(controlName(kDoneId));
    doneButton->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Text:"), this), 0, 0);
    fields->addWidget(text_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Hash Value:"), this), 1, 0);
    fields->addWidget(result_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(hashButton);
    buttons->addWidget(doneButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(hashButton, &QPushButton::clicked, this, &HashDialog::showHash);
    connect(doneButton, &QPushButton::clicked, this, [this]() { done(kDoneId); });
}

// Escape ends the dialog like "Done".
void HashDialog::reject() {
    done(kDoneId);
}

void HashDialog::showHash() {
    // The game's names are 8-bit text; Latin-1 keeps one byte per character as typed.
    QByteArray bytes = text_->text().left(kMaxTextLength).toLatin1();
    std::uint32_t hash = nameHash(std::string_view(bytes.constData(), bytes.size()));
    result_->setText(QString::fromStdString(printfText(" 0x%08X ", hash)));
}

void runHashDialog(QWidget* owner) {
    HashDialog dialog(owner);
    dialog.exec();
}

}  // namespace verada
