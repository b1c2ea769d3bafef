// Fitting a text into its label: shrink first, then elide, never past the room.
#include "testmain.h"
#include "textfit.h"

#include <QFontMetricsF>

namespace {
QFont designFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP")});
    font.setPointSizeF(12);
    return font;
}

qreal advance(const TextFit::Fitted& fitted, const QString& line) {
    return QFontMetricsF(fitted.font).horizontalAdvance(line);
}

enum class Expect { Unchanged, Shrunk, Elided };
} // namespace

Q_DECLARE_METATYPE(Expect)

class TestTextFit : public QObject {
    Q_OBJECT

  private slots:
    // Room as a share of the text's width at the design size.
    void oneLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<double>("room");
        QTest::addColumn<Expect>("expect");
        const QString title = QStringLiteral("どうぶつとなかまたちのえいごをおぼえよう");
        const QString count = QStringLiteral("   12個");
        QTest::newRow("fits") << QStringLiteral("No.  7") << QString() << 1.2 << Expect::Unchanged;
        QTest::newRow("shrinks a little")
            << QStringLiteral("No.100") << QString() << 0.9 << Expect::Shrunk;
        QTest::newRow("down to 70 %")
            << QStringLiteral("1234/1234") << QString() << 0.71 << Expect::Shrunk;
        QTest::newRow("then elides")
            << QStringLiteral("12-345-678-90") << QString() << 0.5 << Expect::Elided;
        QTest::newRow("the count stays") << title << count << 0.5 << Expect::Elided;
        QTest::newRow("count and short title")
            << QStringLiteral("いぬ") << count << 1.05 << Expect::Unchanged;
    }
    void oneLine() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(double, room);
        QFETCH(Expect, expect);
        const QFont design = designFont();
        const int width =
            static_cast<int>(QFontMetricsF(design).horizontalAdvance(text + kept) * room);
        const TextFit::Fitted fitted = TextFit::line(text, design, width, kept);

        QVERIFY(advance(fitted, fitted.text) <= width);
        QVERIFY(fitted.font.pointSizeF() >= design.pointSizeF() * TextFit::MinScale - 0.01);
        QVERIFY(fitted.text.endsWith(kept));
        switch (expect) {
        case Expect::Unchanged:
            QCOMPARE(fitted.font.pointSizeF(), design.pointSizeF());
            QCOMPARE(fitted.text, text + kept);
            break;
        case Expect::Shrunk:
            QVERIFY(fitted.font.pointSizeF() < design.pointSizeF());
            QCOMPARE(fitted.text, text + kept);
            break;
        case Expect::Elided:
            QCOMPARE(fitted.font.pointSizeF(), design.pointSizeF() * TextFit::MinScale);
            QVERIFY(fitted.text.contains(QChar(0x2026)));
            QVERIFY(fitted.text.startsWith(text.left(1)));
            break;
        }
    }

    // Room in lines of the design size, and a width that holds about ten characters.
    void wholeLines_data() {
        QTest::addColumn<int>("characters");
        QTest::addColumn<double>("linesOfRoom");
        QTest::addColumn<Expect>("expect");
        QTest::newRow("one line") << 8 << 1.2 << Expect::Unchanged;
        QTest::newRow("two lines in 1.8 lines of room") << 15 << 1.8 << Expect::Shrunk;
        QTest::newRow("far too long") << 80 << 1.8 << Expect::Elided;
    }
    void wholeLines() {
        QFETCH(int, characters);
        QFETCH(double, linesOfRoom);
        QFETCH(Expect, expect);
        const QFont design = designFont();
        const QFontMetricsF designMetrics(design);
        QString text;
        for (int i = 0; i < characters; ++i)
            text += QStringLiteral("あいうえおかきくけこ").at(i % 10);
        const QSize room(static_cast<int>(designMetrics.horizontalAdvance(u'あ') * 10.5),
                         static_cast<int>(designMetrics.lineSpacing() * linesOfRoom));
        const TextFit::Fitted fitted = TextFit::lines(text, design, room);

        const QStringList lines = fitted.text.split(u'\n');
        const QFontMetricsF metrics(fitted.font);
        QVERIFY2(lines.size() * metrics.lineSpacing() <= room.height(),
                 qPrintable(QString::number(lines.size())));
        for (const QString& line : lines)
            QVERIFY(metrics.horizontalAdvance(line) <= room.width());
        QVERIFY(fitted.font.pointSizeF() >= design.pointSizeF() * TextFit::MinScale - 0.01);
        const QString shown = QString(fitted.text).remove(u'\n');
        switch (expect) {
        case Expect::Unchanged:
            QCOMPARE(fitted.text, text);
            break;
        case Expect::Shrunk:
            QCOMPARE(lines.size(), 2);
            QCOMPARE(shown, text);
            break;
        case Expect::Elided:
            QVERIFY(lines.last().endsWith(QChar(0x2026)));
            QVERIFY(text.startsWith(shown.chopped(1)));
            break;
        }
    }
};

PIMLOTAN_TEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
