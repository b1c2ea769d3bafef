// The slide show's rules, driven tick by tick without widgets.
#include "slideshowfixture.h"

#include <QFile>
#include <QTest>

class TestSlideShowEngine : public QObject {
    Q_OBJECT

    // A loaded and activated engine on a fresh deck.
    struct Show {
        explicit Show(const Levels& counts)
            : fixture(counts) {
            engine.load();
            engine.activate();
        }
        SlideShowFixture fixture;
        SlideShowEngine engine{fixture.shared(), fixture};
        const SlideShowEngine::State& s() const { return engine.state(); }
        QString counter() const { return engine.screen().counterText; }
    };

  private slots:
    void growthAndShrink_data() {
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("fullWidth");
        QTest::addColumn<int>("fullHeight");
        QTest::addColumn<int>("firstHeight");
        QTest::newRow("768 px high") << 1.0 << 6270 << 3630 << 363;
        QTest::newRow("600 px high") << 0.78125 << 4898 << 2836 << 284;
        // 510.5 after the first tick: the half goes to the even neighbour.
        QTest::newRow("1080 px high") << 1.40625 << 8817 << 5105 << 510;
    }
    void growthAndShrink() {
        QFETCH(double, factor);
        QFETCH(int, fullWidth);
        QFETCH(int, fullHeight);
        QFETCH(int, firstHeight);
        SlideShowFixture fixture({2, 0, 0, 0, 0, 0});
        settings.HeightFactor = settings.WidthFactor = factor;
        SlideShowEngine engine(fixture.shared(), fixture);
        engine.load();
        engine.activate();
        const auto& s = engine.state();
        QCOMPARE(s.PictureMaxWidth, fullWidth);
        QCOMPARE(s.PictureMaxHeight, fullHeight);

        engine.play();
        QCOMPARE(s.PictureWidth, 0);
        QVERIFY(engine.screen().Image1.visible);
        engine.Timer1_Timer();
        QCOMPARE(s.PictureHeight, firstHeight);
        const int growth = 1 + ticksOf(engine, Phase::Grow);
        QCOMPARE(growth, 10);
        QVERIFY(s.PictureWidth >= fullWidth || s.PictureHeight >= fullHeight);
        if (factor == 1.0) {
            QCOMPARE(s.PictureWidth, 6270);
            QCOMPARE(s.PictureHeight, 3630);
        }
        QCOMPARE(engine.screen().imageTop, s.PictureHomeTop); // grown from the home corner

        ticksOf(engine, Phase::Hold);
        const int bottom = s.PictureTop + s.PictureHeight;
        const int right = s.PictureLeft + s.PictureWidth;
        int shrink = 0;
        while (phase(engine) == Phase::Shrink && shrink < 100) {
            engine.Timer3_Timer();
            ++shrink;
            const SlideShowScreen& screen = engine.screen();
            QVERIFY(screen.imageWidth >= 0 && screen.imageHeight >= 0);
            if (s.LevelPosition == 1) {
                // Shrinking keeps the bottom-right corner where it was.
                QVERIFY(qAbs(screen.imageTop + s.PictureHeight - bottom) <= 1);
                QVERIFY(qAbs(screen.imageLeft + s.PictureWidth - right) <= 1);
            }
        }
        QCOMPARE(shrink, 10);
        // Gone: the next card has started growing from nothing.
        QCOMPARE(s.LevelPosition, 2);
        QCOMPARE(s.PictureWidth, 0);
        QCOMPARE(phase(engine), Phase::Grow);
    }

