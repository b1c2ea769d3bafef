#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;

// What every screen's menu bar has after its own first entry: a spacer, せってい with the
// colour and sound dialogs, a spacer, and ヘルプ with the manual and the about box. The screens'
// designs name some of these entries differently, so the names are passed in; the captions
// and the commands are the same everywhere.
namespace CommonMenus {

struct Names {
    QString firstSpacer;  // "ver_space", "ver_space1"
    QString secondSpacer; // "var_space2", "ver_space2"
    QString help;         // "Help", "HELP"
    QString separator;    // the line in ヘルプ: "mnuSeparator", "mnuSeparator2"
};

struct Entries {
    QMenu* Ver_settei = nullptr;
    QAction* Ver_col = nullptr;
    QAction* Ver_se = nullptr;
    QMenu* help = nullptr;
    QAction* Ver_help = nullptr;
    QAction* Ver_version = nullptr;
};

// Adds the entries to bar, each connected to its command below.
Entries add(QMenuBar* bar, const Names& names);

// The commands. The dialogs are modeless and keep themselves on top; one that is not
// registered does not open.
void showColourDialog();
void showSoundDialog();
void showAbout();
// A manual or viewer that is missing is not reported.
void openManual();

} // namespace CommonMenus
