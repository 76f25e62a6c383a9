#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace verada::test {

// Drives a dialog as a user would, finding its controls by their ids ("id1036").

template <typename Widget>
Widget& control(QWidget& dialog, int id) {
    auto* found = dialog.findChild<Widget*>(QString("id%1").arg(id));
    if (found == nullptr) {
        ADD_FAILURE() << "no control " << id;
        std::abort();
    }
    return *found;
}

inline void click(QWidget& dialog, int id) {
    QTest::mouseClick(&control<QAbstractButton>(dialog, id), Qt::LeftButton);
}

inline QComboBox& list(QWidget& dialog, int id) {
    return control<QComboBox>(dialog, id);
}

inline QString text(QWidget& dialog, int id) {
    return control<QLineEdit>(dialog, id).text();
}

inline void type(QWidget& dialog, int id, const QString& text) {
    control<QLineEdit>(dialog, id).setText(text);
}

// A choice the user makes in a drop-down list.
inline void choose(QComboBox& list, int index) {
    list.setCurrentIndex(index);
    emit list.activated(index);
}

inline void choose(QComboBox& list, const QString& entry) {
    int index = list.findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    EXPECT_GE(index, 0) << entry.toStdString();
    choose(list, index);
}

inline std::vector<std::string> entries(const QComboBox& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.count(); ++i) {
        names.push_back(list.itemText(i).toStdString());
    }
    return names;
}

// Runs script on the next dialog that opens modally, once it is up; a dialog the script leaves
// open is cancelled, so that a failed step fails the test instead of hanging it.
inline void onNextModal(const std::function<void(QDialog&)>& script) {
    QTimer::singleShot(0, [script] {
        QPointer<QDialog> shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_FALSE(shown.isNull());
        script(*shown);
        if (!shown.isNull() && shown->isVisible()) {
            shown->reject();
        }
    });
}

}  // namespace verada::test
