// pml-build --import: the report on success, the reason and nothing written on failure.
#include "importcommand.h"
#include "olddeck.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <worddatafile.h>

class TestImportCommand : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

  private slots:
    void pmlBuildImports_data() {
        QTest::addColumn<bool>("good");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines"); // folder names taken out
        QTest::addRow("converted")
            << true << 0
            << QStringList{QStringLiteral("new.pml: groups: 2, sub-groups: 3, words: 6"),
                           QStringLiteral("pictures and voices missing: 17")};
        QTest::addRow("not a deck")
            << false << 1
            << QStringList{QStringLiteral("old.pml: not an Access 2000-format file"),
                           QStringLiteral("new.pml: not written")};
    }
    void pmlBuildImports() {
        QFETCH(bool, good);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        const QString from = dir_.filePath(QStringLiteral("old/old.pml"));
        QDir().mkpath(QFileInfo(from).path());
        QFile file(from);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(good ? OldDeck().writer().build() : QByteArray("plain text"));
        file.close();
        const QString to = dir_.filePath(QStringLiteral("new/new.pml"));
        QFile::remove(to);
        QString text;
        QTextStream out(&text);
        QCOMPARE(DeckCommands::importDeck(from, to, out), status);
        out.flush();
        text.replace(QFileInfo(from).path() + u'/', QString())
            .replace(QFileInfo(to).path() + u'/', QString());
        QCOMPARE(text.split(u'\n', Qt::SkipEmptyParts).mid(0, 2), lines);
        QCOMPARE(QFileInfo::exists(to), good);
        WordDataFile::close(to);
    }
};

PIMLOTAN_TEST_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
