#include "screenwindow.h"

#include <QApplication>
#include <QCloseEvent>

ScreenWindow::ScreenWindow(QWidget* parent)
    : QMainWindow(parent)
    , ActivatableForm(this) {}

void ScreenWindow::leaveFor(Forms::Id form) {
    LeavingByCommand = true;
    if (!Forms::show(form)) {
        LeavingByCommand = false;
        return;
    }
    close();
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
    beforeClose();
    event->accept();
    if (LeavingByCommand)
        return;
    Forms::unloadAll();
    QApplication::quit();
}
