#include "ui/dialogs/hash_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace verada {
namespace {

// One offscreen application for the whole test program; no X server is needed.
class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = new QApplication(argc_, argv_);
    }
    void TearDown() override { delete application_; }

  private:
    int argc_ = 1;
    char name_[16] = "hash_dialog";
    char* argv_[2] = {name_, nullptr};
    QApplication* application_ = nullptr;
};

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtApplication);

template <typename T>
T* control(QWidget* dialog, const char* name) {
    T* widget = dialog->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(HashDialog, Controls) {
    HashDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Hash function");
    EXPECT_EQ(control<QLineEdit>(&dialog, "id1056")->maxLength(), 255);
    QPushButton* hash = control<QPushButton>(&dialog, "id1055");
    EXPECT_EQ(hash->text(), "Hash");
    EXPECT_TRUE(hash->isDefault());
    QPushButton* done = control<QPushButton>(&dialog, "id2");
    EXPECT_EQ(done->text(), "Done");
    EXPECT_FALSE(done->isDefault());
    EXPECT_EQ(control<QLabel>(&dialog, "id1057")->text(), " ");
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.contains("Text:"));
    EXPECT_TRUE(labels.contains("Hash Value:"));
}

TEST(HashDialog, HashButtonShowsTheHash) {
    struct Case {
        QString text;
        const char* shown;
    };
    const Case cases[] = {
        {"abc", " 0x439C2F4B "},     {"ABC", " 0x439C2F4B "},
        {"", " 0x811C9DC5 "},        {QString(QChar(0xE9)), " 0xFAF3A2F6 "},
        {"SimSkin", " 0x548394B9 "},
    };
    HashDialog dialog(nullptr);
    dialog.show();
    QLineEdit* text = control<QLineEdit>(&dialog, "id1056");
    QLabel* result = control<QLabel>(&dialog, "id1057");
    for (const Case& c : cases) {
        text->clear();
        text->insert(c.text);  // typed key events cannot carry characters beyond ASCII
        QTest::mouseClick(control<QPushButton>(&dialog, "id1055"), Qt::LeftButton);
        EXPECT_EQ(result->text().toStdString(), c.shown) << c.text.toStdString();
    }
}

TEST(HashDialog, InputStopsAt255Characters) {
    HashDialog dialog(nullptr);
    dialog.show();
    QLineEdit* text = control<QLineEdit>(&dialog, "id1056");
    QTest::keyClicks(text, QString(300, 'a'));
    EXPECT_EQ(text->text(), QString(255, 'a'));
}

// Drives the modal dialog of runHashDialog as a user would: type, press Enter, then leave.
TEST(HashDialog, EnterHashesAndDoneEndsTheModalDialog) {
    QString shown;
    bool stillOpenAfterEnter = false;
    QTimer::singleShot(0, [&]() {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QLineEdit* text = control<QLineEdit>(dialog, "id1056");
        QTest::keyClicks(text, "ABC");
        QTest::keyClick(text, Qt::Key_Return);
        shown = control<QLabel>(dialog, "id1057")->text();
        stillOpenAfterEnter = dialog->isVisible();
        QTest::mouseClick(control<QPushButton>(dialog, "id2"), Qt::LeftButton);
    });
    runHashDialog(nullptr);
    EXPECT_EQ(shown, " 0x439C2F4B ");
    EXPECT_TRUE(stillOpenAfterEnter);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(HashDialog, DoneAndEscapeEndWithIdTwo) {
    for (bool escape : {false, true}) {
        HashDialog dialog(nullptr);
        QTimer::singleShot(0, [&]() {
            if (escape) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else {
                QTest::mouseClick(control<QPushButton>(&dialog, "id2"), Qt::LeftButton);
            }
        });
        EXPECT_EQ(dialog.exec(), 2) << escape;
    }
}

}  // namespace
}  // namespace verada
