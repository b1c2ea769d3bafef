// The deck maker's window offscreen, driven as a parent would: a deck made from nothing with
// pictures and voices, removals that ask first, the checks list, a locked deck.
#include "deckchecks.h"
#include "deckeditor.h"
#include "deckforms.h"
#include "fakeplatform.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "mediapanels.h"
#include "rowlist.h"
#include "testmain.h"
#include "userclick.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeWidget>
#include <cmath>
#include <deckcommands.h>
#include <mediapath.h>
#include <wavfile.h>
#include <worddatafile.h>

namespace {

// Puts text into a field and leaves it with Enter, as a user finishes an edit (QTest types
// only ASCII keys, and the texts are Japanese).
void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    field->insert(text);
    QTest::keyClick(field, Qt::Key_Return);
}

// A click on a row of a list, as a user chooses it.
void clickRow(RowList* list, int row) {
    QTreeWidget* tree = list->list();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(tree->topLevelItem(row)).center());
}

QString writePicture(const QString& path, const QColor& colour) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

// Half a second of a 440 Hz tone, as a parent's own recording at 44.1 kHz.
QString writeVoice(const QString& path) {
    std::vector<float> samples(22050);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.3f * float(std::sin(2 * M_PI * 440 * double(i) / 44100));
    WavFile::write(path, samples, 44100);
    return path;
}

} // namespace

class TestMakerWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MakerWindow> window;
    QString scratch;

    // A new deck through ファイル → 新しい単語データ.
    QString makeDeck(const QString& name = QStringLiteral("family")) {
        fake->prompter.files.enqueue(scratch + name + QStringLiteral(".pml"));
        window->newDeck();
        return scratch + name + u'/' + name + QStringLiteral(".pml");
    }

    void addGroup(const QString& title, const QString& description) {
        QVERIFY(clickAsUser(window->groups()->addButton()));
        typeInto(window->groupForm()->title(), title);
        typeInto(window->groupForm()->description(), description);
    }

    void addWord(const QString& word, const QString& meaning) {
        QVERIFY(clickAsUser(window->words()->addButton()));
        typeInto(window->wordForm()->word(), word);
        typeInto(window->wordForm()->meaning(), meaning);
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        scratch = fake->documentsFolder() + QStringLiteral("work/");
        QDir().mkpath(scratch);
        window = std::make_unique<MakerWindow>();
        window->setSpeakNewWords(false); // each test makes the voices it needs
        window->show();
    }
    void cleanup() {
        window.reset();
        WordDataFile::closeAll();
        fake.reset();
    }

    // One group, two sub-groups, five words, every picture and voice given: the deck has no
    // problem for the window, nor for pml-build --check.
    void aDeckMadeFromNothingPassesTheCheck() {
        const QString path = makeDeck();
        QVERIFY(QFileInfo(path).isFile());
        QVERIFY(QFileInfo(QFileInfo(path).path() + QStringLiteral("/images")).isDir());
        addGroup(QStringLiteral("かぞく"), QStringLiteral("うちの ひとたち"));
        window->storePictureFile(writePicture(scratch + QStringLiteral("g.png"), Qt::red));
        const QStringList words{QStringLiteral("mother"), QStringLiteral("father"),
                                QStringLiteral("sister"), QStringLiteral("cat"),
                                QStringLiteral("dog")};
        for (int s = 0; s < 2; ++s) {
            QVERIFY(clickAsUser(window->subGroups()->addButton()));
            window->storePictureFile(writePicture(scratch + QStringLiteral("s.png"), Qt::blue));
            for (int w = s * 3; w < std::min(5, s * 3 + 3); ++w) {
                addWord(words[w], QStringLiteral("いみ%1").arg(w));
                window->storePictureFile(
                    writePicture(scratch + QStringLiteral("w%1.png").arg(w), Qt::green));
                window->storeVoiceFile(writeVoice(scratch + QStringLiteral("v.wav")));
            }
        }
        QCOMPARE(fake->prompter.texts(), QStringList());
        const Deck& deck = window->editor()->deck();
        QCOMPARE(deck.subGroups.size(), 2);
        QCOMPARE(deck.words.size(), 5);
        QCOMPARE(deck.words.at(4).word, QStringLiteral("dog"));
        QCOMPARE(deck.words.at(4).images, QStringLiteral("dog"));
        QCOMPARE(deck.words.at(4).voice, QStringLiteral("dog"));
        QCOMPARE(window->words()->list()->topLevelItemCount(), 2);
        QStringList problems;
        for (int i = 0; i < window->checks()->count(); ++i)
            problems << window->checks()->item(i)->text();
        QCOMPARE(problems.join(u'\n'), QString());
        QTextStream out(stdout);
        QCOMPARE(DeckCommands::check(path, out), 0);
    }

    // A new group's name is chosen, so that typing replaces it, also after the window shows
    // the rows again (as it does on activation).
    void newGroupNameIsReplacedByTyping() {
        makeDeck();
        QVERIFY(clickAsUser(window->groups()->addButton()));
        QLineEdit* title = window->groupForm()->title();
        QCOMPARE(title->selectedText(), MakerTexts::NewGroup);
        window->groupForm()->show(1, MakerTexts::NewGroup, QString());
        QTest::keyClicks(title, QStringLiteral("animals"));
        QTest::keyClick(title, Qt::Key_Return);
        QCOMPARE(window->editor()->deck().groups.first().tittle, QStringLiteral("animals"));
    }

    void removalsAskFirstWithTheWordCount() {
        makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QStringLiteral("one"), {});
        addWord(QStringLiteral("two"), {});
        clickRow(window->groups(), 0);

        fake->prompter.answers.enqueue(Prompter::Answer::No);
        QVERIFY(clickAsUser(window->groups()->removeButton()));
        QCOMPARE(fake->prompter.messages.last().text,
                 MakerTexts::RemoveGroup.arg(QStringLiteral("a")).arg(1).arg(2));
        QCOMPARE(window->editor()->deck().words.size(), 2);

        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        QVERIFY(clickAsUser(window->groups()->removeButton()));
        QVERIFY(window->editor()->deck().groups.isEmpty());
        QVERIFY(window->editor()->deck().words.isEmpty());
        QVERIFY(!window->subGroups()->addButton()->isEnabled());
        QCOMPARE(window->subGroups()->list()->topLevelItemCount(), 0);
        QCOMPARE(window->words()->list()->topLevelItemCount(), 0);

        // A word without English is named by its meaning.
        addGroup(QStringLiteral("c"), QStringLiteral("d"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QString(), QStringLiteral("ねこ"));
        fake->prompter.answers.enqueue(Prompter::Answer::No);
        QVERIFY(clickAsUser(window->words()->removeButton()));
        QCOMPARE(fake->prompter.messages.last().text,
                 MakerTexts::RemoveWord.arg(QStringLiteral("ねこ")));

        // Another deck shows its own sub-groups only.
        const QString first = window->editor()->path();
        makeDeck(QStringLiteral("other"));
        addGroup(QStringLiteral("e"), QStringLiteral("f"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        QVERIFY(window->openDeck(first));
        QCOMPARE(window->subGroups()->list()->topLevelItemCount(), 2);
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        makeDeck(QStringLiteral("third"));
        QCOMPARE(window->subGroups()->list()->topLevelItemCount(), 0);
        QCOMPARE(window->words()->list()->topLevelItemCount(), 0);
    }

    // A click on a problem shows the row it is about.
    void checksLeadToTheirRow() {
        makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QStringLiteral("one"), {});
        addWord(QStringLiteral("two"), {});
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QStringLiteral("three"), {});
        addWord(QStringLiteral("four"), {});
        const qint64 first = window->editor()->deck().words.first().key;
        const auto clickCheck = [&](const QString& start) {
            QListWidget* checks = window->checks();
            for (int i = 0; i < checks->count(); ++i)
                if (checks->item(i)->text().contains(start)) {
                    QTest::mouseClick(checks->viewport(), Qt::LeftButton, {},
                                      checks->visualItemRect(checks->item(i)).center());
                    QCoreApplication::processEvents();
                    return true;
                }
            return false;
        };
        clickRow(window->groups(), 0);
        QCOMPARE(window->forms()->currentWidget(), window->groupForm());
        QVERIFY(clickCheck(QStringLiteral("「one」の 絵")));
        QCOMPARE(window->forms()->currentWidget(), window->wordForm());
        QCOMPARE(window->words()->current(), first);
        QCOMPARE(window->wordForm()->word()->text(), QStringLiteral("one"));
        QVERIFY(clickCheck(QStringLiteral("小グループ 1-2の 絵")));
        QCOMPARE(window->forms()->currentWidget(), window->subGroupForm());
        QCOMPARE(window->subGroups()->current(), 2);
        QVERIFY(clickCheck(QStringLiteral("グループ 1の 絵")));
        QCOMPARE(window->forms()->currentWidget(), window->groupForm());

        // From a word of the sub-group already shown, to another word of it.
        QVERIFY(clickCheck(QStringLiteral("「two」の 絵")));
        QCOMPARE(window->words()->current(), first + 1);
        QVERIFY(clickCheck(QStringLiteral("「one」の 絵")));
        QCOMPARE(window->subGroups()->current(), 1);
        QCOMPARE(window->words()->current(), first);
        QCOMPARE(window->wordForm()->word()->text(), QStringLiteral("one"));
        QVERIFY(clickCheck(QStringLiteral("「two」の 音声")));
        QCOMPARE(window->words()->current(), first + 1);
        QCOMPARE(window->wordForm()->word()->text(), QStringLiteral("two"));
        clickRow(window->subGroups(), 1);
        clickRow(window->words(), 1);
        QCOMPARE(window->wordForm()->word()->text(), QStringLiteral("four"));
        QVERIFY(clickCheck(QStringLiteral("「three」の 絵")));
        QCOMPARE(window->subGroups()->current(), 2);
        QCOMPARE(window->words()->current(), first + 2);
        QCOMPARE(window->wordForm()->word()->text(), QStringLiteral("three"));
    }

    // A group without a picture makes the program refuse the deck: the checks say so first,
    // and closing the deck asks once.
    void faultsAreNamedAndAskedAboutOnce() {
        makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        window->storePictureFile(writePicture(scratch + QStringLiteral("s.png"), Qt::blue));
        addWord(QStringLiteral("cat"), {});
        QVERIFY(window->checks()->item(0)->text().startsWith(QStringLiteral("✖ グループ 1の 絵")));
        const QStringList titles = [this] {
            QStringList texts;
            for (const QLabel* label : window->findChildren<QLabel*>())
                texts << label->text();
            return texts;
        }();
        QVERIFY(titles.contains(MakerTexts::Faults.arg(window->checks()->count()).arg(1)));

        fake->prompter.answers.enqueue(Prompter::Answer::No);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        QVERIFY(window->close());
        QCOMPARE(fake->prompter.texts(), QStringList(2, MakerTexts::LeaveWithFaults.arg(1)));
    }

    // What cannot be a picture or a voice leaves the row and its files as they were.
    void badMediaLeaveTheRowAsItWas() {
        makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QStringLiteral("cat"), {});
        QFile text(scratch + QStringLiteral("notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
        text.close();
        window->storePictureFile(text.fileName());
        window->storeVoiceFile(text.fileName());
        QMimeData words;
        words.setText(QStringLiteral("cat"));
        window->storePictureData(words);
        QCOMPARE(fake->prompter.messages.size(), 3);
        const DeckWord& cat = window->editor()->deck().words.first();
        QCOMPARE(cat.images, QString());
        QCOMPARE(cat.voice, QString());
        QVERIFY(QDir(window->editor()->folder() + QStringLiteral("images")).isEmpty());
        QVERIFY(QDir(window->editor()->folder() + QStringLiteral("voice")).isEmpty());
    }

    // Another program holds the deck: the change is refused at once with the reason, and the
    // window still shows what the file holds.
    // ファイル lists the decks opened, newest first, each once; a new window opens the last one,
    // and a deck that went away leaves the list.
    void recentDecksAreOffered() {
        const QString first = makeDeck(QStringLiteral("first"));
        const QString second = makeDeck(QStringLiteral("second"));
        QVERIFY(window->openDeck(first));
        QCOMPARE(window->settings().recentDecks, (QStringList{first, second}));
        window = std::make_unique<MakerWindow>();
        QVERIFY(window->openLastDeck());
        QCOMPARE(window->editor()->path(), first);
        window = std::make_unique<MakerWindow>();
        QVERIFY(QFile::remove(first));
        QVERIFY(!window->openLastDeck());
        QVERIFY(!window->openDeck(first));
        QCOMPARE(window->settings().recentDecks, QStringList{second});
    }

    void lockedDeckSaysWhy() {
        const QString path = makeDeck();
        const QString name = QStringLiteral("other");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(clickAsUser(window->groups()->addButton()));
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(name);
        QCOMPARE(fake->prompter.messages.size(), 1);
        QCOMPARE(fake->prompter.messages.first().text,
                 MakerTexts::NotWritten + u'\n' + MakerTexts::Locked);

        // A file that is no deck: the reason in the parent's words, no engine text.
        const QString text = scratch + QStringLiteral("notes.pml");
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a deck");
        notes.close();
        QVERIFY(!window->openDeck(text));
        QCOMPARE(fake->prompter.messages.last().text,
                 MakerTexts::CannotOpen.arg(QStringLiteral("notes.pml")) + u'\n' +
                     MakerTexts::reasonText(DataError::Reason::NotWordData));
        QCOMPARE(window->groups()->list()->topLevelItem(0)->text(0),
                 QStringLiteral("1  ") + MakerTexts::EmptySlot);
    }

    // A copy saved beside the original gets a folder of its own: a picture changed in the
    // copy leaves the original's as it was. A folder holding another deck's media is refused.
    void savedCopyNeverSharesMedia() {
        const QString original = makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        window->storePictureFile(writePicture(scratch + QStringLiteral("red.png"), Qt::red));
        const QString originalPicture = MediaPath::findPicture(
            QFileInfo(original).path() + u'/', window->editor()->deck().groups.first().ttlimage);
        const auto redOf = [](const QString& picture) {
            const QImage image(picture);
            return image.isNull() ? -1 : image.pixelColor(image.rect().center()).red();
        };
        QVERIFY(redOf(originalPicture) > 200);

        // The dialog starts in the original's folder.
        fake->prompter.files.enqueue(QFileInfo(original).path() + QStringLiteral("/copy.pml"));
        window->saveDeckAs();
        const QString copy = QFileInfo(original).path() + QStringLiteral("/copy/copy.pml");
        QCOMPARE(window->editor()->path(), copy);
        window->storePictureFile(writePicture(scratch + QStringLiteral("green.png"), Qt::green));
        QVERIFY(redOf(originalPicture) > 200);
        QVERIFY(redOf(MediaPath::findPicture(window->editor()->folder(),
                                             window->editor()->deck().groups.first().ttlimage)) <
                50);
        QCOMPARE(fake->prompter.texts(), QStringList());

        const QString taken = scratch + QStringLiteral("taken/");
        QVERIFY(QDir().mkpath(taken + QStringLiteral("images")));
        writePicture(taken + QStringLiteral("images/a.png"), Qt::blue);
        for (const QString& chosen : {taken + QStringLiteral("taken.pml"), original}) {
            fake->prompter.files.enqueue(chosen);
            window->saveDeckAs();
            QCOMPARE(window->editor()->path(), copy);
        }
        QCOMPARE(fake->prompter.messages.size(), 2);
        QVERIFY(!QFileInfo::exists(taken + QStringLiteral("taken.pml")));
        QCOMPARE(QDir(taken + QStringLiteral("images")).count(), 3u); // ., .. and a.png
    }

    void deletedDeckFolder_data() {
        QTest::addColumn<bool>("saveCopy");
        QTest::newRow("saved under another name") << true;
        QTest::newRow("not saved") << false;
    }
    // The deck's folder is deleted while it is open: one message, which offers to save what the
    // window holds; nothing is made where the deck was.
    void deletedDeckFolder() {
        QFETCH(bool, saveCopy);
        const QString path = makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QStringLiteral("cat"), QStringLiteral("ねこ"));
        const QString folder = QFileInfo(path).path();
        QVERIFY(QDir(folder).removeRecursively());

        fake->prompter.answers.enqueue(saveCopy ? Prompter::Answer::Yes : Prompter::Answer::No);
        const QString copy = scratch + QStringLiteral("saved.pml");
        if (saveCopy)
            fake->prompter.files.enqueue(copy);
        typeInto(window->wordForm()->word(), QStringLiteral("dog"));
        window->storeVoiceFile(writeVoice(scratch + QStringLiteral("v.wav")));
        window->storePictureFile(writePicture(scratch + QStringLiteral("p.png"), Qt::red));
        QCOMPARE(fake->prompter.texts(),
                 QStringList{MakerTexts::DeckGone.arg(QDir::toNativeSeparators(path))});
        QVERIFY(!QFileInfo::exists(folder));
        if (!saveCopy) {
            QCOMPARE(window->wordForm()->word()->text(), QStringLiteral("cat"));
            return;
        }
        const QString saved = scratch + QStringLiteral("saved/saved.pml");
        QCOMPARE(window->editor()->path(), saved);
        QCOMPARE(window->editor()->deck().words.size(), 1);
        QCOMPARE(window->editor()->deck().words.first().word, QStringLiteral("cat"));
        typeInto(window->wordForm()->word(), QStringLiteral("dog"));
        QCOMPARE(window->editor()->deck().words.first().word, QStringLiteral("dog"));
        QCOMPARE(fake->prompter.messages.size(), 1);
    }

    // A read-only deck says so when it opens; a refused edit is said once and its field shows
    // what the file holds again.
    void readOnlyDeck() {
        const QString path = makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        window.reset();
        WordDataFile::closeAll();
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        window = std::make_unique<MakerWindow>();
        window->show();
        QVERIFY(window->openDeck(path));
        QVERIFY(window->statusBar()->currentMessage().startsWith(MakerTexts::ReadOnlyStatus));
        QCOMPARE(window->groupForm()->title()->text(), QStringLiteral("a"));
        typeInto(window->groupForm()->title(), QStringLiteral("z"));
        window->groupForm()->description()->setFocus(); // leaving the field finishes it again
        QCOMPARE(fake->prompter.messages.size(), 1);
        QVERIFY2(fake->prompter.messages.first().text.contains(MakerTexts::ReadOnly),
                 qPrintable(fake->prompter.messages.first().text));
        QCOMPARE(window->groupForm()->title()->text(), QStringLiteral("a"));
    }

    // The synthesiser speaks the word into the deck; the row names the new file.
    void spokenVoiceIsStored() {
        makeDeck();
        addGroup(QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        addWord(QStringLiteral("elephant"), {});
        QVERIFY(clickAsUser(window->wordForm()->voice()->speakButton()));
        QVERIFY(window->voiceBusy());
        QTRY_VERIFY_WITH_TIMEOUT(!window->voiceBusy(), 20000);
        QCOMPARE(fake->prompter.texts(), QStringList());
        const DeckWord& word = window->editor()->deck().words.first();
        QCOMPARE(word.voice, QStringLiteral("elephant"));
        const WavFile::Audio audio =
            WavFile::read(MediaPath::voice(window->editor()->folder(), word.voice));
        QVERIFY2(audio.ok(), qPrintable(audio.error));
        QCOMPARE(audio.rate, 22050);
        QVERIFY(window->wordForm()->voice()->playButton()->isEnabled());
    }
};

PIMLOTAN_TEST_MAIN(TestMakerWindow)
#include "tst_makerwindow.moc"
