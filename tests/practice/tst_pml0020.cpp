// The practice screen offscreen: what its controls show, its sounds, menus and ways out.
#include "activatableform.h"
#include "deckfixture.h"
#include "doubleclick.h"
#include "fakeplatform.h"
#include "forms.h"
#include "picturebox.h"
#include "pmcm000.h"
#include "pml0020.h"
#include "rectangleshape.h"
#include "testmain.h"
#include "userclick.h"
#include "worddatafile.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>

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
                             QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pml"));
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
    static bool click(QWidget* widget) { return clickAsUser(widget); }
    // The controls of card p that can be seen, by name without the index.
    QStringList visibleParts(int p) const {
        QStringList parts;
        for (const QString& name :
             {QStringLiteral("Im_word"), QStringLiteral("LB_word"), QStringLiteral("LB_meaning"),
              QStringLiteral("LB_meanings"), QStringLiteral("Lb_kaisu"), QStringLiteral("Lb_wno"),
              QStringLiteral("BT_OK"), QStringLiteral("BT_NG"), QStringLiteral("BT_WAV")})
            if (control<QWidget>(QStringLiteral("%1(%2)").arg(name).arg(p))->isVisible())
                parts << name;
        return parts;
    }
    std::optional<QColor> fillOf(int p) const {
        return control<RectangleShape>(QStringLiteral("Sh_word(%1)").arg(p))->fill();
    }

  private slots:
    void init() {
        fake_ = std::make_unique<FakePlatform>();
        PMCM000::AppFolder = fake_->programFolder();
        PMCM000::DataFolder = dir_.path() + u'/';
        PMCM000::PracticeBackColor = QStringLiteral("16777215");
        PMCM000::OkColor = QStringLiteral("65280"); // green
        PMCM000::NgColor = QStringLiteral("255");   // red
        PMCM000::OkSoundPath = QStringLiteral("/sounds/ok.wav");
        PMCM000::NgSoundPath = QStringLiteral("/sounds/ng.wav");
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
        QDir(dir_.path()).mkpath(QStringLiteral("images"));
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(dir_.filePath(QStringLiteral("images/w1.jpg")), "JPG"));
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true);
        deck.word({.key = 1,
                   .times = 4,
                   .word = QStringLiteral("cat"),
                   .meaning = QStringLiteral("ねこ"),
                   .text1 = QStringLiteral("a black cat"),
                   .text2 = QStringLiteral("1-02-03")});
        deck.word({.key = 2}); // no picture file, no optional texts
        useDeck(deck);
        open();
        QVERIFY(click(button(QStringLiteral("BT_level(0)"))));

        const QStringList open{QStringLiteral("Im_word"),  QStringLiteral("LB_meanings"),
                               QStringLiteral("Lb_kaisu"), QStringLiteral("Lb_wno"),
                               QStringLiteral("BT_OK"),    QStringLiteral("BT_NG"),
                               QStringLiteral("BT_WAV")};
        QCOMPARE(visibleParts(0), open);
        QVERIFY(!control<PictureBox>(QStringLiteral("Im_word(0)"))->pixmap().isNull());
        QCOMPARE(label(QStringLiteral("LB_meanings(0)"))->text(), QStringLiteral("ねこ"));
        QCOMPARE(label(QStringLiteral("Lb_kaisu(0)"))->text(), QStringLiteral("5回目"));
        QCOMPARE(label(QStringLiteral("Lb_wno(0)"))->text(), QStringLiteral("1-02-03"));
        QCOMPARE(fillOf(0), std::nullopt);
        // Nulls show as empty texts; a missing picture as its placeholder with the word (no
        // meaning here), the other card's picture as it is.
        QCOMPARE(visibleParts(1), open);
        QVERIFY(control<PictureBox>(QStringLiteral("Im_word(1)"))->pixmap().isNull());
        QVERIFY(control<PictureBox>(QStringLiteral("Im_word(1)"))->showsPlaceholder());
        QCOMPARE(control<PictureBox>(QStringLiteral("Im_word(1)"))->placeholderText(),
                 QStringLiteral("word2"));
        QVERIFY(!control<PictureBox>(QStringLiteral("Im_word(0)"))->showsPlaceholder());
        QCOMPARE(label(QStringLiteral("LB_meanings(1)"))->text(), QString());
        QCOMPARE(label(QStringLiteral("Lb_kaisu(1)"))->text(), QStringLiteral("1回目"));
        QCOMPARE(label(QStringLiteral("Lb_wno(1)"))->text(), QString());
        QVERIFY(visibleParts(2).isEmpty());

        QVERIFY(click(control<QWidget>(QStringLiteral("Im_word(0)"))));
        QCOMPARE(
            visibleParts(0),
            (QStringList{QStringLiteral("LB_word"), QStringLiteral("LB_meaning")} + open.mid(1)));
        QCOMPARE(label(QStringLiteral("LB_word(0)"))->text(), QStringLiteral("cat"));
        QCOMPARE(label(QStringLiteral("LB_meaning(0)"))->text(), QStringLiteral("a black cat"));

        QVERIFY(click(button(QStringLiteral("BT_NG(0)"))));
        QCOMPARE(visibleParts(0), open);
        QCOMPARE(fillOf(0), QColor(Qt::red));
        QCOMPARE(fake_->sound.plays.last().path, QStringLiteral("/sounds/ng.wav"));

        QVERIFY(click(button(QStringLiteral("BT_OK(0)"))));
        QCOMPARE(visibleParts(0), QStringList{QStringLiteral("BT_OK")});
        QCOMPARE(fillOf(0), QColor(Qt::green));
    }

    // A parent's own card code, longer than the design's "9-99-99", is shown whole.
    void longCardCodeFits() {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true);
        deck.word({.key = 1, .text2 = QStringLiteral("12-345-678")});
        useDeck(deck);
        open();
        QVERIFY(click(button(QStringLiteral("BT_level(0)"))));
        QLabel* code = label(QStringLiteral("Lb_wno(0)"));
        QCOMPARE(code->text(), QStringLiteral("12-345-678"));
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
                    (w->objectName().startsWith(QStringLiteral("BT_")) ||
                     w->objectName() == QStringLiteral("Slider1")))
                    shown << w->objectName().section(u'(', 0, 0);
            shown.removeDuplicates();
            shown.sort();
        };
        open();
        QCOMPARE(fake_->prompter.texts(),
                 QStringList{QStringLiteral("えらんだランクのれんしゅうがおわりました。")});
        QCOMPARE(shown, (QStringList{QStringLiteral("BT_exit"), QStringLiteral("BT_level"),
                                     QStringLiteral("BT_mode"), QStringLiteral("BT_view"),
                                     QStringLiteral("Slider1")}));
        QVERIFY(button(QStringLiteral("BT_level(0)"))->isEnabled());
    }

    // A double click turns a card once. After the first click the word label lies where the
    // picture was, so the second half of the double click lands on it.
    void doubleClickTurnsOnce_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("wordSideUp");
        QTest::newRow("picture") << QStringLiteral("Im_word") << QStringLiteral("LB_word") << true;
        QTest::newRow("word") << QStringLiteral("LB_word") << QStringLiteral("Im_word") << false;
        QTest::newRow("meaning") << QStringLiteral("LB_meaning") << QStringLiteral("Im_word")
                                 << false;
    }
    void doubleClickTurnsOnce() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, wordSideUp);
        useWords(2);
        open();
        QVERIFY(click(button(QStringLiteral("BT_level(0)"))));
        if (first != QStringLiteral("Im_word"))
            QVERIFY(click(control<QWidget>(QStringLiteral("Im_word(0)"))));
        QWidget* firstControl = control<QWidget>(first + QStringLiteral("(0)"));
        QVERIFY(firstControl->isVisible());
        doubleClick(firstControl, control<QWidget>(second + QStringLiteral("(0)")));
        QCOMPARE(label(QStringLiteral("LB_word(0)"))->isVisible(), wordSideUp);
        QCOMPARE(control<QWidget>(QStringLiteral("Im_word(0)"))->isVisible(), !wordSideUp);
    }

    // On a 1280 x 1024 screen the whole form is on the screen, from the exit button on its
    // left to the slider on its right.
    void wholeFormOnANarrowScreen() {
        fake_->screen.height = 1024 * 15;
        fake_->screen.width = 1280 * 15;
        PMCM000::ComputeScreenScale();
        useWords(1);
        open();
        QCOMPARE(PMCM000::HeightFactor, 1.25);
        QVERIFY2(form_->frameGeometry().width() <= 1280,
                 qPrintable(QString::number(form_->frameGeometry().width())));
        form_->move(0, 0);
        for (QWidget* control : {static_cast<QWidget*>(form_->Slider1),
                                 form_->findChild<QWidget*>(QStringLiteral("BT_exit"))}) {
            const QRect shown(control->mapToGlobal(QPoint(0, 0)), control->size());
            QVERIFY2(shown.left() >= 0 && shown.right() < 1280,
                     qPrintable(QStringLiteral("%1 at %2..%3")
                                    .arg(control->objectName())
                                    .arg(shown.left())
                                    .arg(shown.right())));
        }
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
        const QStringList texts{QStringLiteral("  5"),
                                QStringLiteral(" 12"),
                                QStringLiteral("1234"),
                                QString(),
                                QString(),
                                QString()};
        for (int level = 0; level < 6; ++level) {
            QCOMPARE(label(QStringLiteral("Lb_level(%1)").arg(level))->text(), texts[level]);
            QCOMPARE(button(QStringLiteral("BT_level(%1)").arg(level))->isEnabled(), level < 3);
        }
        QVERIFY(!click(button(QStringLiteral("BT_next"))));
        QVERIFY(click(button(QStringLiteral("BT_level(1)"))));
        QCOMPARE(button(QStringLiteral("BT_level(1)"))->palette().color(QPalette::Button),
                 QColor(255, 0, 0));
        QCOMPARE(button(QStringLiteral("BT_level(0)"))->palette().color(QPalette::Button),
                 QColor(192, 192, 255));
        QVERIFY(click(button(QStringLiteral("BT_NG(0)"))));
        QCOMPARE(label(QStringLiteral("Lb_level(1)"))->text(), QStringLiteral(" 11"));
        QCOMPARE(label(QStringLiteral("Lb_level(2)"))->text(), QStringLiteral("1235"));
    }

    // Effect sounds only while switched on; the voice at the slider's volume once let go.
    void sounds() {
        useWords(2);
        open();
        PMCM000::EffectSoundsOn = false;
        QVERIFY(click(button(QStringLiteral("BT_level(0)"))));
        QVERIFY(click(button(QStringLiteral("BT_OK(0)"))));
        QVERIFY(fake_->sound.plays.isEmpty());
        PMCM000::EffectSoundsOn = true;
        QVERIFY(click(button(QStringLiteral("BT_NG(1)"))));
        QCOMPARE(fake_->sound.plays.last().path, QStringLiteral("/sounds/ng.wav"));
        QCOMPARE(fake_->sound.plays.last().volume, volumeWord(2000));
        QVERIFY(!fake_->sound.plays.last().wait);

        auto* slider = control<QSlider>(QStringLiteral("Slider1"));
        QCOMPARE(slider->value(), 30000);
        slider->setSliderDown(true);
        slider->setValue(1000);
        QCOMPARE(PMCM000::VoiceVolume, 30000);
        slider->setSliderDown(false);
        QCOMPARE(PMCM000::VoiceVolume, 1000);
        QVERIFY(click(button(QStringLiteral("BT_WAV(1)"))));
        QCOMPARE(fake_->sound.plays.last().path, dir_.path() + QStringLiteral("/voice/w2.wav"));
        QCOMPARE(fake_->sound.plays.last().volume, volumeWord(1000));
    }

    // A read-only file: the grading is not saved, the word still counts as left in its level
    // (as the file says), and the level still comes to its end.
    void messages() {
        useWords(1);
        QFile::setPermissions(PMCM000::DataFilePath, QFile::ReadOwner);
        open();
        QVERIFY(click(button(QStringLiteral("BT_level(0)"))));
        QVERIFY(!control<QLabel>(QStringLiteral("notSaved"))->isVisible());
        QVERIFY(click(button(QStringLiteral("BT_OK(0)"))));
        QCOMPARE(fake_->prompter.messages.size(), 1);
        QVERIFY(control<QLabel>(QStringLiteral("notSaved"))->isVisible());
        QVERIFY(click(button(QStringLiteral("BT_next"))));
        const QList<FakePrompter::Message>& shown = fake_->prompter.messages;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("きろくを ほぞんできませんでした。"));
        QCOMPARE(shown[0].title, QStringLiteral("PML0020BT_OK_Click"));
        QCOMPARE(shown[1].text, QStringLiteral("えらんだランクのれんしゅうがおわりました。"));
        QCOMPARE(shown[1].title, QStringLiteral("MORVピムロカード"));
        QCOMPARE(shown[1].buttons, Prompter::Buttons::Ok);
    }

    void leaving_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("programEnds");
        QTest::addColumn<bool>("slideShowBuilt");
        QTest::newRow("exit button") << QStringLiteral("BT_exit") << false << true;
        QTest::newRow("もどる") << QStringLiteral("Ver_Exit") << false << true;
        QTest::newRow("slide show") << QStringLiteral("BT_view") << false << true;
        QTest::newRow("no slide show built in") << QStringLiteral("BT_view") << false << false;
        QTest::newRow("close box") << QStringLiteral("close") << true << true;
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
        QVERIFY(click(button(QStringLiteral("BT_level(0)"))));

        if (command == QStringLiteral("close"))
            form_->close();
        else if (command == QStringLiteral("Ver_Exit"))
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
        const Forms::Id next =
            command == QStringLiteral("BT_view") ? Forms::Id::SlideShow : Forms::Id::MainMenu;
        QVERIFY(Forms::instance(next) && Forms::instance(next)->isVisible());
        QVERIFY(menu);
    }

    void menus() {
        useWords(0);
        open();
        form_->findChild<QAction*>(QStringLiteral("Ver_help"))->trigger();
        QCOMPARE(fake_->shell.openedDocuments,
                 QStringList{fake_->programFolder() + QStringLiteral("pimlotan説明書.pdf")});
        form_->findChild<QAction*>(QStringLiteral("Ver_col"))->trigger(); // not built in: nothing
        QVERIFY(form_->isVisible());
    }
};

PIMLOTAN_TEST_MAIN(TestPml0020)
#include "tst_pml0020.moc"
