// Scale factors and layout metrics for screens of different heights.
#include "fakeplatform.h"
#include "layout.h"
#include "pmcm000.h"
#include "testmain.h"

#include <QWidget>

using namespace PMCM000;

class TestScreenScale : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;

  private slots:
    void init() { fake = std::make_unique<FakePlatform>(); }
    void cleanup() { fake.reset(); }

    void factors_data() {
        QTest::addColumn<double>("heightTwips");
        QTest::addColumn<double>("widthTwips");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<double>("factor");
        QTest::newRow("1024 x 768") << 768.0 * 15 << 1024.0 * 15 << 15.0 << 1.0;
        QTest::newRow("800 x 600") << 600.0 * 15 << 800.0 * 15 << 15.0 << 0.78125;
        QTest::newRow("1920 x 1080") << 1080.0 * 15 << 1920.0 * 15 << 15.0 << 1.40625;
        QTest::newRow("1366 x 768") << 768.0 * 15 << 1366.0 * 15 << 15.0 << 1.0;
        // Narrower than 4:3: the width decides, so that the whole form is on the screen.
        QTest::newRow("1280 x 1024") << 1024.0 * 15 << 1280.0 * 15 << 15.0 << 1.25;
        QTest::newRow("768 x 1024, portrait") << 1024.0 * 15 << 768.0 * 15 << 15.0 << 0.75;
        QTest::newRow("no width reported") << 1024.0 * 15 << 0.0 << 15.0 << 4.0 / 3;
        // Both values are rounded, halves to even, before the whole-number division.
        QTest::newRow("fractional twips") << 11519.6 << 15769.6 << 15.4 << 1.0;
        QTest::newRow("half rounds to even") << 11520.0 << 20000.0 << 14.5 << 822.0 / 768;
        QTest::newRow("broken screen report") << 11520.0 << 15360.0 << 0.2 << 1.0;
    }
    void factors() {
        QFETCH(double, heightTwips);
        QFETCH(double, widthTwips);
        QFETCH(double, twipsPerPixel);
        QFETCH(double, factor);
        fake->screen.height = heightTwips;
        fake->screen.width = widthTwips;
        fake->screen.twipsPerPixel = twipsPerPixel;
        ComputeScreenScale();
        QCOMPARE(HeightFactor, factor);
        // One factor for both, keeping the design's 4:3 proportion.
        QCOMPARE(WidthFactor, factor);
        QCOMPARE(FormHeight, factor * 10700);
        QCOMPARE(FormWidth, factor * 15045);
        QCOMPARE(FormScaleWidth, factor * 14925);
        QCOMPARE(FontSize9, factor * 9);
        QCOMPARE(GroupFrameHeight, factor * 8325);
        QCOMPARE(SliderWidth, factor * 2527);
        QCOMPARE(SmallButtonWidth, factor * 615);
    }

    void controlsPlacedFromDesignTwips() {
        fake->screen.height = 1080 * 15;
        fake->screen.width = 1920 * 15;
        ComputeScreenScale();
        QWidget widget;
        Layout::place(&widget, 645, 2175, 735, 315);
        // 1.40625 x twips / 15, rounded.
        QCOMPARE(widget.geometry(), QRect(30, 69, 204, 60));
        Layout::placeScaled(&widget, PageButtonHeight, PageButtonWidth, 0, 150);
        QCOMPARE(widget.geometry(), QRect(10, 0, 52, 60));
    }
};

PIMLOTAN_TEST_MAIN(TestScreenScale)
#include "tst_screenscale.moc"
