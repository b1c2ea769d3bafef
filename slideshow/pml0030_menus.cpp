// The slide-show screen's menu bar: back to the main menu, then the menus every screen has.
#include "commonmenus.h"
#include "pml0030.h"

#include <QMenuBar>

void PML0030::createMenus() {
    QMenuBar* bar = menuBar();
    Ver_Exit = bar->addAction(QStringLiteral("もどる"));
    Ver_Exit->setObjectName(QStringLiteral("Ver_Exit"));
    connect(Ver_Exit, &QAction::triggered, this, &PML0030::Ver_Exit_Click);

    const CommonMenus::Entries entries =
        CommonMenus::add(bar, {QStringLiteral("ver_space1"), QStringLiteral("ver_space2"),
                               QStringLiteral("Help"), QStringLiteral("mnuSeparator")});
    Ver_settei = entries.Ver_settei;
    Ver_col = entries.Ver_col;
    Ver_se = entries.Ver_se;
    Help = entries.help;
    Ver_help = entries.Ver_help;
    Ver_version = entries.Ver_version;
}

void PML0030::Ver_Exit_Click() {
    leaveFor(Forms::Id::MainMenu);
}
