#pragma once

#include <functional>
#include <optional>
#include <string>

#include "formats/config/recent_files.h"

class QAction;
class QMenu;

namespace verada {

// File > "Open Recent": one entry per recent file, newest first, with the command ids
// firstId, firstId + 1, ...; the submenu is disabled while the list is empty.
class RecentFilesMenu {
  public:
    // Each entry runs its command id through run.
    RecentFilesMenu(QMenu* menu, int firstId, const std::function<void(int)>& run);

    const RecentFiles& files() const { return files_; }
    void setFiles(const RecentFiles& files);
    void add(const std::string& path);
    void remove(const std::string& path);

    // The file of an entry's command id; nothing for other ids and empty entries.
    std::optional<std::string> fileFor(int commandId) const;
    QAction* entry(std::size_t index) const;

  private:
    void show();

    QMenu* menu_;
    int firstId_;
    RecentFiles files_;
};

}  // namespace verada
