#include "ui/main_window.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QUrl>
#include <QWheelEvent>

#include <OgreException.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>

#include "engine/materials/material_listing.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scene/scene_summary.h"
#include "engine/scene/view_control.h"
#include "engine/scene/view_framing.h"
#include "platform/application_identity.h"
#include "ui/commands/add_model_command.h"
#include "ui/commands/list_package_command.h"
#include "ui/commands/load_rts_command.h"
#include "ui/commands/material_script_command.h"
#include "ui/commands/ogre_mesh_command.h"
#include "ui/commands/open_files_command.h"
#include "ui/commands/pack_command.h"
#include "ui/commands/pmet_command.h"
#include "ui/commands/raster_command.h"
#include "ui/commands/save_rts_command.h"
#include "ui/commands/scene_export_command.h"
#include "ui/commands/screenshot_command.h"
#include "ui/commands/spawn_povray_command.h"
#include "ui/commands/unpack_command.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/assign_materials_dialog.h"
#include "ui/dialogs/attach_mesh_dialog.h"
#include "ui/dialogs/hash_dialog.h"
#include "ui/dialogs/keys_and_mouse_dialog.h"
#include "ui/dialogs/material_editor_dialog.h"
#include "ui/dialogs/node_properties_dialog.h"
#include "ui/dialogs/pick_mesh_dialog.h"
#include "ui/dialogs/toggle_visibility_dialog.h"
#include "ui/menu_table.h"
#include "ui/recent_files_menu.h"
#include "ui/render_view.h"
#include "ui/status_text.h"

