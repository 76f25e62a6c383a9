#include "ui/viewer.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "platform/qt/display_probe.h"
#include "platform/qt/qt_platform.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/viewer_session.h"

namespace verada {

int runViewer(int argc, char** argv, const std::vector<std::string>& files) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    if (std::string(std::getenv("QT_QPA_PLATFORM")) == "xcb" && !displayReachable()) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "verada: cannot open the X display \"%s\"; the viewer needs one\n",
                     name ? name : "");
        return 1;
    }
    std::unique_ptr<QApplication> application = makeApplication(argc, argv);
    QtPlatform platform;
    ViewerSession session(platform);
    if (Status started = session.start(); !started) {
        std::fprintf(stderr, "verada: cannot start the 3D engine: %s\n", started.error().c_str());
        return 1;
    }
    session.window().openFiles(files);
    int exitCode = application->exec();
    session.shutdown();
    return exitCode;
}

}  // namespace verada
