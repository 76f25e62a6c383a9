#pragma once

#include <clocale>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "engine/app_state.h"
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

    template <typename Widget>
    static Widget& control(QWidget& dialog, int id) {
        auto* found = dialog.findChild<Widget*>(QString("id%1").arg(id));
        if (found == nullptr) {
            ADD_FAILURE() << "no control " << id;
            std::abort();
        }
        return *found;
    }
    static void click(QWidget& dialog, int id) {
        QTest::mouseClick(&control<QAbstractButton>(dialog, id), Qt::LeftButton);
    }
    static QComboBox& list(QWidget& dialog, int id) { return control<QComboBox>(dialog, id); }
    static QString text(QWidget& dialog, int id) { return control<QLineEdit>(dialog, id).text(); }
    static void type(QWidget& dialog, int id, const QString& text) {
        control<QLineEdit>(dialog, id).setText(text);
    }
    // A choice the user makes in a drop-down list.
    static void choose(QComboBox& list, int index) {
        list.setCurrentIndex(index);
        emit list.activated(index);
    }
    static std::vector<std::string> entries(const QComboBox& list) {
        std::vector<std::string> names;
        for (int i = 0; i < list.count(); ++i) {
            names.push_back(list.itemText(i).toStdString());
        }
        return names;
    }

    // Runs script on the next dialog that opens modally, once it is up; a dialog the script
    // leaves open is cancelled, so that a failed step fails the test instead of hanging it.
    static void onNextModal(const std::function<void(QDialog&)>& script) {
        QTimer::singleShot(0, [script] {
            QPointer<QDialog> shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_FALSE(shown.isNull());
            script(*shown);
            if (!shown.isNull() && shown->isVisible()) {
                shown->reject();
            }
        });
    }

    static inline QApplication* application_ = nullptr;
    HeadlessOgre ogre;
    FakePlatform platform;
    AppState state;
    int framesRendered = 0;
};

}  // namespace verada::test
