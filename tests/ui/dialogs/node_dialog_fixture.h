#pragma once

#include <cstdlib>
#include <functional>
#include <memory>

#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/app_state.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"

namespace verada::test {

// A node dialog over a headless scene, driven through QTest once it runs modally.
class NodeDialogTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "node_dialog_test";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    // Qt must be gone before the program's static objects are.
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }

    void SetUp() override {
        state.platform = &platform;
        state.sceneManager = ogre.freshSceneManager();
        state.renderFrame = [this] {
            ++framesRendered;
            return true;
        };
    }

    Ogre::SceneNode* addNode(const std::string& name) {
        return state.sceneManager->getRootSceneNode()->createChildSceneNode(name);
    }

    // Runs the dialog and returns what it returns; script drives it once it is on screen. A
    // dialog the script left open ends with -1, so that a failed step fails the test instead of
    // hanging it.
    template <typename RunDialog>
    auto run(RunDialog dialog, const std::function<void(QDialog&)>& script) {
        QTimer::singleShot(0, [script] {
            QPointer<QDialog> shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_FALSE(shown.isNull());
            script(*shown);
            if (!shown.isNull() && shown->isVisible()) {
                shown->done(-1);
            }
        });
        return dialog(nullptr, state);
    }

    static void click(QDialog& dialog, const char* id) {
        auto* button = dialog.findChild<QPushButton*>(id);
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QComboBox& combo(QDialog& dialog) {
        auto* nodes = dialog.findChild<QComboBox*>("id1045");
        EXPECT_NE(nodes, nullptr);
        return *nodes;
    }

    static inline QApplication* application_ = nullptr;
    HeadlessOgre ogre;
    FakePlatform platform;
    AppState state;
    int framesRendered = 0;
};

}  // namespace verada::test
