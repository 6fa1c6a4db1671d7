// Shared by the trunk windows' tests: finding a named widget and doing what the user does with
// it.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vex::gui::test {

// The named child; a missing one ends the test run, as every later step would need it.
template <typename T>
T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

inline void Click(QWidget* window, const char* button) {
    QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
}

// Replaces the field's text key by key.
inline void Type(QWidget* window, const char* field, const QString& text) {
    QLineEdit* edit = Child<QLineEdit>(window, field);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

}  // namespace vex::gui::test
