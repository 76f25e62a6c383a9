#pragma once

#include <map>

#include <QMainWindow>
#include <QTimer>

#include "ui/input_decoding.h"
#include "engine/app_state.h"

class QAction;

namespace verada {

class RenderView;

// The main window: menu, 3D view and the switchboard for every command, key and mouse action.
// Every event that reaches it or its view first renders a frame, so the effect of an input
// shows with the event after it.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(AppState& state);

    RenderView* renderView() const { return view_; }
    QAction* action(int commandId) const;

    // Title with the memory load, then one rendered frame.
    bool renderFrame();
    void runCommand(int commandId);
    void carryOut(const DecodedInput& input);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void addToExistingNode();
    void buildMenu();
    void followViewSize();
    void toggleDynamicRendering();
    void showCommandError(const std::string& text);

    AppState& state_;
    RenderView* view_;
    QTimer dynamicRenderingTimer_;
    std::map<int, QAction*> actions_;
    bool inFrame_ = false;
};

}  // namespace verada
