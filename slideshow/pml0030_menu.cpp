// The slide-show screen's menu: back to the main menu, the preference dialogs, the manual and
// the about box.
#include "forms.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "pmcm000.h"
#include "pml0030.h"

#include <QMenuBar>

using namespace PMCM000;

void PML0030::createMenu() {
    QMenuBar* bar = menuBar();
    auto entry = [this](QMenu* menu, const char* name, const QString& caption,
                        void (PML0030::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    // The entries without a caption only space the menus apart.
    auto spacer = [bar](const char* name) {
        QAction* action = bar->addAction(QStringLiteral("　"));
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(false);
        return action;
    };

    Ver_Exit = bar->addAction(QStringLiteral("もどる"));
    Ver_Exit->setObjectName(QStringLiteral("Ver_Exit"));
    connect(Ver_Exit, &QAction::triggered, this, &PML0030::Ver_Exit_Click);
    ver_space1 = spacer("ver_space1");

    Ver_settei = bar->addMenu(QStringLiteral("せってい"));
    Ver_settei->setObjectName(QStringLiteral("Ver_settei"));
    Ver_col = entry(Ver_settei, "Ver_col", QStringLiteral("がめんのせってい..."),
                    &PML0030::Ver_col_Click);
    Ver_se =
        entry(Ver_settei, "Ver_se", QStringLiteral("おとのせってい..."), &PML0030::Ver_se_Click);
    ver_space2 = spacer("ver_space2");

    Help = bar->addMenu(QStringLiteral("ヘルプ"));
    Help->setObjectName(QStringLiteral("Help"));
    Ver_help = entry(Help, "Ver_help", QStringLiteral("ヘルプ"), &PML0030::Ver_help_Click);
    mnuSeparator = Help->addSeparator();
    mnuSeparator->setObjectName(QStringLiteral("mnuSeparator"));
    Ver_version =
        entry(Help, "Ver_version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報..."), &PML0030::Ver_version_Click);
}

void PML0030::Ver_Exit_Click() {
    leaveTo(Forms::Id::MainMenu);
}

// The dialogs are modeless and keep themselves on top; one not built yet simply does not open.
void PML0030::Ver_col_Click() {
    Forms::show(Forms::Id::ColourDialog);
}

void PML0030::Ver_se_Click() {
    Forms::show(Forms::Id::SoundDialog);
}

void PML0030::Ver_version_Click() {
    Forms::show(Forms::Id::About);
}

void PML0030::Ver_help_Click() {
    QString folder = AppFolder;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    // A manual that cannot be opened gives no message.
    platform().shell->openDocument(folder + QStringLiteral("pimlotan説明書.pdf"));
}
