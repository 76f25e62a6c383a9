#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <OgreColourValue.h>
#include <OgreVector.h>
#include <gtest/gtest.h>
#include <QApplication>

#include "tests/support/fake_platform.h"
#include "tests/support/test_paths.h"
#include "ui/viewer_session.h"

namespace verada::test {

// The real main window and engine on the X display, in a folder of its own with the build's
// engine lists, so that Verada.cfg and Ogre.log land there. The engine is a process-wide
// singleton: one session per test program.
class ViewerFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the configuration file (unless empty), then starts the viewer.
    void startSession(const std::string& config = "");
    // Runs the event loop, does what the test asks from inside it, then shuts down.
    int runUntilQuit(const std::function<void()>& quit);

    AppState& state() { return session_->state(); }
    // Client pixel where a world point shows.
    std::pair<int, int> project(const Ogre::Vector3& world);
    // The colour at a client pixel in a freshly rendered frame.
    Ogre::ColourValue pixelAt(std::pair<int, int> client);
    static float distance(const Ogre::ColourValue& a, const Ogre::ColourValue& b);

    TempDir dir_;
    FakePlatform platform_;
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<ViewerSession> session_;
    bool shutDown_ = false;
};

}  // namespace verada::test
