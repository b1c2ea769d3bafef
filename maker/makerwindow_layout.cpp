// The maker's window laid out: the three lists side by side over the checks, the form of the
// chosen row on the right.
#include "deckforms.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "rowlist.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

void MakerWindow::createControls() {
    setWindowTitle(MakerTexts::Title);
    static_cast<QLabel*>(noDeck_)->setAlignment(Qt::AlignCenter);
    static_cast<QLabel*>(noDeck_)->setWordWrap(true);
    for (QWidget* form : {noDeck_, static_cast<QWidget*>(groupForm_),
                          static_cast<QWidget*>(subGroupForm_), static_cast<QWidget*>(wordForm_)})
        forms_->addWidget(form);
    checks_->setAccessibleName(MakerTexts::ChecksName);
    checks_->setWordWrap(true); // a long line wraps rather than running out of sight
    checksTitle_->setWordWrap(true);

    // The word list's own menu offers adding many words too.
    auto* addMany = new QAction(MakerTexts::AddManyItem, words_->list());
    connect(addMany, &QAction::triggered, this, &MakerWindow::chooseManyWords);
    words_->list()->addAction(addMany);
    words_->list()->setContextMenuPolicy(Qt::ActionsContextMenu);
    subGroups_->acceptDropsFrom(words_->name()); // a word dropped on a sub-group moves there
    auto* lists = new QSplitter(Qt::Horizontal);
    lists->addWidget(groups_);
    lists->addWidget(subGroups_);
    lists->addWidget(words_);
    lists->setStretchFactor(2, 1);
    lists->setSizes({170, 90, 350}); // the words' list has the most columns
    auto* checks = new QWidget;
    auto* checksLayout = new QVBoxLayout(checks);
    checksLayout->setContentsMargins(0, 0, 0, 0);
    checksLayout->addWidget(checksTitle_);
    checksLayout->addWidget(checks_);
    auto* left = new QSplitter(Qt::Vertical);
    left->addWidget(lists);
    left->addWidget(checks);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 1);
    // The form keeps one width whatever it shows (a long word, the suggestions), so that the
    // buttons stay under the mouse and the window never grows past the screen.
    forms_->setFixedWidth(FormWidth);
    auto* whole = new QSplitter(Qt::Horizontal);
    whole->addWidget(left);
    whole->addWidget(forms_);
    whole->setStretchFactor(0, 3);
    whole->setStretchFactor(1, 2);
    setCentralWidget(whole);
}

void MakerWindow::fitScreen() {
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(1200, screen.width()), std::min(760, screen.height()));
}
