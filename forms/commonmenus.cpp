#include "commonmenus.h"

#include "forms.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "pmcm000.h"
#include "screentexts.h"

#include <QMenu>
#include <QMenuBar>

namespace CommonMenus {

namespace {
QAction* named(QAction* action, const QString& name) {
    action->setObjectName(name);
    return action;
}

QAction* entry(QMenu* menu, const QString& name, const QString& caption, void (*command)()) {
    QAction* action = named(menu->addAction(caption), name);
    QObject::connect(action, &QAction::triggered, action, command);
    return action;
}

// The designs' spacers have no caption; an ideographic space keeps them as wide as one.
void spacer(QMenuBar* bar, const QString& name) {
    named(bar->addAction(QStringLiteral("　")), name)->setEnabled(false);
}
} // namespace

Entries add(QMenuBar* bar, const Names& names) {
    Entries entries;
    spacer(bar, names.firstSpacer);
    entries.Ver_settei = bar->addMenu(QStringLiteral("せってい"));
    entries.Ver_settei->setObjectName(QStringLiteral("Ver_settei"));
    entries.Ver_col = entry(entries.Ver_settei, QStringLiteral("Ver_col"),
                            QStringLiteral("がめんのせってい..."), showColourDialog);
    entries.Ver_se = entry(entries.Ver_settei, QStringLiteral("Ver_se"),
                           QStringLiteral("おとのせってい..."), showSoundDialog);
    spacer(bar, names.secondSpacer);

    entries.help = bar->addMenu(QStringLiteral("ヘルプ"));
    entries.help->setObjectName(names.help);
    entries.Ver_help =
        entry(entries.help, QStringLiteral("Ver_help"), QStringLiteral("ヘルプ"), openManual);
    named(entries.help->addSeparator(), names.separator);
    entries.Ver_version = entry(entries.help, QStringLiteral("Ver_version"),
                                QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報..."), showAbout);
    return entries;
}

void showColourDialog() {
    Forms::show(Forms::Id::ColourDialog);
}

void showSoundDialog() {
    Forms::show(Forms::Id::SoundDialog);
}

void showAbout() {
    Forms::show(Forms::Id::About);
}

void openManual() {
    QString folder = PMCM000::AppFolder;
    // The program folder ends with a separator when it is resolved; one set otherwise (tests,
    // the manual maker) gets one.
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    PMCM000::platform().shell->openDocument(folder + ScreenTexts::ManualFile);
}

} // namespace CommonMenus
