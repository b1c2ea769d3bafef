#pragma once

#include <QTest>
#include <QWidget>

// A double click with the left button as the window system delivers it: press and release,
// then a double-click event (the second press) and its release. The second half goes to
// `second` when the first click has put another control under the mouse.
inline void doubleClick(QWidget* first, QWidget* second = nullptr) {
    QTest::mouseClick(first, Qt::LeftButton);
    QWidget* target = second ? second : first;
    QTest::mouseDClick(target, Qt::LeftButton);
    QTest::mouseRelease(target, Qt::LeftButton);
}
