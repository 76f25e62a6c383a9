#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QTimer>

#include "engine/app_state.h"
#include "formats/config/recent_files.h"
#include "formats/model/model_format.h"
#include "ui/input_decoding.h"

class QAction;
class QLabel;

namespace verada {

class RecentFilesMenu;
class RenderView;

// The main window: menu, 3D view and the switchboard for every command, key and mouse action.
// Every event that reaches it or its view first renders a frame, so the effect of an input
// shows with the event after it.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(AppState& state);
    ~MainWindow() override;

    RenderView* renderView() const { return view_; }
    QAction* action(int commandId) const;

    // Title with the memory load, then one rendered frame.
    bool renderFrame();
    void runCommand(int commandId);
    void carryOut(const DecodedInput& input);

    // The viewer's file arguments, dropped files and "Open Recent": each file opened as a new
    // node and remembered among the recent files; then the view is framed, unless a file
    // brought a view of its own.
    void openFiles(const std::vector<std::string>& paths);
    const RecentFiles& recentFiles() const;
    void setRecentFiles(const RecentFiles& files);
    QString statusText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void addToExistingNode();
    void addNewNodeFromMenu(ModelFormat format);
    void buildMenu();
    void openRecentFile(const std::string& path);
    void updateStatusBar();
    void followViewSize();
    void toggleDynamicRendering();
    void showCommandError(const std::string& text);

    AppState& state_;
    RenderView* view_;
    QTimer dynamicRenderingTimer_;
    std::map<int, QAction*> actions_;
    std::unique_ptr<RecentFilesMenu> recent_;
    QLabel* status_;
    bool inFrame_ = false;
};

}  // namespace verada
