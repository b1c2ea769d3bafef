// The deck maker's suggestions in the window, on a small library written here: what a parent
// types is looked up at once, one click fills the meaning or stores the picture, and the form
// keeps its width whatever it shows.
#include "deckeditor.h"
#include "deckforms.h"
#include "makertestwindow.h"
#include "makerwindow.h"
#include "mediapanels.h"
#include "rowlist.h"
#include "suggestionchoices.h"
#include "testmain.h"
#include "userclick.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <emojipicture.h>
#include <pictureimport.h>
#include <worddatafile.h>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<const Suggestions> smallLibrary() {
    PictureIndex pictures;
    pictures.addAnnotations(R"(<ldml><annotations>
<annotation cp="🐶">dog | face | pet</annotation>
<annotation cp="🐶" type="tts">dog face</annotation>
<annotation cp="🐕">dog | pet</annotation>
<annotation cp="🐕" type="tts">dog</annotation>
<annotation cp="🦁">leo | lion | zodiac</annotation>
<annotation cp="🦁" type="tts">lion</annotation>
</annotations></ldml>)",
                            false);
    pictures.addAnnotations(R"(<ldml><annotations>
<annotation cp="🐕">イヌ | 犬 | 動物</annotation>
<annotation cp="🐕" type="tts">イヌ</annotation>
</annotations></ldml>)",
                            true);
    return std::make_shared<const Suggestions>(
        std::move(pictures), MeaningDictionary::fromText("犬 [いぬ] /(n) dog/(P)/\n"
                                                         "ドッグ /(n) dog/\n"));
}

QStringList names(const QList<QToolButton*>& buttons) {
    QStringList found;
    for (QToolButton* button : buttons)
        if (button->isEnabled())
            found << button->accessibleName();
    return found;
}

QStringList names(const QList<QPushButton*>& buttons) {
    QStringList found;
    for (QPushButton* button : buttons)
        if (button->isVisibleTo(button->parentWidget()))
            found << button->accessibleName();
    return found;
}

} // namespace