    void holdAndVoice_data() {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("holdTicks");
        QTest::newRow("interval 0 (setting absent)") << 0 << 1;
        QTest::newRow("interval 1") << 1 << 2;
        QTest::newRow("interval 10") << 10 << 11;
    }
    void holdAndVoice() {
        QFETCH(int, interval);
        QFETCH(int, holdTicks);
        Show show({1, 0, 0, 0, 0, 0});
        settings.SlideInterval = static_cast<qint16>(interval);
        show.engine.play();
        for (int i = 0; i < 9; ++i)
            show.engine.Timer1_Timer();
        QVERIFY(show.fixture.voices().isEmpty());
        show.engine.Timer1_Timer(); // full size: the first voice
        QCOMPARE(show.fixture.voices(), QStringList{QStringLiteral("w1")});
        QCOMPARE(ticksOf(show.engine, Phase::Hold), holdTicks);
        QCOMPARE(show.fixture.voices(), (QStringList{QStringLiteral("w1"), QStringLiteral("w1")}));
        QCOMPARE(phase(show.engine), Phase::Shrink);
        for (const SlideShowFixture::Voice& voice : show.fixture.spoken) {
            QCOMPARE(voice.path, settings.DataFolder + QStringLiteral("voice/w1.wav"));
            QCOMPARE(voice.volume, 40000);
        }
    }

    void ticksIgnoredInEachPhase_data() {
        QTest::addColumn<int>("phaseToFreeze");
        QTest::addColumn<bool>("byDialog");
        for (bool dialog : {false, true}) {
            const char* how = dialog ? "dialog open" : "paused";
            QTest::addRow("grow, %s", how) << int(Phase::Grow) << dialog;
            QTest::addRow("hold, %s", how) << int(Phase::Hold) << dialog;
            QTest::addRow("shrink, %s", how) << int(Phase::Shrink) << dialog;
        }
    }
    void ticksIgnoredInEachPhase() {
        QFETCH(int, phaseToFreeze);
        QFETCH(bool, byDialog);
        Show show({2, 0, 0, 0, 0, 0});
        settings.SlideInterval = 5;
        auto& engine = show.engine;
        engine.play();
        while (int(phase(engine)) != phaseToFreeze)
            tick(engine);
        tick(engine);
        tick(engine);
        if (byDialog)
            settings.DialogOpen = true;
        else
            engine.pause();
        const auto before = show.s();
        const int voices = show.fixture.voices().size();
        for (int i = 0; i < 30; ++i)
            tick(engine);
        QCOMPARE(int(phase(engine)), phaseToFreeze); // the timer itself keeps running
        QCOMPARE(show.s().PictureWidth, before.PictureWidth);
        QCOMPARE(show.s().PictureTop, before.PictureTop);
        QCOMPARE(show.s().HoldTicks, before.HoldTicks);
        QCOMPARE(show.fixture.voices().size(), voices);

        if (byDialog)
            engine.activate(); // back from the dialog: no rebuild
        else
            engine.play(); // resumes where it stood
        QVERIFY(!settings.DialogOpen);
        QVERIFY(show.s().ShowLoaded && !show.s().Paused);
        QCOMPARE(show.s().LevelPosition, 1);
        tick(engine);
        QVERIFY(show.s().PictureWidth != before.PictureWidth ||
                show.s().HoldTicks != before.HoldTicks);
    }

    void ticksWhileSpeakingAreIgnored() {
        // A device that lets timer ticks through while it speaks (as a nested event loop
        // would): they must not re-enter the show, so each voice is spoken once.
        int plays = 0;
        Show show({2, 0, 0, 0, 0, 0});
        show.fixture.whileSpeaking = [&] {
            ++plays;
            show.engine.Timer1_Timer();
            show.engine.Timer2_Timer();
            show.engine.Timer3_Timer();
        };
        show.engine.play();
        QCOMPARE(ticksOf(show.engine, Phase::Grow), 10);
        QCOMPARE(plays, 1);
        QCOMPARE(ticksOf(show.engine, Phase::Hold), 2);
        QCOMPARE(plays, 2);
        QCOMPARE(ticksOf(show.engine, Phase::Shrink), 10);
        QCOMPARE(show.s().LevelPosition, 2);
    }

