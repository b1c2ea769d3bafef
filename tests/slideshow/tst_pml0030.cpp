// The slide-show screen offscreen: what its controls show and how it is left.
#include "fakeplatform.h"
#include "fittedlabel.h"
#include "forms.h"
#include "picturebox.h"
#include "pmcm000.h"
#include "pml0030.h"
#include "slideshowfixture.h"
#include "testmain.h"
#include "userclick.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>

using namespace PMCM000;

namespace {
bool click(QWidget* control) {
    return clickAsUser(control);
}

// The fake platform and the shared settings pointing at a deck.
struct ScreenFixture {
    explicit ScreenFixture(const Levels& counts)
        : deck(counts) {
        DataFilePath = deck.deckPath;
        DataFolder = deck.dir.path() + u'/';
        SlideInterval = 1;
        VoiceVolume = 40000;
    }
    FakePlatform fake;
    SlideShowDeck deck;
};

QColor panelColour(const PML0030& form) {
    return form.SH_display->palette().color(QPalette::Window);
}
} // namespace

class TestPml0030 : public QObject {
    Q_OBJECT
    std::unique_ptr<ScreenFixture> fixture;
    QPointer<PML0030> form;
    QPointer<QWidget> mainMenu;
    QPointer<QWidget> practice;

    void open(const Levels& counts = {3, 2, 0, 0, 0, 0}) {
        fixture = std::make_unique<ScreenFixture>(counts);
        Forms::registerFactory(Forms::Id::MainMenu, [this] { return mainMenu = new QWidget; });
        Forms::registerFactory(Forms::Id::Practice, [this] { return practice = new QWidget; });
        Forms::registerFactory(Forms::Id::SlideShow, [] { return new PML0030; });
        form = qobject_cast<PML0030*>(Forms::show(Forms::Id::SlideShow));
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->Form_Activate();
    }

  private slots:
    void cleanup() {
        Forms::unloadAll();
        QTRY_VERIFY(!form && !mainMenu && !practice);
        Forms::clear();
        fixture.reset();
    }

    void cardGrowsOnScreen() {
        open();
        QCOMPARE(form->LB_no->text(), QStringLiteral("  0/  3"));
        QCOMPARE(form->BT_level[0]->palette().color(QPalette::Button), QColor(0xFF, 0, 0));
        QCOMPARE(form->BT_level[1]->palette().color(QPalette::Button), QColor(0xC0, 0xC0, 0xFF));
        QVERIFY(!form->BT_level[2]->isEnabled());
        QVERIFY(!form->BT_exit->icon().isNull() && !form->BT_view->icon().isNull());
        QVERIFY(click(form->BT_WAV));
        QCOMPARE(form->LB_play->text(), ShowTexts::Playing);
        for (int i = 0; i < 5; ++i)
            form->Timer1_Timer();
        // Half grown, from the home corner; the picture file is missing: an empty picture.
        QCOMPARE(form->Image1->geometry(), QRect(281, 197, 209, 121));
        QVERIFY(form->Image1->isVisible());
        QCOMPARE(form->LB_no->text(), QStringLiteral("  1/  3"));
        QVERIFY(click(form->BT_itiji));
        QCOMPARE(form->LB_play->text(), ShowTexts::Paused);
        QVERIFY(!form->BT_itiji->isEnabled());
    }

    // The voice is spoken at the voice volume, and the show waits for it to end.
    void voiceIsSpokenAndWaitedFor() {
        open();
        QVERIFY(click(form->BT_WAV));
        for (int i = 0; i < 10; ++i)
            form->Timer1_Timer();
        const auto& plays = fixture->fake.sound.plays;
        QCOMPARE(plays.size(), 1);
        QCOMPARE(plays[0].path, DataFolder + QStringLiteral("voice/w1.wav"));
        QVERIFY(plays[0].wait);
        QCOMPARE(plays[0].volume, 40000u | (40000u << 16));
    }

    // A dialog left open over the main menu must not leave the first show empty and dead.
    void firstActivationBuildsDespiteALeftoverDialog() {
        fixture = std::make_unique<ScreenFixture>(Levels{3, 2, 0, 0, 0, 0});
        DialogOpen = true;
        PML0030 show;
        show.Form_Activate();
        QVERIFY(!DialogOpen);
        QVERIFY(show.BT_level[0]->isVisibleTo(&show) && show.BT_level[0]->isEnabled());
        QVERIFY(show.Slider1->isVisibleTo(&show) && show.BT_WAV->isEnabled());
        QCOMPARE(show.LB_no->text(), QStringLiteral("  0/  3"));
        // Once built, coming back from a dialog keeps the screen as it is.
        show.Bt_repeat_Click();
        DialogOpen = true;
        show.Form_Activate();
        QVERIFY(!DialogOpen);
        QVERIFY(show.LB_repeat->isVisibleTo(&show));
    }

