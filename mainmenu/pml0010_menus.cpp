// The main menu's menu bar: ファイル (open a data file, its properties, end), then the menus
// every screen has.
#include "commonmenus.h"
#include "forms.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "pmcm000.h"
#include "pml0010.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

using namespace PMCM000;

void Pml0010::createMenus() {
    QMenuBar* bar = menuBar();
    auto entry = [this](QMenu* menu, const char* name, const QString& caption,
                        void (Pml0010::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("ファイル"));
    file->setObjectName(QStringLiteral("Ver_file"));
    Ver_open = entry(file, "Ver_open", QStringLiteral("ひらく"), &Pml0010::Ver_open_Click);
    Ver_make =
        entry(file, "Ver_make", QStringLiteral("たんごデータを つくる"), &Pml0010::Ver_make_Click);
    Ver_pro = entry(file, "Ver_pro", QStringLiteral("プロパティ"), &Pml0010::Ver_pro_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSeparator"));
    Ver_end = entry(file, "Ver_end", QStringLiteral("おわり"), &Pml0010::Ver_end_Click);

    const CommonMenus::Entries entries =
        CommonMenus::add(bar, {QStringLiteral("ver_space"), QStringLiteral("var_space2"),
                               QStringLiteral("Help"), QStringLiteral("mnuSeparator2")});
    Ver_col = entries.Ver_col;
    Ver_se = entries.Ver_se;
    Ver_help = entries.Ver_help;
    Ver_version = entries.Ver_version;
}

void Pml0010::Ver_open_Click() {
    if (chooseDeck_ && chooseDeck_(DataFolder.isEmpty() ? DocumentsFolder : DataFolder))
        Form_Activate();
}

// The deck maker lives beside this program. While it may be changing the deck, coming back to
// this window counts as an activation, so that the main menu shows what the maker wrote.
void Pml0010::Ver_make_Click() {
    const QString maker =
        QFileInfo(platform().shell->programFile()).dir().filePath(QStringLiteral("pimlotan-maker"));
    const QStringList arguments =
        DataFilePath.isEmpty() ? QStringList() : QStringList{DataFilePath};
    if (!platform().shell->startDetached(maker, arguments)) {
        platform().prompter->message(QStringLiteral("たんごデータを つくる プログラムを"
                                                    " ひらけませんでした。"),
                                     FormCaption(), Prompter::Icon::Warning);
        return;
    }
    if (!makerStarted_) {
        makerStarted_ = true;
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                [](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive)
                        ActivationTracker::instance().reset();
                });
    }
}

void Pml0010::Ver_pro_Click() {
    Forms::show(Forms::Id::DataFileDialog);
}

void Pml0010::Ver_end_Click() {
    close();
    Forms::unloadAll();
}
