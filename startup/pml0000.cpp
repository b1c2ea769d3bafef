#include "pml0000.h"

#include "deckchoice.h"
#include "deckcopy.h"
#include "forms.h"
#include "layout.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "pmcm000.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

using namespace PMCM000;

PML0000::PML0000(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , Image1(new QLabel(this))
    , Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("PML0000"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setAccessibleName(AppTitle);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &PML0000::Timer1_Timer);
    Timer1->start();
}

bool PML0000::Form_Load() {
    ready_ = false;
    ResolveDocumentsFolder();
    ResolveAppFolder();
    if (!PrepareSettingsFolder()) {
        platform().prompter->message(
            QStringLiteral("Morvini.ini がみつかりません。プログラムを いれなおしてください。"),
            AppTitle);
        return false;
    }
    ComputeScreenScale();
    LoadDataFilePath();
    LoadColourSettings();
    LoadSoundSettings();
    LoadEffectSoundChoices();

    DialogOpen = false;
    PracticeMode = true;

    const QSize size(Layout::px(FormWidth), Layout::px(FormHeight));
    setFixedSize(size);
    Image1->setGeometry(QRect(QPoint(0, 0), size));
    // Without the splash picture start-up goes on with an empty form.
    Image1->setPixmap(QPixmap(AppFolder + QStringLiteral("pimlotan.bmp")));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();

    if (!commandLineDeck_.isEmpty())
        DeckChoice::use(commandLineDeck_);
    else if (DataFilePath.isEmpty() && !firstDeck_.isEmpty() && QFileInfo(firstDeck_).isFile())
        DeckChoice::use(writableCopyOf(firstDeck_));

    if (DataFilePath.isEmpty())
        askForDataFile();
    ready_ = true;
    if (!DataFilePath.isEmpty())
        ComputeScreenScale();
    return true;
}

// Without a choice the main menu copes without a data file.
void PML0000::askForDataFile() {
    platform().prompter->message(QStringLiteral("単語データを選択してください。"), AppTitle);
    DeckChoice::ask(DocumentsFolder);
}

QString PML0000::writableCopyOf(const QString& deck) {
    // The installed sample deck is read-only: the child works on a copy, made without asking.
    if (DeckCopy::isWritable(deck))
        return deck;
    const QString copy = DeckCopy::copyInto(deck, SettingsFolder + QStringLiteral("sample/"));
    return copy.isEmpty() ? deck : copy;
}

void PML0000::Timer1_Timer() {
    if (!ready_)
        return;
    Timer1->stop();
    Forms::show(Forms::Id::MainMenu);
    close();
}
