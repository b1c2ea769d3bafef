#include "pml0010.h"

#include "forms.h"
#include "layout.h"
#include "pmcm000.h"

#include <QApplication>
#include <QCloseEvent>

using namespace PMCM000;

Pml0010::Pml0010(QWidget* parent)
    : QMainWindow(parent)
    , ActivatableForm(this) {
    setObjectName(QStringLiteral("Pml0010"));
    setWindowTitle(WindowTitle.isEmpty() ? ScreenTitle : WindowTitle);
    auto* client = new QWidget(this);
    client->setFixedSize(Layout::px(FormScaleWidth), Layout::px(FormScaleHeight));
    setCentralWidget(client);
}

void Pml0010::Form_Activate() {
    LevelChosen = false;
    if (DialogOpen) {
        DialogOpen = false;
        return;
    }
    setWindowTitle(WindowTitle.isEmpty() ? ScreenTitle : WindowTitle);
}

void Pml0010::closeEvent(QCloseEvent* event) {
    SaveSoundSettings();
    event->accept();
    Forms::unloadAll();
    QApplication::quit();
}
