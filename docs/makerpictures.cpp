#include "makerpictures.h"

#include "bulkadddialog.h"
#include "deckeditor.h"
#include "deckforms.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "progresswindow.h"
#include "rowlist.h"
#include "screenpictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTreeWidget>

namespace {

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A press and release of the left button on a row, as a parent chooses it: the list's own
// selection and click signals then bring the window up to date, as they do for a user.
bool clickRow(RowList* list, int row) {
    QTreeWidget* tree = list->list();
    QTreeWidgetItem* item = tree->topLevelItem(row);
    if (!item)
        return false;
    tree->scrollToItem(item);
    const QPointF centre = QRectF(tree->visualItemRect(item)).center();
    const QPointF global = tree->viewport()->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &press);
    QApplication::sendEvent(tree->viewport(), &release);
    settle();
    return tree->currentItem() == item && item->isSelected();
}

} // namespace

void takeMakerPictures(const QString& deck, const QString& shownPath,
                       QMap<QString, QImage>& pictures, QStringList& problems) {
    MakerWindow window;
    window.show();
    settle();
    if (!window.openDeck(deck) || window.editor()->deck().groups.isEmpty()) {
        problems << QStringLiteral("maker: cannot open the deck ") + deck;
        return;
    }
    window.statusBar()->showMessage(shownPath);
    window.setSpeakNewWords(false); // the scenes make no voices
    // The suggestions are read in the background; the pictures show them once they are there
    // (without the libraries installed, the window simply has none).
    QElapsedTimer waited;
    waited.start();
    while (!window.suggestionsLoaded() && waited.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    const DeckEditor& editor = *window.editor();

    // The first group, its first sub-group and a word the practice scene graded, so that the
    // form shows a level and a count.
    const qint64 group = editor.deck().groups.first().group;
    const QList<DeckSubGroup> subGroups = editor.subGroupsOf(group);
    const QList<DeckWord> words =
        subGroups.isEmpty() ? QList<DeckWord>() : editor.wordsOf(group, subGroups.first().sgroup);
    int word = 0;
    while (word < words.size() && words.at(word).times == 0)
        ++word;
    if (word == words.size())
        word = std::min<int>(2, int(words.size()) - 1);
    if (!clickRow(window.groups(), int(group - 1)) || !clickRow(window.subGroups(), 0) ||
        word < 0 || !clickRow(window.words(), word) ||
        window.forms()->currentWidget() != static_cast<QWidget*>(window.wordForm())) {
        problems << QStringLiteral("maker: the word form could not be shown");
        return;
    }
    pictures.insert(QStringLiteral("maker"), framed(&window));

    // A row already chosen shows its form again when clicked.
    if (clickRow(window.groups(), int(group - 1)) &&
        window.forms()->currentWidget() == static_cast<QWidget*>(window.groupForm()))
        pictures.insert(QStringLiteral("maker-group"), framed(&window));
    else
        problems << QStringLiteral("maker: the group form could not be shown");

    // A new word with "dog" typed: the suggestions for it.
    if (clickRow(window.subGroups(), 0)) {
        window.words()->addButton()->click();
        settle();
        QLineEdit* english = window.wordForm()->word();
        english->setText(QStringLiteral("dog"));
        emit english->textEdited(english->text());
        settle();
        pictures.insert(QStringLiteral("maker-suggest"), framed(&window));
    } else {
        problems << QStringLiteral("maker: the sub-group could not be chosen");
    }

    BulkAddDialog many(group, subGroups.first().sgroup, &window);
    many.editor()->setPlainText(
        QStringLiteral("apple\nbanana, バナナ\ncherry\ngrapes\nwatermelon\n"));
    many.show();
    settle();
    pictures.insert(QStringLiteral("maker-addmany"), framed(&many));
    many.close();

    // きろく on the gradings the practice scene made.
    {
        ProgressWindow progress(deck);
        progress.resize(900, 640);
        progress.show();
        settle();
        pictures.insert(QStringLiteral("maker-progress"), framed(&progress));
        progress.tabs()->setCurrentIndex(1);
        settle();
        pictures.insert(QStringLiteral("maker-progress-levels"), framed(&progress));
    }

    // The question 削除 asks for a sub-group: drawn, never waited on.
    const qint64 sgroup = subGroups.first().sgroup;
    QMessageBox question(
        QMessageBox::Question, MakerTexts::Title,
        MakerTexts::RemoveSubGroup.arg(group).arg(sgroup).arg(editor.wordCount(group, sgroup)),
        QMessageBox::Yes | QMessageBox::No);
    question.setDefaultButton(QMessageBox::No);
    question.show();
    settle();
    pictures.insert(QStringLiteral("maker-remove"), framed(&question));
    question.close();
    window.close();
}
