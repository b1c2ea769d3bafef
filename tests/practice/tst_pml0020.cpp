// The practice screen offscreen: what its controls show, its sounds, menus and ways out.
#include "activatableform.h"
#include "cardlabel.h"
#include "deckfixture.h"
#include "doubleclick.h"
#include "fakeplatform.h"
#include "forms.h"
#include "pmcm000.h"
#include "pml0020.h"
#include "rectangleshape.h"
#include "testmain.h"
#include "worddatafile.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>

using namespace Qt::StringLiterals;

namespace {
constexpr quint32 volumeWord(quint32 volume) {
    return volume | (volume << 16);
}
} // namespace

class TestPml0020 : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake_;
    QTemporaryDir dir_;
    QPointer<PML0020> form_;

    QString deckPath() const {
        return dir_.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                             QString::fromLatin1(QTest::currentDataTag()) + u".pml"_s);
    }
    void useDeck(const DeckFixture& deck) {
        const QString path = deckPath();
        QFile::remove(path);
        deck.write(path);
        PMCM000::DataFilePath = path;
    }
    void useWords(int count) {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).words(1, 1, 0, count, 1);
        useDeck(deck);
    }
    // The practice loaded through the registry, as the main menu loads it, and activated.
    PML0020& open() {
        Forms::registerFactory(Forms::Id::Practice, [] { return new PML0020(nullptr, 5); });
        form_ = qobject_cast<PML0020*>(Forms::show(Forms::Id::Practice));
        ActivationTracker::instance().windowActivated(form_);
        return *form_;
    }
    template <typename T> T* control(const QString& name) const {
        T* widget = form_->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QPushButton* button(const QString& name) const { return control<QPushButton>(name); }
    QLabel* label(const QString& name) const { return control<QLabel>(name); }
    // Clicks like a user: only what can be seen.
    static bool click(QWidget* widget) {
        if (!widget->isVisible())
            return false;
        QTest::mouseClick(widget, Qt::LeftButton);
        return true;
    }
    // The controls of card p that can be seen, by name without the index.
    QStringList visibleParts(int p) const {
        QStringList parts;
        for (const QString& name :
             {u"Im_word"_s, u"LB_word"_s, u"LB_meaning"_s, u"LB_meanings"_s, u"Lb_kaisu"_s,
              u"Lb_wno"_s, u"BT_OK"_s, u"BT_NG"_s, u"BT_WAV"_s})
            if (control<QWidget>(u"%1(%2)"_s.arg(name).arg(p))->isVisible())
                parts << name;
        return parts;
    }
    std::optional<QColor> fillOf(int p) const {
        return control<RectangleShape>(u"Sh_word(%1)"_s.arg(p))->fill();
    }

  private slots:
    void init() {
        fake_ = std::make_unique<FakePlatform>();
        PMCM000::AppFolder = fake_->programFolder();
        PMCM000::DataFolder = dir_.path() + u'/';
        PMCM000::PracticeBackColor = u"16777215"_s;
        PMCM000::OkColor = u"65280"_s; // green
        PMCM000::NgColor = u"255"_s;   // red
        PMCM000::OkSoundPath = u"/sounds/ok.wav"_s;
        PMCM000::NgSoundPath = u"/sounds/ng.wav"_s;
        PMCM000::OkSoundVolume = 1000;
        PMCM000::NgSoundVolume = 2000;
        PMCM000::VoiceVolume = 30000;
    }
    void cleanup() {
        Forms::unloadAll();
        QTRY_VERIFY(!form_);
        fake_.reset();
        WordDataFile::closeAll();
    }

    // Places at scale factor 1, in pixels of the design twips (15 to a pixel).
    void layoutOfTheMainControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("first card's rectangle") << "Sh_word(0)" << QRect(154, 40, 222, 160);
        QTest::newRow("middle card's picture") << "Im_word(4)" << QRect(393, 242, 209, 121);
        QTest::newRow("word label, upper half") << "LB_word(4)" << QRect(393, 242, 209, 61);
        QTest::newRow("first NG") << "BT_NG(0)" << QRect(225, 200, 41, 25);
        QTest::newRow("voice, right column") << "BT_WAV(5)" << QRect(745, 395, 41, 25);
        QTest::newRow("last OK") << "BT_OK(8)" << QRect(633, 590, 41, 25);
        QTest::newRow("first level") << "BT_level(0)" << QRect(130, 0, 121, 25);
        QTest::newRow("last level") << "BT_level(5)" << QRect(735, 0, 121, 25);
        QTest::newRow("exit") << "BT_exit" << QRect(19, 47, 44, 44);
        QTest::newRow("order") << "BT_mode(1)" << QRect(67, 581, 44, 44);
        QTest::newRow("next") << "BT_next" << QRect(878, 273, 44, 44);
        QTest::newRow("slider") << "Slider1" << QRect(800, 643, 168, 23);
    }
    void layoutOfTheMainControls() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        open();
        QCOMPARE(control<QWidget>(name)->geometry(), place);
    }

    // One card through its faces and states, with what each label says.
    void cardFacesAndStates() {
        QDir(dir_.path()).mkpath(u"images"_s);
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(dir_.filePath(u"images/w1.jpg"_s), "JPG"));
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true);
        deck.word({.key = 1,
                   .times = 4,
                   .word = u"cat"_s,
                   .meaning = u"ねこ"_s,
                   .text1 = u"a black cat"_s,
                   .text2 = u"1-02-03"_s});
        deck.word({.key = 2}); // no picture file, no optional texts
        useDeck(deck);
        open();
        QVERIFY(click(button(u"BT_level(0)"_s)));

        const QStringList open{u"Im_word"_s, u"LB_meanings"_s, u"Lb_kaisu"_s, u"Lb_wno"_s,
                               u"BT_OK"_s,   u"BT_NG"_s,       u"BT_WAV"_s};
        QCOMPARE(visibleParts(0), open);
        QVERIFY(!control<CardLabel>(u"Im_word(0)"_s)->pixmap().isNull());
        QCOMPARE(label(u"LB_meanings(0)"_s)->text(), u"ねこ"_s);
        QCOMPARE(label(u"Lb_kaisu(0)"_s)->text(), u"5回目"_s);
        QCOMPARE(label(u"Lb_wno(0)"_s)->text(), u"1-02-03"_s);
        QCOMPARE(fillOf(0), std::nullopt);
        // Nulls show as empty texts; a missing picture as its placeholder with the word (no
        // meaning here), the other card's picture as it is.
        QCOMPARE(visibleParts(1), open);
        QVERIFY(control<CardLabel>(u"Im_word(1)"_s)->pixmap().isNull());
        QVERIFY(control<CardLabel>(u"Im_word(1)"_s)->showsPlaceholder());
        QCOMPARE(control<CardLabel>(u"Im_word(1)"_s)->placeholderText(), u"word2"_s);
        QVERIFY(!control<CardLabel>(u"Im_word(0)"_s)->showsPlaceholder());
        QCOMPARE(label(u"LB_meanings(1)"_s)->text(), QString());
        QCOMPARE(label(u"Lb_kaisu(1)"_s)->text(), u"1回目"_s);
        QCOMPARE(label(u"Lb_wno(1)"_s)->text(), QString());
        QVERIFY(visibleParts(2).isEmpty());

        QVERIFY(click(control<QWidget>(u"Im_word(0)"_s)));
        QCOMPARE(visibleParts(0), (QStringList{u"LB_word"_s, u"LB_meaning"_s} + open.mid(1)));
        QCOMPARE(label(u"LB_word(0)"_s)->text(), u"cat"_s);
        QCOMPARE(label(u"LB_meaning(0)"_s)->text(), u"a black cat"_s);

        QVERIFY(click(button(u"BT_NG(0)"_s)));
        QCOMPARE(visibleParts(0), open);
        QCOMPARE(fillOf(0), QColor(Qt::red));
        QCOMPARE(fake_->sound.plays.last().path, u"/sounds/ng.wav"_s);

        QVERIFY(click(button(u"BT_OK(0)"_s)));
        QCOMPARE(visibleParts(0), QStringList{u"BT_OK"_s});
        QCOMPARE(fillOf(0), QColor(Qt::green));
    }

    // A parent's own card code, longer than the design's "9-99-99", is shown whole.
    void longCardCodeFits() {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true);
        deck.word({.key = 1, .text2 = u"12-345-678"_s});
        useDeck(deck);
        open();
        QVERIFY(click(button(u"BT_level(0)"_s)));
        QLabel* code = label(u"Lb_wno(0)"_s);
        QCOMPARE(code->text(), u"12-345-678"_s);
        QVERIFY(QFontMetricsF(code->font()).horizontalAdvance(code->text()) <=
                code->contentsRect().width());
    }

    // The message that ends an activation (the chosen level has no words left) comes up over
    // the built screen, not over an empty one.
    void activationMessageOverTheBuiltScreen() {
        useWords(3); // all at level 0
        PMCM000::LevelChosen = true;
        PMCM000::SelectedLevel = 2;
        QStringList shown;
        fake_->prompter.onMessage = [this, &shown](const FakePrompter::Message&) {
            if (!form_)
                return;
            for (QWidget* w : form_->findChildren<QWidget*>())
                if (w->isVisible() && !w->objectName().isEmpty() &&
                    (w->objectName().startsWith(u"BT_"_s) || w->objectName() == u"Slider1"_s))
                    shown << w->objectName().section(u'(', 0, 0);
            shown.removeDuplicates();
            shown.sort();
        };
        open();
        QCOMPARE(fake_->prompter.texts(),
                 QStringList{u"えらんだランクのれんしゅうがおわりました。"_s});
        QCOMPARE(shown, (QStringList{u"BT_exit"_s, u"BT_level"_s, u"BT_mode"_s, u"BT_view"_s,
                                     u"Slider1"_s}));
        QVERIFY(button(u"BT_level(0)"_s)->isEnabled());
    }

    // A double click turns a card once. After the first click the word label lies where the
    // picture was, so the second half of the double click lands on it.
    void doubleClickTurnsOnce_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("wordSideUp");
        QTest::newRow("picture") << u"Im_word"_s << u"LB_word"_s << true;
        QTest::newRow("word") << u"LB_word"_s << u"Im_word"_s << false;
        QTest::newRow("meaning") << u"LB_meaning"_s << u"Im_word"_s << false;
    }
    void doubleClickTurnsOnce() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, wordSideUp);
        useWords(2);
        open();
        QVERIFY(click(button(u"BT_level(0)"_s)));
        if (first != u"Im_word"_s)
            QVERIFY(click(control<QWidget>(u"Im_word(0)"_s)));
        QWidget* firstControl = control<QWidget>(first + u"(0)"_s);
        QVERIFY(firstControl->isVisible());
        doubleClick(firstControl, control<QWidget>(second + u"(0)"_s));
        QCOMPARE(label(u"LB_word(0)"_s)->isVisible(), wordSideUp);
        QCOMPARE(control<QWidget>(u"Im_word(0)"_s)->isVisible(), !wordSideUp);
    }

    // On a 1280 x 1024 screen the form is wider than the screen (its width follows the
    // height); the slider on its right must still be on the screen.
    void sliderOnScreenWhenTheFormIsWiderThanTheScreen() {
        fake_->screen.height = 1024 * 15;
        fake_->screen.width = 1280 * 15;
        PMCM000::ComputeScreenScale();
        useWords(1);
        open();
        QVERIFY(form_->frameGeometry().width() > 1280);
        const QRect slider(form_->Slider1->mapToGlobal(QPoint(0, 0)), form_->Slider1->size());
        QVERIFY2(slider.left() >= 0 && slider.right() < 1280,
                 qPrintable(u"slider at %1..%2"_s.arg(slider.left()).arg(slider.right())));
        // Moved no further than the controls need: the empty margin right of them may go.
        QVERIFY(form_->frameGeometry().left() > 1280 - form_->frameGeometry().width());
    }

    // Counts right-aligned in three characters; a level without words cannot be chosen.
    void levelButtons() {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).subGroup(1, 2);
        deck.words(1, 1, 0, 5, 1).words(1, 1, 1, 12, 100).words(1, 1, 2, 1234, 1000);
        deck.words(1, 2, 3, 4, 5000); // not marked
        useDeck(deck);
        PMCM000::DialogOpen = true; // left by a dialog: the first activation still builds
        open();
        const QStringList texts{u"  5"_s, u" 12"_s, u"1234"_s, QString(), QString(), QString()};
        for (int level = 0; level < 6; ++level) {
            QCOMPARE(label(u"Lb_level(%1)"_s.arg(level))->text(), texts[level]);
            QCOMPARE(button(u"BT_level(%1)"_s.arg(level))->isEnabled(), level < 3);
        }
        QVERIFY(!click(button(u"BT_next"_s)));
        QVERIFY(click(button(u"BT_level(1)"_s)));
        QCOMPARE(button(u"BT_level(1)"_s)->palette().color(QPalette::Button), QColor(255, 0, 0));
        QCOMPARE(button(u"BT_level(0)"_s)->palette().color(QPalette::Button),
                 QColor(192, 192, 255));
        QVERIFY(click(button(u"BT_NG(0)"_s)));
        QCOMPARE(label(u"Lb_level(1)"_s)->text(), u" 11"_s);
        QCOMPARE(label(u"Lb_level(2)"_s)->text(), u"1235"_s);
    }

    // Effect sounds only while switched on; the voice at the slider's volume once let go.
    void sounds() {
        useWords(2);
        open();
        PMCM000::EffectSoundsOn = false;
        QVERIFY(click(button(u"BT_level(0)"_s)));
        QVERIFY(click(button(u"BT_OK(0)"_s)));
        QVERIFY(fake_->sound.plays.isEmpty());
        PMCM000::EffectSoundsOn = true;
        QVERIFY(click(button(u"BT_NG(1)"_s)));
        QCOMPARE(fake_->sound.plays.last().path, u"/sounds/ng.wav"_s);
        QCOMPARE(fake_->sound.plays.last().volume, volumeWord(2000));
        QVERIFY(!fake_->sound.plays.last().wait);

        auto* slider = control<QSlider>(u"Slider1"_s);
        QCOMPARE(slider->value(), 30000);
        slider->setSliderDown(true);
        slider->setValue(1000);
        QCOMPARE(PMCM000::VoiceVolume, 30000);
        slider->setSliderDown(false);
        QCOMPARE(PMCM000::VoiceVolume, 1000);
        QVERIFY(click(button(u"BT_WAV(1)"_s)));
        QCOMPARE(fake_->sound.plays.last().path, dir_.path() + u"/voice/w2.wav"_s);
        QCOMPARE(fake_->sound.plays.last().volume, volumeWord(1000));
    }

    // A read-only file: the grading is not saved, the word still counts as left in its level
    // (as the file says), and the level still comes to its end.
    void messages() {
        useWords(1);
        QFile::setPermissions(PMCM000::DataFilePath, QFile::ReadOwner);
        open();
        QVERIFY(click(button(u"BT_level(0)"_s)));
        QVERIFY(click(button(u"BT_OK(0)"_s)));
        QCOMPARE(fake_->prompter.messages.size(), 1);
        QVERIFY(click(button(u"BT_next"_s)));
        const QList<FakePrompter::Message>& shown = fake_->prompter.messages;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, u"きろくを ほぞんできませんでした。"_s);
        QCOMPARE(shown[0].title, u"PML0020BT_OK_Click"_s);
        QCOMPARE(shown[1].text, u"えらんだランクのれんしゅうがおわりました。"_s);
        QCOMPARE(shown[1].title, u"MORVピムロカード"_s);
        QCOMPARE(shown[1].buttons, Prompter::Buttons::Ok);
    }

    void leaving_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("programEnds");
        QTest::addColumn<bool>("slideShowBuilt");
        QTest::newRow("exit button") << u"BT_exit"_s << false << true;
        QTest::newRow("もどる") << u"Ver_Exit"_s << false << true;
        QTest::newRow("slide show") << u"BT_view"_s << false << true;
        QTest::newRow("no slide show built in") << u"BT_view"_s << false << false;
        QTest::newRow("close box") << u"close"_s << true << true;
    }
    // The screen's own commands lead on; the close box ends the program.
    void leaving() {
        QFETCH(QString, command);
        QFETCH(bool, programEnds);
        QFETCH(bool, slideShowBuilt);
        useWords(2);
        Forms::registerFactory(Forms::Id::MainMenu, [] { return new QWidget; });
        if (slideShowBuilt)
            Forms::registerFactory(Forms::Id::SlideShow, [] { return new QWidget; });
        QPointer<QWidget> menu = Forms::load(Forms::Id::MainMenu); // loaded, hidden
        open();
        QVERIFY(click(button(u"BT_level(0)"_s)));

        if (command == u"close"_s)
            form_->close();
        else if (command == u"Ver_Exit"_s)
            form_->findChild<QAction*>(command)->trigger();
        else
            QVERIFY(click(button(command)));

        if (!slideShowBuilt) {
            QVERIFY(form_ && form_->isVisible());
            return;
        }
        QTRY_VERIFY(!form_);
        if (programEnds) {
            QTRY_VERIFY(!menu);
            return;
        }
        const Forms::Id next = command == u"BT_view"_s ? Forms::Id::SlideShow : Forms::Id::MainMenu;
        QVERIFY(Forms::instance(next) && Forms::instance(next)->isVisible());
        QVERIFY(menu);
    }

    void menus() {
        useWords(0);
        open();
        form_->findChild<QAction*>(u"Ver_help"_s)->trigger();
        QCOMPARE(fake_->shell.openedDocuments,
                 QStringList{fake_->programFolder() + u"pimlotan説明書.pdf"_s});
        form_->findChild<QAction*>(u"Ver_col"_s)->trigger(); // not built in: nothing
        QVERIFY(form_->isVisible());
    }
};

PIMLOTAN_TEST_MAIN(TestPml0020)
#include "tst_pml0020.moc"
