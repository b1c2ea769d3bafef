#pragma once

#include "userclick.h"

#include <QFile>
#include <QTest>
#include <QWidget>

// Helpers shared by the dialog tests.
namespace DialogTest {

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Clicks a control the way a user can: only when it is on screen.
template <typename Widget> void click(QWidget* form, const QString& name) {
    auto* control = form->findChild<Widget*>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY2(clickAsUser(control), qPrintable(name));
}

} // namespace DialogTest
