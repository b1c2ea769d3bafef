// What the deck maker remembers: read back as written, defaults for a missing or short file,
// and the last decks kept newest first, each once, five at most.
#include <QTemporaryDir>
#include <QTest>
#include <makersettings.h>

using namespace Qt::StringLiterals;

class TestMakerSettings : public QObject {
    Q_OBJECT
  private slots:
    void roundTrip() {
        QTemporaryDir dir;
        // In a settings folder the program has not made yet.
        const QString path = dir.filePath(u"pimlotan/"_s + MakerSettings::fileName());
        MakerSettings settings;
        settings.speakNewWords = false;
        settings.pictureFolder = u"/home/me/写真"_s;
        settings.remember(u"/decks/a.pml"_s);
        settings.remember(u"/decks/b.pml"_s);
        QVERIFY(settings.write(path));
        const MakerSettings read = MakerSettings::read(path);
        QCOMPARE(read.speakNewWords, false);
        QCOMPARE(read.pictureFolder, settings.pictureFolder);
        QCOMPARE(read.recentDecks, (QStringList{u"/decks/b.pml"_s, u"/decks/a.pml"_s}));
    }

    void missingFileGivesDefaults() {
        const MakerSettings read = MakerSettings::read(u"/nonexistent/PMLMAKER.ini"_s);
        QVERIFY(read.speakNewWords);
        QVERIFY(read.pictureFolder.isEmpty());
        QVERIFY(read.recentDecks.isEmpty());
    }

    void recentDecks_data() {
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("forgotten");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("newest first") << QStringList{u"/a.pml"_s, u"/b.pml"_s} << QStringList{}
                                      << QStringList{u"/b.pml"_s, u"/a.pml"_s};
        QTest::newRow("opened again moves up")
            << QStringList{u"/a.pml"_s, u"/b.pml"_s, u"/a.pml"_s} << QStringList{}
            << QStringList{u"/a.pml"_s, u"/b.pml"_s};
        QTest::newRow("five at most")
            << QStringList{u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s, u"/6"_s} << QStringList{}
            << QStringList{u"/6"_s, u"/5"_s, u"/4"_s, u"/3"_s, u"/2"_s};
        QTest::newRow("relative paths made absolute")
            << QStringList{u"/x/../a.pml"_s} << QStringList{} << QStringList{u"/a.pml"_s};
        QTest::newRow("forgotten") << QStringList{u"/a.pml"_s, u"/b.pml"_s}
                                   << QStringList{u"/a.pml"_s} << QStringList{u"/b.pml"_s};
    }
    void recentDecks() {
        QFETCH(QStringList, opened);
        QFETCH(QStringList, forgotten);
        QFETCH(QStringList, expected);
        MakerSettings settings;
        for (const QString& deck : opened)
            settings.remember(deck);
        for (const QString& deck : forgotten)
            settings.forget(deck);
        QCOMPARE(settings.recentDecks, expected);
    }
};

QTEST_GUILESS_MAIN(TestMakerSettings)
#include "tst_makersettings.moc"