namespace verada {

MainWindow::MainWindow(AppState& state)
    : state_(state), view_(new RenderView(this)), status_(new QLabel(this)) {
    setWindowTitle(kApplicationCaption);
    setWindowIcon(programIcon());
    resize(1024, 768);
    setCentralWidget(view_);
    statusBar()->addWidget(status_, 1);
    setAcceptDrops(true);
    buildMenu();
    updateStatusBar();

    view_->onPaint = [this] {
        if (state_.engineReady) {
            renderFrame();
        }
    };
    view_->onResize = [this] { followViewSize(); };
    view_->onMouseMove = [this](QMouseEvent* event) {
        Qt::MouseButtons held = event->buttons();
        MouseButtons buttons{held.testFlag(Qt::LeftButton), held.testFlag(Qt::RightButton),
                             held.testFlag(Qt::MiddleButton)};
        bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
        bool alt = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
        QPoint at = event->position().toPoint();
        carryOut(decodeMouseMove(state_, at.x() & 0xFFFF, at.y() & 0xFFFF, buttons, ctrl, alt));
    };
    view_->onMouseRelease = [this](QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
        bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
        bool alt = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
        if (releasePicks(shift, ctrl, alt)) {
            QPoint at = event->position().toPoint();
            pickNodeAt(state_, at.x() & 0xFFFF, at.y() & 0xFFFF);
            renderFrame();
            updateStatusBar();
        }
    };
    view_->onWheel = [this](QWheelEvent* event) {
        bool middle = event->buttons().testFlag(Qt::MiddleButton);
        bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
        bool alt = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
        // Qt turns Alt + wheel into a horizontal turn; either axis counts here.
        QPoint delta = event->angleDelta();
        carryOut(decodeWheel(delta.y() != 0 ? delta.y() : delta.x(), middle, ctrl, alt));
    };

    dynamicRenderingTimer_.setInterval(33);
    connect(&dynamicRenderingTimer_, &QTimer::timeout, this, [this] { renderFrame(); });
    installEventFilter(this);
    view_->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu() {
    for (const Menu& menu : mainMenu()) {
        QMenu* qmenu = menuBar()->addMenu(menu.title);
        for (const MenuItem& item : menu.items) {
            if (item.kind == ItemKind::RecentFiles) {
                recent_ = std::make_unique<RecentFilesMenu>(qmenu->addMenu(item.text), item.id,
                                                            [this](int id) { runCommand(id); });
                continue;
            }
            QAction* action = qmenu->addAction(item.text);
            action->setObjectName(QString("id%1").arg(item.id));
            action->setData(item.id);
            action->setCheckable(item.kind == ItemKind::Check);
            if (item.shortcut != nullptr) {
                action->setShortcut(QKeySequence(item.shortcut));
            }
            int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            actions_[item.id] = action;
        }
    }
    action(kCmdStatusBar)->setChecked(true);
}

void MainWindow::setRecentFiles(const RecentFiles& files) {
    recent_->setFiles(files);
}

const RecentFiles& MainWindow::recentFiles() const {
    return recent_->files();
}

void MainWindow::openFiles(const std::vector<std::string>& paths) {
    try {
        OpenedFiles opened = verada::openFiles(state_, paths);
        for (const std::string& path : opened.paths) {
            recent_->add(path);
        }
        if (!opened.paths.empty() && !opened.ownViewOpened) {
            frameView(state_);
        }
    } catch (const Ogre::Exception& error) {
        showCommandError("ERR: " + error.getDescription());
    }
    updateStatusBar();
}

void MainWindow::openRecentFile(const std::string& path) {
    openFiles({path});
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        recent_->remove(path);
    }
}

void MainWindow::addNewNodeFromMenu(ModelFormat format) {
    std::string path;
    if (addModelAsNewNode(state_, format, &path)) {
        recent_->add(path);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    if (paths.empty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over: a loader's message box must not hold up the program the
    // files came from.
    QMetaObject::invokeMethod(
        this, [this, paths] { openFiles(paths); }, Qt::QueuedConnection);
}

QString MainWindow::statusText() const {
    return status_->text();
}

void MainWindow::updateStatusBar() {
    status_->setText(QString::fromStdString(verada::statusText(summarizeScene(state_))));
}

QAction* MainWindow::action(int commandId) const {
    auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

bool MainWindow::renderFrame() {
    if (inFrame_ || !state_.engineReady || !state_.root) {
        return true;
    }
    inFrame_ = true;
    char title[256];
    std::snprintf(title, sizeof title, "%s : Global Memory Usage %02d%%", kApplicationCaption,
                  state_.platform->globalMemoryLoad());
    setWindowTitle(title);
    bool rendered = true;
    try {
        rendered = state_.root->renderOneFrame();
    } catch (const Ogre::Exception& error) {
        std::fprintf(stderr, "verada: %s\n", error.getDescription().c_str());
    }
    inFrame_ = false;
    return rendered;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == this || watched == view_) && state_.engineReady && !inFrame_) {
        return !renderFrame();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    QString text = event->text();
    if (text.size() != 1) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    carryOut(decodeCharacter(text.at(0).toLatin1()));
}

void MainWindow::followViewSize() {
    qreal ratio = view_->devicePixelRatioF();
    state_.clientRect = {0, 0, view_->width(), view_->height()};
    if (state_.renderWindow) {
        state_.renderWindow->resize(static_cast<unsigned>(view_->width() * ratio),
                                    static_cast<unsigned>(view_->height() * ratio));
    }
    handleWindowResize(state_);
}

void MainWindow::toggleDynamicRendering() {
    QAction* item = action(kCmdDynamicRendering);
    if (dynamicRenderingTimer_.isActive()) {
        dynamicRenderingTimer_.stop();
        item->setChecked(false);
    } else {
        dynamicRenderingTimer_.start();
        item->setChecked(true);
    }
}

void MainWindow::showCommandError(const std::string& text) {
    state_.platform->messageBox(this, text, kApplicationCaption, MessageButtons::Ok,
                                MessageIcon::None);
}

void MainWindow::carryOut(const DecodedInput& input) {
    try {
        switch (input.action) {
            case InputAction::None:
                break;
            case InputAction::ResetCamera:
                resetCamera(state_);
                break;
            case InputAction::CountMaterials: {
                NameList names;
                char text[64];
                std::snprintf(text, sizeof text, "Num Materials = %d", listMaterialNames(names));
                state_.platform->messageBox(this, text, "Materials Iterated", MessageButtons::Ok,
                                            MessageIcon::None);
                break;
            }
            case InputAction::PointsMode:
                setPolygonMode(state_, PolygonView::Points);
                break;
            case InputAction::Quit:
                QCoreApplication::exit(0);
                break;
            case InputAction::ResetNode:
                resetSelectedNode(state_);
                break;
            case InputAction::SolidMode:
                setPolygonMode(state_, PolygonView::Solid);
                break;
            case InputAction::WireframeMode:
                setPolygonMode(state_, PolygonView::Wireframe);
                break;
            case InputAction::OrbitCamera:
                orbitCamera(state_, input.a, input.b);
                break;
            case InputAction::PanCamera:
                panCamera(state_, input.a, input.b);
                break;
            case InputAction::ZoomCamera:
                zoomCamera(state_, input.a);
                break;
            case InputAction::TurnNode:
                turnSelectedNode(state_, input.a, input.b);
                break;
            case InputAction::MoveNode:
                moveSelectedNode(state_, input.a, input.b);
                break;
            case InputAction::RollNode:
                rollSelectedNode(state_, input.a);
                break;
            case InputAction::MoveNodeDepth:
                moveSelectedNodeDepth(state_, input.a);
                break;
        }
    } catch (const Ogre::Exception& error) {
        showCommandError("ERR: " + error.getDescription());
    }
}

void MainWindow::addToExistingNode() {
    std::optional<AttachChoice> choice = runAttachMeshDialog(this, state_);
    if (!choice || choice->targetNode.empty()) {
        return;
    }
    switch (choice->source) {
        case AttachSource::Gmdc:
            addModelToExistingNode(state_, ModelFormat::Gmdc, choice->targetNode);
            break;
        case AttachSource::Gmdl:
            addModelToExistingNode(state_, ModelFormat::Gmdl, choice->targetNode);
            break;
        case AttachSource::Gmsh:
            addModelToExistingNode(state_, ModelFormat::Gmsh, choice->targetNode);
            break;
        case AttachSource::OgreMesh:
            loadOgreMeshNode(state_, choice->targetNode);
            break;
    }
}

void MainWindow::runCommand(int commandId) {
    try {
        switch (commandId) {
            case kCmdSaveRts:
                saveRtsScene(state_);
                break;
            case kCmdLoadRts:
                loadRtsScene(state_);
                break;
            case kCmdSaveSceneExport:
                saveSceneExport(state_);
                break;
            case kCmdExit:
                detachRenderWindow(state_);
                close();
                break;
            case kCmdToggleVisibility:
                runToggleVisibilityDialog(this, state_);
                break;
            case kCmdSelectedProperties:
                runNodePropertiesDialog(this, state_);
                break;
            case kCmdRemoveAll:
                removeAllNodes(state_);
                break;
            case kCmdAddSims2:
                addNewNodeFromMenu(ModelFormat::Gmdc);
                break;
            case kCmdAddGmdl:
                addNewNodeFromMenu(ModelFormat::Gmdl);
                break;
            case kCmdAddGmsh:
                addNewNodeFromMenu(ModelFormat::Gmsh);
                break;
            case kCmdAddOgre:
                loadOgreMeshNode(state_, "");
                break;
            case kCmdAddToExisting:
                addToExistingNode();
                break;
            case kCmdSaveMesh:
                runPickMeshDialog(this, state_);
                break;
            case kCmdLoadMaterial:
                loadMaterialScript(state_);
                break;
            case kCmdEditMaterials:
                runMaterialEditorDialog(this, state_);
                break;
            case kCmdAssignMaterials:
                runAssignMaterialsDialog(this, state_);
                break;
            case kCmdDynamicRendering:
                toggleDynamicRendering();
                break;
            case kCmdConvertRaster:
                convertRasterCommand(*state_.platform, state_.directories, this);
                break;
            case kCmdUnpackArchive:
                unpackArchiveCommand(*state_.platform, state_.directories, this);
                break;
            case kCmdPackArchive:
                packArchiveCommand(*state_.platform, state_.directories, this);
                break;
            case kCmdViewPmet:
                viewPmetFile(*state_.platform, state_.directories, this);
                break;
            case kCmdHashFunction:
                runHashDialog(this);
                break;
            case kCmdSpawnPovRay:
                spawnPovRay(state_);
                break;
            case kCmdListPackage:
                listPackageCommand(*state_.platform, state_.directories, this);
                break;
            case kCmdAddPackageModels:
                addPackageModelsAsNewNodes(state_);
                break;
            case kCmdPackArchiveCompressed:
                packArchiveCommand(*state_.platform, state_.directories, this,
                                   ItemStorage::CompressedWhenSmaller);
                break;
            case kCmdAbout: {
                AboutDialog about(this);
                about.exec();
                break;
            }
            case kCmdFrame:
                frameView(state_);
                break;
            case kCmdSaveScreenshot:
                saveScreenshotCommand(state_);
                break;
            case kCmdStatusBar: {
                bool show = statusBar()->isHidden();
                statusBar()->setVisible(show);
                action(kCmdStatusBar)->setChecked(show);
                break;
            }
            case kCmdKeysAndMouse: {
                KeysAndMouseDialog help(this);
                help.exec();
                break;
            }
            default:
                if (std::optional<std::string> recent = recent_->fileFor(commandId)) {
                    openRecentFile(*recent);
                }
                break;
        }
    } catch (const Ogre::Exception& error) {
        showCommandError("ERR: " + error.getDescription());
    }
    updateStatusBar();
}

}  // namespace verada
