#include "ui/recent_files_menu.h"

#include <QAction>
#include <QFile>
#include <QMenu>

namespace verada {

RecentFilesMenu::RecentFilesMenu(QMenu* menu, int firstId, const std::function<void(int)>& run)
    : menu_(menu), firstId_(firstId) {
    menu->menuAction()->setObjectName("recentFiles");
    for (std::size_t i = 0; i < RecentFiles::kCapacity; ++i) {
        int id = firstId + static_cast<int>(i);
        QAction* entry = menu->addAction(QString());
        entry->setObjectName(QString("id%1").arg(id));
        entry->setData(id);
        QObject::connect(entry, &QAction::triggered, menu, [run, id] { run(id); });
    }
    show();
}

void RecentFilesMenu::setFiles(const RecentFiles& files) {
    files_ = files;
    show();
}

void RecentFilesMenu::add(const std::string& path) {
    files_.add(path);
    show();
}

void RecentFilesMenu::remove(const std::string& path) {
    files_.remove(path);
    show();
}

std::optional<std::string> RecentFilesMenu::fileFor(int commandId) const {
    if (commandId < firstId_) {
        return std::nullopt;
    }
    auto index = static_cast<std::size_t>(commandId - firstId_);
    if (index >= files_.paths().size()) {
        return std::nullopt;
    }
    return files_.paths()[index];
}

QAction* RecentFilesMenu::entry(std::size_t index) const {
    return menu_->actions().value(static_cast<int>(index));
}

void RecentFilesMenu::show() {
    const std::vector<std::string>& paths = files_.paths();
    for (std::size_t i = 0; i < RecentFiles::kCapacity; ++i) {
        QAction* item = entry(i);
        item->setVisible(i < paths.size());
        if (i < paths.size()) {
            QString path = QFile::decodeName(QByteArray::fromStdString(paths[i]));
            path.replace("&", "&&");
            item->setText(QString("&%1 %2").arg(i + 1).arg(path));
        }
    }
    menu_->setEnabled(!paths.empty());
}

}  // namespace verada