    // Places at scale factor 1, in pixels of the design twips (15 to a pixel).
    void layoutOfTheMainControls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("place");
        QTest::newRow("third level") << "BT_level(2)" << QRect(372, 0, 121, 25);
        QTest::newRow("exit") << "BT_exit" << QRect(19, 47, 44, 44);
        QTest::newRow("practice") << "BT_view" << QRect(67, 47, 44, 44);
        QTest::newRow("panel") << "SH_display" << QRect(322, 463, 367, 66);
        QTest::newRow("counter") << "LB_no" << QRect(433, 486, 211, 38);
        QTest::newRow("play state") << "LB_play" << QRect(567, 486, 47, 38);
        QTest::newRow("first player button") << "BT_track_back" << QRect(361, 530, 41, 25);
        QTest::newRow("last player button") << "BT_track_next" << QRect(607, 530, 41, 25);
        QTest::newRow("slider") << "Slider1" << QRect(800, 643, 168, 23);
    }
    void layoutOfTheMainControls() {
        QFETCH(QString, control);
        QFETCH(QRect, place);
        open();
        auto* widget = form->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), place);
    }

    // A four-digit counter shrinks to stay clear of the play state, from its given place.
    void fourDigitCounterFits() {
        open();
        const double designPoints = form->LB_no->font().pointSizeF();
        form->LB_no->setFittedText(QStringLiteral("1234/1234"));
        QCOMPARE(form->LB_no->text(), QStringLiteral("1234/1234"));
        QCOMPARE(form->LB_no->geometry(), QRect(433, 486, 211, 38));
        const QFontMetricsF metrics(form->LB_no->font());
        const qreal textRight = form->LB_no->x() + form->LB_no->contentsRect().left() +
                                metrics.horizontalAdvance(form->LB_no->text());
        QVERIFY2(textRight <= form->LB_play->x(), qPrintable(QString::number(textRight)));
        QVERIFY(form->LB_no->font().pointSizeF() < designPoints);
        QVERIFY(form->LB_no->font().pointSizeF() >= designPoints * 0.7);
        // A short counter keeps the design type.
        form->LB_no->setFittedText(QStringLiteral("  5/ 40"));
        QCOMPARE(form->LB_no->font().pointSizeF(), designPoints);
    }

    void panelColourCycle() {
        open();
        const QList<QColor> cycle{QColor(0xFF, 0xC0, 0x80), QColor(0x80, 0xFF, 0xFF),
                                  QColor(0, 0, 0xFF), QColor(0, 0xC0, 0)};
        QCOMPARE(panelColour(*form), QColor(0, 0xC0, 0));
        for (const QColor& next : cycle) {
            QVERIFY(click(form->BT_color));
            QCOMPARE(panelColour(*form), next);
        }
    }

    void panelVisibility() {
        open();
        QVERIFY(form->SH_display->isVisible() && form->LB_play->isVisible());
        QVERIFY(!form->LB_repeat->isVisible());
        QVERIFY(click(form->BT_display));
        for (QWidget* w :
             {static_cast<QWidget*>(form->SH_display), static_cast<QWidget*>(form->LB_track),
              static_cast<QWidget*>(form->LB_no), static_cast<QWidget*>(form->LB_play),
              static_cast<QWidget*>(form->LB_mode)})
            QVERIFY(!w->isVisible());
        // Repeat switched on while the panel is hidden shows with the panel.
        QVERIFY(click(form->Bt_repeat));
        QVERIFY(!form->LB_repeat->isVisible());
        QVERIFY(click(form->BT_display));
        QVERIFY(form->LB_repeat->isVisible() && form->LB_play->isVisible());

        // Hidden, then the about box closes: the rebuild shows the panel but not the play
        // state, which comes back with "ひょうじ" pressed twice.
        QVERIFY(click(form->BT_display));
        form->Form_Activate();
        QVERIFY(form->SH_display->isVisible() && form->LB_no->isVisible());
        QVERIFY(form->LB_mode->isVisible());
        QCOMPARE(form->LB_mode->text(), QStringLiteral("Track"));
        QVERIFY(!form->LB_play->isVisible());
        QVERIFY(!form->LB_repeat->isVisible()); // the rebuild switched repeat off
        QVERIFY(click(form->BT_display));
        QVERIFY(click(form->BT_display));
        QVERIFY(form->LB_play->isVisible());
    }

    void leaving_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("toMainMenu");
        QTest::addColumn<bool>("toPractice");
        QTest::addColumn<bool>("programEnds");
        QTest::newRow("exit button") << "BT_exit" << true << false << false;
        QTest::newRow("menu もどる") << "Ver_Exit" << true << false << false;
        QTest::newRow("practice button") << "BT_view" << false << true << false;
        QTest::newRow("close box") << "close" << false << false << true;
    }
    void leaving() {
        QFETCH(QString, how);
        QFETCH(bool, toMainMenu);
        QFETCH(bool, toPractice);
        QFETCH(bool, programEnds);
        open();
        // The main menu stays loaded, hidden, while the slide show runs.
        QPointer<QWidget> menu = Forms::load(Forms::Id::MainMenu);
        if (how == QStringLiteral("close"))
            form->close();
        else if (QAction* action = form->findChild<QAction*>(how))
            action->trigger();
        else
            QVERIFY(click(form->findChild<QPushButton*>(how)));
        QTRY_VERIFY(!form);
        QCOMPARE(bool(menu) && menu->isVisible(), toMainMenu);
        QCOMPARE(bool(practice) && practice->isVisible(), toPractice);
        QCOMPARE(!menu, programEnds);
    }

    void practiceOffer_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void practiceOffer() {
        QFETCH(bool, accept);
        open({1, 0, 0, 0, 0, 0});
        fixture->fake.prompter.answers << (accept ? Prompter::Answer::Yes : Prompter::Answer::No);
        QVERIFY(click(form->BT_WAV));
        form->BT_next_Click(); // the only card: the level is finished
        const auto& messages = fixture->fake.prompter.messages;
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, ShowTexts::LevelFinished);
        QCOMPARE(messages[0].title, QStringLiteral("MORVミルタ"));
        QCOMPARE(messages[0].buttons, Prompter::Buttons::YesNo);
        QCOMPARE(messages[0].icon, Prompter::Icon::Information);
        if (accept) {
            QTRY_VERIFY(!form);
            QVERIFY(practice && practice->isVisible());
        } else {
            QVERIFY(form && form->isVisible());
            QCOMPARE(form->LB_play->text(), ShowTexts::Stopped);
            QVERIFY(!practice);
        }
    }

    void toThePracticeAndBack() {
        open();
        QVERIFY(click(form->BT_level[1]));
        QVERIFY(click(form->BT_view));
        QTRY_VERIFY(!form);
        QVERIFY(practice && practice->isVisible());
        // The practice switches back: the level chosen here is the starting level.
        form = qobject_cast<PML0030*>(Forms::show(Forms::Id::SlideShow));
        QVERIFY(form);
        form->Form_Activate();
        QCOMPARE(form->LB_track->text(), QStringLiteral("○"));
        QCOMPARE(form->LB_no->text(), QStringLiteral("  0/  2"));
        QVERIFY(!form->LB_repeat->isVisible());
        QCOMPARE(panelColour(*form), QColor(0, 0xC0, 0));
    }

    void menuCommands() {
        open();
        AppFolder = QStringLiteral("/opt/pimlotan/");
        form->Ver_help->trigger();
        QCOMPARE(fixture->fake.shell.openedDocuments,
                 QStringList{QStringLiteral("/opt/pimlotan/pimlotan説明書.pdf")});
        // Dialogs that are not there do nothing; those that are open without closing this.
        form->Ver_col->trigger();
        QPointer<QWidget> about;
        Forms::registerFactory(Forms::Id::About, [&about] { return about = new QWidget; });
        form->Ver_version->trigger();
        QVERIFY(about && about->isVisible());
        QVERIFY(form && form->isVisible());
    }

    // On a 1280 x 1024 screen the whole form fits, the slider at its right included.
    void wholeFormOnANarrowScreen() {
        fixture = std::make_unique<ScreenFixture>(Levels{3, 0, 0, 0, 0, 0});
        fixture->fake.screen.height = 1024 * 15;
        fixture->fake.screen.width = 1280 * 15;
        ComputeScreenScale();
        Forms::registerFactory(Forms::Id::SlideShow, [] { return new PML0030; });
        form = qobject_cast<PML0030*>(Forms::show(Forms::Id::SlideShow));
        form->Form_Activate();
        QVERIFY(form->frameGeometry().width() <= 1280);
        form->move(0, 0);
        const QRect slider(form->Slider1->mapToGlobal(QPoint(0, 0)), form->Slider1->size());
        QVERIFY(slider.left() >= 0 && slider.right() < 1280);
        QVERIFY(form->Slider1->isVisible());
    }

    void sliderSetsVoiceVolume() {
        open();
        VoiceVolume = 1000;
        form->Form_Activate();
        QCOMPARE(form->Slider1->value(), 1000);
        QTest::mouseClick(form->Slider1, Qt::LeftButton, {},
                          QPoint(form->Slider1->width() - 2, form->Slider1->height() / 2));
        QTRY_VERIFY(VoiceVolume > 1000);
        QCOMPARE(VoiceVolume, form->Slider1->value());
    }
};

PIMLOTAN_TEST_MAIN(TestPml0030)
#include "tst_pml0030.moc"
