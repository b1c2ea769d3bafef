// The main menu's commands: the menu bar, the two ways into practice and slide show, closing.
#include "deckcopy.h"
#include "forms.h"
#include "olderdeck.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "pmcm000.h"
#include "pml0010.h"

#include <QApplication>
#include <QCloseEvent>
#include <cstdio>

using namespace PMCM000;

void Pml0010::Ver_open_Click() {
    const QString start = DataFolder.isEmpty() ? DocumentsFolder : DataFolder;
    const QString path = platform().prompter->openFile(QStringLiteral("単語データ|*.pml"), start);
    if (path.isEmpty() || RefuseUnstorableDataFilePath(path))
        return;
    const QString usable = OlderDeck::offerConversion(path);
    if (usable.isEmpty())
        return;
    SaveDataFilePath(DeckCopy::offerWritableCopy(usable));
    Form_Activate();
}

void Pml0010::Ver_pro_Click() {
    Forms::show(Forms::Id::DataFileDialog);
}

void Pml0010::Ver_col_Click() {
    Forms::show(Forms::Id::ColourDialog);
}

void Pml0010::Ver_se_Click() {
    Forms::show(Forms::Id::SoundDialog);
}

void Pml0010::Ver_version_Click() {
    Forms::show(Forms::Id::About);
}

void Pml0010::Ver_help_Click() {
    // A missing manual or viewer is not reported.
    platform().shell->openDocument(AppFolder + QStringLiteral("pimlotan説明書.pdf"));
}

void Pml0010::Ver_end_Click() {
    close();
    Forms::unloadAll();
}

void Pml0010::Bt_rensyu_Click() {
    if (Forms::show(Forms::Id::Practice))
        hide();
}

void Pml0010::Bt_sraid_Click() {
    if (Forms::show(Forms::Id::SlideShow))
        hide();
}

void Pml0010::closeEvent(QCloseEvent* event) {
    // Keeps the voice volume set with the sliders and gives the wave volume back.
    if (!SaveSoundSettings())
        std::fprintf(stderr, "pimlotan: could not write %s\n",
                     qPrintable(SettingsFolder + SoundSettings));
    event->accept();
    Forms::unloadAll();
    QApplication::quit();
}
