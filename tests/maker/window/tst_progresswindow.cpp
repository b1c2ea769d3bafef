// きろく offscreen: the charts and the hardest words drawn from a deck's history, a grading
// made meanwhile shown on activation, and the report written as a PDF.
#include "deckfixture.h"
#include "fakeplatform.h"
#include "progresswindow.h"
#include "testmain.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <worddatafile.h>
#include <worddataformat.h>

namespace {

QString hoursAgo(int hours) {
    return QDateTime::currentDateTimeUtc().addSecs(-3600 * hours).toString(Qt::ISODateWithMs);
}

int barTotal(QChart* chart) {
    int total = 0;
    for (QAbstractSeries* series : chart->series())
        for (QBarSet* set : static_cast<QAbstractBarSeries*>(series)->barSets())
            for (int i = 0; i < set->count(); ++i)
                total += int(set->at(i));
    return total;
}

} // namespace

class TestProgressWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    QTemporaryDir dir;
    QString file;

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        file = dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                            QStringLiteral(".pml"));
        QFile::remove(file);
        DeckFixture deck;
        deck.group(1, QStringLiteral("どうぶつ")).subGroup(1, 1).words(1, 1, 2, 5, 1);
        deck.write(file);
        QStringList statements = WordDataFormat::historyStatements();
        for (const auto& [hours, key, before, after] :
             QList<std::tuple<int, int, int, int>>{{1, 1, 2, 3}, {2, 1, 3, 4}, {3, 2, 2, 1}})
            statements << QStringLiteral("INSERT INTO history VALUES ('%1', %2, %3, %4)")
                              .arg(hoursAgo(hours))
                              .arg(key)
                              .arg(before)
                              .arg(after);
        DeckFixture::execute(file, statements);
    }
    void cleanup() {
        WordDataFile::closeAll();
        fake.reset();
    }

    void drawsTheHistory() {
        ProgressWindow window(file);
        window.show();
        QCOMPARE(barTotal(window.levelsChart()), 5);
        QCOMPARE(barTotal(window.perDayChart()), 3);
        QCOMPARE(barTotal(window.perWeekChart()), 1);
        QCOMPARE(window.hardest()->count(), 1); // word1, NG twice
        QVERIFY(window.hardest()->item(0)->text().contains(QStringLiteral("word1")));
        QCOMPARE(window.period().gradings, 3);
        // The word answered last is shown first: word1, an hour ago, two gradings that day
        // unless midnight fell between them.
        QCOMPARE(window.wordChoice()->currentData().toLongLong(), 1);
        QCOMPARE(window.wordChart()->series().size(), 1);
        QVERIFY(window.wordText()->text().contains(QStringLiteral("2 回")));
        window.wordChoice()->setCurrentIndex(window.wordChoice()->findData(4));
        QCOMPARE(window.wordChart()->series().size(), 0);

        // The child practises meanwhile: the window shows it when it becomes active again.
        DeckFixture::execute(file, {QStringLiteral("UPDATE word SET level = 3, times = 1"
                                                   " WHERE key = 3")});
        QVERIFY(window.refresh());
        QCOMPARE(window.period().gradings, 4);
        // The record follows the word answered last until the parent chooses one.
        QCOMPARE(window.wordChoice()->currentData().toLongLong(), 3);
        window.wordChoice()->setCurrentIndex(window.wordChoice()->findData(1));
        emit window.wordChoice()->activated(window.wordChoice()->currentIndex());
        DeckFixture::execute(file, {QStringLiteral("UPDATE word SET level = 2 WHERE key = 3")});
        QVERIFY(window.refresh());
        QCOMPARE(window.wordChoice()->currentData().toLongLong(), 1);
    }

    // Every group has its bar, whatever its title: two alike, none, one with a space.
    void everyGroupHasItsBar() {
        DeckFixture deck;
        deck.group(1, QStringLiteral("どうぶつ")).group(2, QStringLiteral("どうぶつ")).group(3);
        deck.group(4, QStringLiteral("いろと かたち"));
        for (int group = 1; group <= 4; ++group)
            deck.subGroup(group, 1).words(group, 1, 0, group, group * 10);
        const QString groups = dir.filePath(QStringLiteral("groups.pml"));
        deck.write(groups);
        ProgressWindow window(groups);
        QCOMPARE(barTotal(window.levelsChart()), 1 + 2 + 3 + 4);
        const auto* x =
            qobject_cast<QBarCategoryAxis*>(window.levelsChart()->axes(Qt::Horizontal).value(0));
        QVERIFY(x);
        QCOMPARE(x->count(), 4);
    }

    void reportIsAPdf() {
        ProgressWindow window(file);
        window.show();
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QCOMPARE(window.savePdf(pdf), QString());
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(5) == "%PDF-");
        QVERIFY(written.size() > 10000); // the charts and pictures, not an empty page
        // A place that cannot be written is no report saved, whatever is there already.
        QVERIFY(!window.savePdf(dir.path()).isEmpty());
    }
};

PIMLOTAN_TEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
