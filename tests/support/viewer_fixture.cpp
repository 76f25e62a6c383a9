#include "tests/support/viewer_fixture.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <OgreCamera.h>
#include <OgreImage.h>
#include <OgrePixelFormat.h>
#include <OgreRenderWindow.h>
#include <QTimer>

#include "ui/application.h"

namespace verada::test {

void ViewerFixture::SetUp() {
    for (const char* name : {"plugins.cfg", "resources.cfg"}) {
        std::filesystem::copy_file(std::filesystem::path(std::getenv("VERADA_BUILD_DIR")) / name,
                                   dir_ / name);
    }
    std::filesystem::current_path(dir_.path());
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    static int argc = 1;
    static char name[] = "viewer_test";
    static char* argv[] = {name, nullptr};
    application_ = makeApplication(argc, argv);
}

void ViewerFixture::TearDown() {
    if (session_ && !shutDown_) {
        session_->shutdown();
    }
}

void ViewerFixture::startSession(const std::string& config) {
    if (!config.empty()) {
        writeFile(dir_ / "Verada.cfg", config);
    }
    session_ = std::make_unique<ViewerSession>(platform_);
    Status started = session_->start();
    ASSERT_TRUE(started) << started.error();
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
    }
}

int ViewerFixture::runUntilQuit(const std::function<void()>& quit) {
    QTimer::singleShot(50, quit);
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
    int code = application_->exec();
    session_->shutdown();
    shutDown_ = true;
    return code;
}

std::pair<int, int> ViewerFixture::project(const Ogre::Vector3& world) {
    Ogre::Camera& camera = *state().camera;
    Ogre::Vector3 screen = camera.getProjectionMatrix() * (camera.getViewMatrix() * world);
    return {static_cast<int>((screen.x + 1) / 2 * state().clientRect.right),
            static_cast<int>((1 - screen.y) / 2 * state().clientRect.bottom)};
}

Ogre::ColourValue ViewerFixture::pixelAt(std::pair<int, int> client) {
    // The window is read from its back buffer, which holds the frame before the last one.
    state().renderFrame();
    state().renderFrame();
    Ogre::RenderWindow& window = *state().renderWindow;
    Ogre::Image image(Ogre::PF_BYTE_RGBA, window.getWidth(), window.getHeight());
    Ogre::PixelBox box = image.getPixelBox();
    window.copyContentsToMemory(box, box);
    double scale = static_cast<double>(window.getWidth()) / state().clientRect.right;
    return image.getColourAt(static_cast<size_t>(client.first * scale),
                             static_cast<size_t>(client.second * scale), 0);
}

float ViewerFixture::distance(const Ogre::ColourValue& a, const Ogre::ColourValue& b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

}  // namespace verada::test
