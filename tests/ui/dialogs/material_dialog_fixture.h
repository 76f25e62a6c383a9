#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <gtest/gtest.h>
#include <QApplication>

#include "engine/app_state.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"
#include "ui/application.h"

namespace verada::test {

// The material dialogs over the headless engine, shown on Qt's offscreen platform and driven
// like a user would. The application is made as the viewer makes it, under a locale that writes
// numbers with a decimal comma when one can be built here, so that every "%f" the dialogs show
// or read is also a check that numbers stay in the C form.
class MaterialDialogTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static TempDir locales;
        std::string build = "localedef -i de_DE -f UTF-8 '" + (locales / "de_DE.UTF-8").string() +
                            "' >/dev/null 2>&1";
        if (std::system(build.c_str()) >= 0 && std::filesystem::exists(locales / "de_DE.UTF-8")) {
            setenv("LOCPATH", locales.path().c_str(), 1);
            setenv("LC_ALL", "de_DE.UTF-8", 1);
        }
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "material_dialog_test";
        static char* argv[] = {name, nullptr};
        application_ = makeApplication(argc, argv).release();
    }
    // Qt must be gone before the program's static objects are.
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }

    void SetUp() override {
        state.platform = &platform;
        state.directories = sessionDirectoriesHere();
        state.sceneManager = ogre.freshSceneManager();
        state.renderFrame = [this] {
            ++framesRendered;
            return true;
        };
    }
    void TearDown() override {
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
    }

    static inline QApplication* application_ = nullptr;
    HeadlessOgre ogre;
    FakePlatform platform;
    AppState state;
    int framesRendered = 0;
};

}  // namespace verada::test