class TestMakerSuggestions : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MakerWindow> window;

    WordForm* form() const { return window->wordForm(); }
    PictureChoices* wordPictures() const { return form()->picture()->choices(); }

    // A deck with one group and sub-group and a new word chosen.
    void makeDeckWithAWord() {
        makeNewDeck(*fake, *window, u"zoo"_s);
        QVERIFY(clickAsUser(window->groups()->addButton()));
        QVERIFY(clickAsUser(window->subGroups()->addButton()));
        QVERIFY(clickAsUser(window->words()->addButton()));
    }

    const DeckWord* shownWord() const {
        return window->editor()->word(window->session().chosenWords().first());
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        window = makerTestWindow();
        window->setSuggestions(smallLibrary());
        makeDeckWithAWord();
    }
    void cleanup() {
        window.reset();
        WordDataFile::closeAll();
        fake.reset();
    }

    // Each key typed looks the word up again; the lists follow the ranking.
    void typingLooksUp_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QStringList>("meanings");
        QTest::newRow("a word") << u"dog"_s << QStringList{u"🐕"_s, u"🐶"_s}
                                << QStringList{u"いぬ"_s, u"ドッグ"_s};
        QTest::newRow("a keyword's start") << u"lio"_s << QStringList{u"🦁"_s} << QStringList{};
        QTest::newRow("nothing known") << u"xyz"_s << QStringList{} << QStringList{};
    }
    void typingLooksUp() {
        QFETCH(QString, typed);
        QFETCH(QStringList, pictures);
        QFETCH(QStringList, meanings);
        form()->word()->setFocus();
        QTest::keyClicks(form()->word(), typed);
        QCOMPARE(names(wordPictures()->buttons()), pictures);
        QCOMPARE(names(form()->meaningChoices()->buttons()), meanings);
        QCOMPARE(wordPictures()->buttons().size(), PictureChoices::MaxShown); // none hidden
    }

    // Two clicks after the English word: the meaning, then the picture, each written at once.
    void oneClickEach() {
        form()->word()->setFocus();
        QTest::keyClicks(form()->word(), u"dog"_s);
        QTest::keyClick(form()->word(), Qt::Key_Return);
        QVERIFY(clickAsUser(form()->meaningChoices()->buttons().first()));
        QCOMPARE(shownWord()->meaning, u"いぬ"_s);
        const QStringList offered = names(wordPictures()->buttons());
        QVERIFY(clickAsUser(wordPictures()->buttons().first()));
        // The stored picture is the row's own now; the buttons stay where they were.
        QCOMPARE(names(wordPictures()->buttons()), offered);
        const QString stored = PictureImport::storedPath(window->editor()->folder(), u"dog"_s);
        QCOMPARE(shownWord()->images, u"dog"_s);
        QCOMPARE(QImageReader(stored).size(), PictureImport::storedSize(EmojiPicture::CardShape));

        // Another word called dog is offered the deck's own picture first; choosing it names
        // that picture and copies nothing.
        QVERIFY(clickAsUser(window->words()->addButton()));
        form()->word()->setFocus();
        QTest::keyClicks(form()->word(), u"dog"_s);
        QCOMPARE(names(wordPictures()->buttons()).first(), u"dog"_s);
        QVERIFY(clickAsUser(wordPictures()->buttons().first()));
        QCOMPARE(shownWord()->images, u"dog"_s);
        QCOMPARE(QDir(window->editor()->folder() + u"images"_s).entryList(QDir::Files).size(), 1);
    }

    // The search box finds pictures by another word; another row starts with it empty.
    void searchByAnotherWord() {
        typeSearch(u"lion"_s);
        QCOMPARE(names(wordPictures()->buttons()), QStringList{u"🦁"_s});
        QVERIFY(clickAsUser(window->words()->addButton()));
        QVERIFY(wordPictures()->search()->text().isEmpty());
    }

    // A group's picture by its Japanese title, drawn in the menu's shape.
    void groupPictureByItsTitle() {
        QVERIFY(clickAsUser(window->groups()->addButton()));
        PictureChoices* choices = window->groupForm()->picture()->choices();
        window->groupForm()->title()->setFocus();
        window->groupForm()->title()->selectAll();
        QTest::keyClick(window->groupForm()->title(), Qt::Key_Delete);
        window->groupForm()->title()->insert(u"いぬ"_s);
        emit window->groupForm()->title()->textEdited(u"いぬ"_s);
        QCOMPARE(names(choices->buttons()), QStringList{u"🐕"_s});
        QVERIFY(clickAsUser(choices->buttons().first()));
        const DeckGroup* group = window->editor()->group(window->session().chosenGroup());
        QCOMPARE(
            QImageReader(PictureImport::storedPath(window->editor()->folder(), group->ttlimage))
                .size(),
            PictureImport::storedSize(EmojiPicture::MenuShape));
    }

    // A very long word neither widens the form nor the window; the window fits a 1024 x 768
    // screen (the offscreen screen is smaller, so its least size is what is compared).
    void longTextKeepsTheWidth() {
        const int before = window->forms()->width();
        const int windowBefore = window->width();
        form()->word()->setFocus();
        form()->word()->insert(QString(200, u'w'));
        QTest::keyClick(form()->word(), Qt::Key_Return);
        QCOMPARE(shownWord()->word, QString(200, u'w'));
        QCoreApplication::processEvents();
        QCOMPARE(window->forms()->width(), before);
        QCOMPARE(window->width(), windowBefore);
        QVERIFY2(window->minimumSizeHint().width() <= 1024 &&
                     window->minimumSizeHint().height() <= 768,
                 qPrintable(u"%1 x %2"_s.arg(window->minimumSizeHint().width())
                                .arg(window->minimumSizeHint().height())));
    }

    // A word given its English gets a spoken voice at once, without a click, unless turned off.
    void newWordIsSpoken_data() {
        QTest::addColumn<bool>("on");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void newWordIsSpoken() {
        QFETCH(bool, on);
        window->setSpeakNewWords(on);
        form()->word()->setFocus();
        QTest::keyClicks(form()->word(), u"cat"_s);
        QTest::keyClick(form()->word(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!window->voiceBusy(), 20000);
        QCOMPARE(!shownWord()->voice.isEmpty(), on);
    }

    // Many words at once: each filled with what the library has, the rest listed; one step to
    // take back.
    void manyWordsAtOnce() {
        const int before = int(window->editor()->wordsOf(1, 1).size());
        const MakerWindow::ManyWords done = window->addManyWords(u"dog\nlion, らいおん\n\nxyz\n"_s);
        QCOMPARE(done.added, 3);
        const QList<DeckWord> words = window->editor()->wordsOf(1, 1);
        QCOMPARE(words.size(), before + 3);
        const DeckWord& dog = words.at(before);
        QCOMPARE(dog.meaning, u"いぬ"_s);
        QVERIFY(
            QFileInfo::exists(PictureImport::storedPath(window->editor()->folder(), dog.images)));
        QVERIFY(!dog.voice.isEmpty());
        QCOMPARE(words.at(before + 1).meaning, u"らいおん"_s);
        QCOMPARE(done.unfinished.size(), 1);
        QVERIFY(done.unfinished.first().startsWith(u"xyz"_s));
        window->undo();
        QCOMPARE(window->editor()->wordsOf(1, 1).size(), before);
    }

  private:
    void typeSearch(const QString& text) {
        wordPictures()->search()->setFocus();
        QTest::keyClicks(wordPictures()->search(), text);
    }
};

PIMLOTAN_TEST_MAIN(TestMakerSuggestions)
#include "tst_makersuggestions.moc"
