#include "ui/dialogs/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/application_identity.h"

namespace verada {

QIcon programIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(26, 26, 115));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 153, 102), 3));
    painter.drawLine(6, 8, 16, 26);
    painter.drawLine(16, 26, 26, 8);
    return QIcon(pixmap);
}

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle("About Verada");
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto* version = new QLabel(this);
    version->setObjectName("id1047");
    version->setText(kVersionText);
    auto* line = new QLabel("A viewer and converter for Spore and Sims 2 models.", this);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("id1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(line);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}

}  // namespace verada
