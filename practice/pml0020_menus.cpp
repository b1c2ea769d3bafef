// The practice screen's menu bar and what its entries open.
#include "forms.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "pmcm000.h"
#include "pml0020.h"

#include <QMenu>
#include <QMenuBar>

using namespace PMCM000;
using namespace Qt::StringLiterals;

namespace {
QAction* namedAction(QAction* action, const QString& name) {
    action->setObjectName(name);
    return action;
}

// A blank entry that keeps two menus apart.
QAction* spacer(QMenuBar* bar, const QString& name) {
    QAction* action = namedAction(bar->addAction(u"  "_s), name);
    action->setEnabled(false);
    return action;
}
} // namespace

void PML0020::createMenus() {
    QMenuBar* bar = menuBar();
    Ver_Exit = namedAction(bar->addAction(u"もどる"_s), u"Ver_Exit"_s);
    connect(Ver_Exit, &QAction::triggered, this, &PML0020::Ver_Exit_Click);
    ver_space = spacer(bar, u"ver_space"_s);

    Ver_settei = bar->addMenu(u"せってい"_s);
    Ver_settei->setObjectName(u"Ver_settei"_s);
    Ver_col = namedAction(Ver_settei->addAction(u"がめんのせってい..."_s), u"Ver_col"_s);
    connect(Ver_col, &QAction::triggered, this, &PML0020::Ver_col_Click);
    Ver_se = namedAction(Ver_settei->addAction(u"おとのせってい..."_s), u"Ver_se"_s);
    connect(Ver_se, &QAction::triggered, this, &PML0020::Ver_se_Click);
    ver_space2 = spacer(bar, u"ver_space2"_s);

    HELP = bar->addMenu(u"ヘルプ"_s);
    HELP->setObjectName(u"HELP"_s);
    Ver_help = namedAction(HELP->addAction(u"ヘルプ"_s), u"Ver_help"_s);
    connect(Ver_help, &QAction::triggered, this, &PML0020::Ver_help_Click);
    mnuSeparator2 = namedAction(HELP->addSeparator(), u"mnuSeparator2"_s);
    Ver_version = namedAction(HELP->addAction(u"ﾊﾞｰｼﾞｮﾝ情報..."_s), u"Ver_version"_s);
    connect(Ver_version, &QAction::triggered, this, &PML0020::Ver_version_Click);
}

// The dialogs are modeless and keep themselves on top; one not built in does nothing.
void PML0020::Ver_col_Click() {
    Forms::show(Forms::Id::ColourDialog);
}

void PML0020::Ver_se_Click() {
    Forms::show(Forms::Id::SoundDialog);
}

void PML0020::Ver_version_Click() {
    Forms::show(Forms::Id::About);
}

// A manual that cannot be opened gives no message.
void PML0020::Ver_help_Click() {
    platform().shell->openDocument(AppFolder + u"pimlotan説明書.pdf"_s);
}
