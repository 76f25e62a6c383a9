#include "ui/dialogs/about_dialog.h"

#include <cstdlib>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace verada {
namespace {

TEST(AboutDialog, ShowsVersionAndEndsWithItsCommandId) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "about_dialog_test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    AboutDialog about(nullptr);
    auto* version = about.findChild<QLabel*>("id1047");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text().toStdString(), "Verada V0.22");
    auto* ok = about.findChild<QPushButton*>("id1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "OK");
    EXPECT_TRUE(ok->isDefault());

    QTimer::singleShot(0, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
    EXPECT_EQ(about.exec(), 1);
    QTimer::singleShot(0, [&about] { QTest::keyClick(&about, Qt::Key_Escape); });
    EXPECT_EQ(about.exec(), 2);
}

}  // namespace
}  // namespace verada