    void endOfLevel_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<QString>("offer");
        // Words at levels 0, 2 and 5 only.
        QTest::newRow("Track") << 0 << false << false << QList<int>{0} << ShowTexts::LevelFinished;
        QTest::newRow("Track, repeat") << 2 << true << false << QList<int>{2, 2, 2} << QString();
        QTest::newRow("All from the lowest")
            << 0 << false << true << QList<int>{0, 2, 5} << ShowTexts::GroupFinished;
        QTest::newRow("All from the middle never goes back")
            << 2 << false << true << QList<int>{2, 5} << ShowTexts::GroupFinished;
        QTest::newRow("All from the highest")
            << 5 << false << true << QList<int>{5} << ShowTexts::GroupFinished;
        QTest::newRow("All, repeat wraps to the lowest")
            << 2 << true << true << QList<int>{2, 5, 0, 2} << QString();
    }
    void endOfLevel() {
        QFETCH(int, start);
        QFETCH(bool, repeat);
        QFETCH(bool, all);
        QFETCH(QList<int>, levels);
        QFETCH(QString, offer);
        Show show({2, 0, 3, 0, 0, 1});
        auto& engine = show.engine;
        const QStringList& offers = show.fixture.offers;
        engine.SelectLevel(start);
        if (repeat)
            engine.toggleRepeat();
        if (all)
            engine.toggleMode();
        engine.play();
        QList<int> visited{settings.SelectedLevel};
        // Until the offer, or (with repeat) until enough levels have been seen.
        auto goOn = [&] {
            return offer.isEmpty() ? visited.size() < levels.size() : offers.isEmpty();
        };
        for (int i = 0; i < 40 && goOn(); ++i) {
            engine.next(); // ">>" on the last card runs the end-of-level rules at once
            if (show.s().LevelPosition == 1)
                visited << settings.SelectedLevel;
        }
        if (offer.isEmpty()) {
            // Repeat never offers the practice.
            for (int i = 0; i < 10 && offers.isEmpty(); ++i)
                engine.next();
        }
        QCOMPARE(visited, levels);
        if (offer.isEmpty()) {
            QVERIFY(offers.isEmpty());
            QVERIFY(show.s().ShowLoaded);
        } else {
            QCOMPARE(offers.size(), 1);
            QCOMPARE(offers.first(), offer);
            QVERIFY(!show.s().ShowLoaded);
            QVERIFY(!engine.screen().Image1.visible);
            QCOMPARE(phase(engine), Phase::None);
            QCOMPARE(settings.SelectedLevel, levels.last());
        }
    }

    void levelSteps_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("counter");
        // Words at levels 0 (2), 2 (1) and 5 (4): 1, 3 and 4 are skipped.
        QTest::newRow("up over a gap") << 0 << true << false << 2 << QStringLiteral("  0/  1");
        QTest::newRow("up to the top") << 2 << true << false << 5 << QStringLiteral("  0/  4");
        QTest::newRow("none above") << 5 << true << false << 5 << QStringLiteral("  0/  4");
        QTest::newRow("down over gaps") << 5 << false << false << 2 << QStringLiteral("  0/  1");
        QTest::newRow("none below") << 0 << false << false << 0 << QStringLiteral("  0/  2");
        QTest::newRow("running restarts") << 0 << true << true << 2 << QStringLiteral("  1/  1");
        QTest::newRow("running, down") << 5 << false << true << 2 << QStringLiteral("  1/  1");
    }
    void levelSteps() {
        QFETCH(int, from);
        QFETCH(bool, up);
        QFETCH(bool, running);
        QFETCH(int, to);
        QFETCH(QString, counter);
        Show show({2, 0, 1, 0, 0, 4});
        show.engine.SelectLevel(from);
        if (running) {
            show.engine.play();
            show.engine.next();
        }
        up ? show.engine.nextLevel() : show.engine.previousLevel();
        QCOMPARE(int(settings.SelectedLevel), to);
        QCOMPARE(show.counter(), counter);
        QCOMPARE(show.s().ShowLoaded, running);
        QCOMPARE(show.engine.screen().BT_level_colour[to], ShowTexts::CurrentLevelColour);
        QCOMPARE(show.engine.screen().trackText, ShowTexts::levelMark(to));
        if (running)
            QCOMPARE(show.s().GroupPosition, to == 2 ? 3 : 0);
    }

    void counterForms() {
        Show show({12, 40, 3, 0, 0, 0});
        auto& engine = show.engine;
        QCOMPARE(show.counter(), QStringLiteral("  0/ 12"));
        engine.SelectLevel(1);
        QCOMPARE(show.counter(), QStringLiteral("  0/ 40"));
        engine.play();
        for (int i = 0; i < 4; ++i)
            engine.next();
        QCOMPARE(show.counter(), QStringLiteral("  5/ 40"));
        engine.toggleMode(); // "All": position over the whole group
        QCOMPARE(show.counter(), QStringLiteral(" 17/ 55"));
        engine.StopShow();
        QCOMPARE(show.counter(), QStringLiteral(" 17/ 55"));
        engine.play(); // restarts at the words below plus one
        QCOMPARE(show.counter(), QStringLiteral(" 13/ 55"));
        engine.toggleMode(); // "Track": over the level's tally
        QCOMPARE(show.counter(), QStringLiteral("  1/ 40"));
        engine.StopShow();
        QCOMPARE(show.counter(), QStringLiteral("  0/ 40"));
        QCOMPARE(engine.screen().playText, ShowTexts::Stopped);
    }

    void nextAndPrevious() {
        Show show({3, 0, 0, 0, 0, 0});
        auto& engine = show.engine;
        engine.next(); // nothing is shown yet
        QCOMPARE(show.s().LevelPosition, 0);
        engine.play();
        QVERIFY(!engine.screen().BT_prev.enabled);
        QVERIFY(engine.screen().BT_next.enabled);
        tick(engine);
        tick(engine);
        engine.previous(); // on the first card: said, and the card goes on growing
        QCOMPARE(show.fixture.firstCards, 1);
        QCOMPARE(show.s().LevelPosition, 1);
        QCOMPARE(phase(engine), Phase::Grow);
        QCOMPARE(show.s().PictureWidth, 2 * 627);

        engine.next();
        engine.next();
        QCOMPARE(show.s().LevelPosition, 3);
        QVERIFY(engine.screen().BT_prev.enabled);
        QVERIFY(!engine.screen().BT_next.enabled);
        engine.previous();
        QCOMPARE(show.s().LevelPosition, 2);
        QCOMPARE(show.s().GroupPosition, 2);
        QVERIFY(engine.screen().picturePath.endsWith(QStringLiteral("images/w2.jpg")));
        QCOMPARE(show.s().PictureWidth, 0); // the card starts again from its growth

        // Paused: the new card waits at size 0 for play.
        engine.pause();
        engine.next();
        QCOMPARE(show.s().LevelPosition, 3);
        for (int i = 0; i < 5; ++i)
            tick(engine);
        QCOMPARE(show.s().PictureWidth, 0);
        QVERIFY(engine.screen().Image1.visible);
        engine.play();
        tick(engine);
        QCOMPARE(show.s().PictureWidth, 627);
    }

    void activation() {
        Show show({0, 3, 0, 0, 2, 0});
        auto& engine = show.engine;
        const SlideShowScreen& screen = engine.screen();
        // The lowest level present is the default; only levels present can be chosen.
        QCOMPARE(int(settings.SelectedLevel), 1);
        QVERIFY(settings.LevelChosen);
        QCOMPARE(QStringList(screen.Lb_level.begin(), screen.Lb_level.end()),
                 (QStringList{QString(), QStringLiteral("  3"), QString(), QString(),
                              QStringLiteral("  2"), QString()}));
        QVERIFY(!screen.BT_level[0].enabled && screen.BT_level[1].enabled &&
                screen.BT_level[4].enabled);
        QCOMPARE(show.s().GroupTotal, 5);
        QCOMPARE(show.s().HighestLevel, 4);

        // A running show is rebuilt stopped, with repeat off and "Track", when the form is
        // activated again (the about box closed).
        engine.toggleRepeat();
        engine.toggleMode();
        engine.play();
        engine.activate();
        QVERIFY(!show.s().ShowLoaded && !show.s().RepeatOn && !show.s().AllLevels);
        QCOMPARE(show.s().LevelPosition, 0);
        QCOMPARE(screen.playText, ShowTexts::Stopped);
        QCOMPARE(phase(engine), Phase::None);
        engine.next(); // no card is on screen any more
        QCOMPARE(show.s().LevelPosition, 0);

        // Back from a preference dialog, the running show goes on untouched.
        engine.toggleRepeat();
        engine.play();
        tick(engine);
        settings.DialogOpen = true;
        engine.activate();
        QVERIFY(!settings.DialogOpen);
        QVERIFY(show.s().ShowLoaded && show.s().RepeatOn);
        QCOMPARE(show.s().PictureWidth, 627);

        // Paused, also after a stop while paused, the activation changes nothing.
        engine.pause();
        engine.activate();
        QVERIFY(show.s().ShowLoaded && show.s().Paused && show.s().RepeatOn);
        engine.StopShow();
        engine.activate();
        QVERIFY(show.s().Paused && show.s().RepeatOn);
    }

    void startingLevelFromThePractice_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("picture");
        QTest::newRow("level with words") << 3 << QStringLiteral("  1/  4") << "w301.jpg";
        // A level that has lost its words since: play stays stopped.
        QTest::newRow("level without words") << 2 << QStringLiteral("  0/  0") << QString();
    }
    void startingLevelFromThePractice() {
        QFETCH(int, level);
        QFETCH(QString, counter);
        QFETCH(QString, picture);
        SlideShowFixture fixture({5, 0, 0, 4, 0, 0});
        settings.LevelChosen = true;
        settings.SelectedLevel = static_cast<qint16>(level);
        SlideShowEngine engine(fixture.shared(), fixture);
        engine.load();
        engine.activate();
        QCOMPARE(int(settings.SelectedLevel), level);
        engine.play();
        QCOMPARE(engine.screen().counterText, counter);
        QCOMPARE(engine.state().ShowLoaded, !picture.isEmpty());
        QCOMPARE(phase(engine), picture.isEmpty() ? Phase::None : Phase::Grow);
        if (!picture.isEmpty()) {
            QVERIFY(engine.screen().picturePath.endsWith(picture));
            QVERIFY(!engine.screen().pictureText.isEmpty()); // for a picture that is missing
        }
    }

    void tallyAndWordsDisagree() {
        // The words were marked after the tally was read: the show plays them, and at the
        // end of the level "All" with repeat finds no level with words and stops.
        SlideShowFixture fixture({2, 0, 0, 0, 0, 0});
        const auto mark = [&fixture](int marked) {
            DeckFixture::execute(fixture.deckPath,
                                 {QStringLiteral("UPDATE subgroup SET \"select\" = %1 "
                                                 "WHERE sgroup = 1")
                                      .arg(marked)});
            WordDataFile::closeAll();
        };
        mark(0);
        SlideShowEngine engine(fixture.shared(), fixture);
        engine.load();
        engine.activate();
        QCOMPARE(engine.state().GroupTotal, 0);
        mark(1);
        engine.toggleRepeat();
        engine.toggleMode();
        engine.play();
        QCOMPARE(engine.state().CardCount, 2);
        engine.next();
        engine.next();
        QVERIFY(!engine.state().ShowLoaded);
        QCOMPARE(phase(engine), Phase::None);
    }

    void unreadableFileIsReported() {
        SlideShowFixture fixture({1, 0, 0, 0, 0, 0});
        const QString text = fixture.dir.filePath(QStringLiteral("notes.pml"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a word-data file\r\n");
        file.close();
        settings.DataFilePath = text;
        SlideShowEngine engine(fixture.shared(), fixture);
        const QStringList& errors = fixture.errors;
        engine.load();
        engine.activate();
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first(), QStringLiteral("Form_Activate"));
        engine.play(); // fails silently, stopped
        QCOMPARE(errors.size(), 1);
        QVERIFY(!engine.state().ShowLoaded);
        QCOMPARE(engine.screen().playText, ShowTexts::Stopped);
    }
};

QTEST_GUILESS_MAIN(TestSlideShowEngine)
#include "tst_slideshowengine.moc"
