#pragma once

#include <QTest>
#include <QWidget>

// Clicks a control the way a user can: only when it is on screen and enabled. Offscreen, a
// click on a hidden button still emits clicked(), so a test that clicks directly can pass on
// a screen that no user could operate. False when no click could be made.
inline bool clickAsUser(QWidget* control) {
    if (!control || !control->isVisible() || !control->isEnabled())
        return false;
    QTest::mouseClick(control, Qt::LeftButton);
    return true;
}
