// Opening a word-data file: what is refused and why, and that opening or a refused write
// never changes the file.
#include "deckfixture.h"
#include "mediapath.h"
#include "statements.h"
#include "testmain.h"
#include "worddatafile.h"
#include "worddataformat.h"
#include "worddatatest.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;
using Reason = DataError::Reason;
Q_DECLARE_METATYPE(DataError::Reason)

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

DeckFixture smallDeck() {
    DeckFixture deck;
    deck.group(1).subGroup(1, 1, true).subGroup(1, 2).words(1, 1, 0, 3, 1).words(1, 2, 2, 2, 10);
    return deck;
}

// The reason the first read of path fails with, or nullopt when it opens.
std::optional<Reason> openFailure(const QString& path) {
    return failure([&] { opened(path, u"tittle"_s); });
}

QVariant scalarOn(const QString& file, const QString& sql) {
    QSqlQuery query(sql, WordDataFile::connection(file));
    return query.next() ? query.value(0) : QVariant();
}

} // namespace

class TestWordFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

  private slots:
    void cleanup() { WordDataFile::closeAll(); }

    void createNeverOverwritesADeck() {
        const QString file = path(u"existing.pml"_s);
        smallDeck().write(file);
        const QByteArray before = contents(file);
        QVERIFY_THROWS_EXCEPTION(DataError, WordDataFormat::create(file));
        QCOMPARE(contents(file), before);
    }

    void wrongFilesAreRefusedAndLeftAsTheyWere_data() {
        QTest::addColumn<QStringList>("damage"); // statements run on a good deck
        QTest::addColumn<QByteArray>("bytes");   // or the file's whole content
        QTest::addColumn<Reason>("reason");
        const QStringList none;
        QTest::newRow("text file") << none << "group,tittle\n1,animals\n"_ba << Reason::NotWordData;
        QTest::newRow("empty file") << none << QByteArray("") << Reason::NotWordData;
        QTest::newRow("other application")
            << QStringList{u"PRAGMA application_id = 42"_s} << QByteArray() << Reason::NotWordData;
        QTest::newRow("old format version")
            << QStringList{u"PRAGMA user_version = 0"_s} << QByteArray() << Reason::WrongVersion;
        QTest::newRow("newer format version")
            << QStringList{u"PRAGMA user_version = 2"_s} << QByteArray() << Reason::WrongVersion;
        QTest::newRow("record source missing")
            << QStringList{u"DROP VIEW syukei2"_s} << QByteArray() << Reason::MissingSource;
        QTest::newRow("field missing")
            << QStringList{u"DROP VIEW ordered"_s,
                           u"CREATE VIEW ordered AS SELECT \"group\", sgroup FROM subgroup"_s}
            << QByteArray() << Reason::MissingSource;
        QTest::newRow("write trigger missing") << QStringList{u"DROP TRIGGER select_word_update"_s}
                                               << QByteArray() << Reason::MissingSource;
        // One character of a stored trigger: every other check passes, the next grading would
        // then write a wrong count.
        QTest::newRow("trigger changed")
            << QStringList{u"PRAGMA writable_schema = ON"_s,
                           u"UPDATE sqlite_schema SET sql = replace(sql, '+ 1', '+ 2')"
                           " WHERE name = 'word_tally_update'"_s}
            << QByteArray() << Reason::Damaged;
        QTest::newRow("view changed")
            << QStringList{u"DROP VIEW syukei"_s,
                           u"CREATE VIEW syukei AS SELECT \"group\", sgroup, level, 1 AS count"
                           " FROM word"_s}
            << QByteArray() << Reason::Damaged;
        QTest::newRow("counts off") << QStringList{u"UPDATE tally SET count = count + 3"_s}
                                    << QByteArray() << Reason::Damaged;
    }

    void wrongFilesAreRefusedAndLeftAsTheyWere() {
        QFETCH(QStringList, damage);
        QFETCH(QByteArray, bytes);
        QFETCH(Reason, reason);
        const QString file = path(QString::fromLatin1(QTest::currentDataTag()) + u".pml"_s);
        if (damage.isEmpty()) {
            writeBytes(file, bytes);
        } else {
            smallDeck().write(file);
            DeckFixture::execute(file, damage);
        }
        const QByteArray before = contents(file);
        QCOMPARE(openFailure(file), reason);
        QCOMPARE(contents(file), before);
        QVERIFY(!WordDataFile::isOpen(file)); // the next try checks again
    }

    void missingPathIsNotCreated() {
        const QString file = path(u"missing.pml"_s);
        QCOMPARE(openFailure(file), Reason::FileMissing);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(openFailure(QString()), Reason::FileMissing);
    }

    void truncatedAndDamagedFilesAreRefused() {
        const QString good = path(u"good.pml"_s);
        smallDeck().write(good);
        const QByteArray bytes = contents(good);

        const QString truncated = path(u"truncated.pml"_s);
        writeBytes(truncated, bytes.left(bytes.size() / 2));
        QVERIFY(openFailure(truncated).has_value());

        // An index page with an invalid page type: the schema still reads, the file is broken.
        const int pageSize = DeckFixture::scalar(good, u"PRAGMA page_size"_s).toInt();
        const int root = DeckFixture::scalar(good, u"SELECT rootpage FROM sqlite_schema"
                                                   u" WHERE name = 'word_by_subgroup_level'"_s)
                             .toInt();
        QByteArray broken = bytes;
        broken[qsizetype(root - 1) * pageSize] = '\x01';
        const QString damaged = path(u"damaged.pml"_s);
        writeBytes(damaged, broken);
        QCOMPARE(openFailure(damaged), Reason::Damaged);
        QCOMPARE(contents(damaged), broken);
    }

    // A deck left in WAL mode by another tool is read as it is: switching its journal mode
    // would rewrite the file.
    void walDeckOpensUnchanged() {
        const QString file = path(u"wal.pml"_s);
        smallDeck().write(file);
        DeckFixture::execute(file, {u"PRAGMA journal_mode = WAL"_s});
        const QByteArray before = contents(file);
        QCOMPARE(opened(file, u"select_word"_s).RecordCount(), 3);
        QCOMPARE(scalarOn(file, u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
        WordDataFile::closeAll();
        QCOMPARE(contents(file), before);
    }

    // A deck replaced on disk while open (renamed over, or copied over in place) is opened
    // anew, with the opening checks; our own writes do not count as a replacement.
    void replacedDeckIsOpenedAnew_data() {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("wrongFile");
        QTest::newRow("renamed over") << false << false;
        QTest::newRow("copied over in place") << true << false;
        QTest::newRow("renamed over by a wrong file") << false << true;
    }
    void replacedDeckIsOpenedAnew() {
        QFETCH(bool, inPlace);
        QFETCH(bool, wrongFile);
        const QString file = path(u"replaced.pml"_s);
        const QString next = path(u"next.pml"_s);
        QFile::remove(file);
        QFile::remove(next);
        smallDeck().write(file);
        DataSource words = opened(file, Statements::levelWordsAfter(0, 0));
        words.Edit();
        words.setField(u"level"_s, 1);
        words.Update();
        QVERIFY(!WordDataFile::closeIfReplaced(file)); // our own write

        if (wrongFile) {
            writeBytes(next, "not a deck");
        } else {
            DeckFixture bigger;
            bigger.group(1).subGroup(1, 1, true).words(1, 1, 0, 7, 1);
            bigger.write(next);
        }
        if (inPlace) {
            QFile target(file);
            QVERIFY(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
            target.write(contents(next));
        } else {
            QVERIFY(::rename(QFile::encodeName(next).constData(),
                             QFile::encodeName(file).constData()) == 0);
        }
        QVERIFY(WordDataFile::closeIfReplaced(file));
        QVERIFY(!WordDataFile::isOpen(file));
        if (wrongFile) {
            QCOMPARE(openFailure(file), Reason::NotWordData);
            return;
        }
        DataSource fresh = opened(file, Statements::levelWordsAfter(0, 0));
        QCOMPARE(fresh.RecordCount(), 7);
        fresh.Edit();
        fresh.setField(u"level"_s, 2);
        fresh.Update(); // writes reach the file now there
        QCOMPARE(DeckFixture::scalar(file, u"SELECT count(*) FROM word WHERE level = 2"_s), 1);
    }

    // Between events no statement holds the file, so another program can write it; a write
    // that meets a file locked by another program fails after a short wait instead of hanging.
    void noLockIsHeldBetweenEventsAndALockedFileFailsSoon() {
        const QString file = path(u"locks.pml"_s);
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).words(1, 1, 0, 50, 1);
        deck.write(file);
        DataSource words = opened(file, Statements::levelWordsAfter(0, 0));
        QCOMPARE(words.field(u"key"_s).toInt(), 1); // rows remain unread
        QCoreApplication::processEvents();
        DeckFixture::execute(
            file, {u"PRAGMA busy_timeout = 0"_s, u"UPDATE word SET times = 1 WHERE key = 50"_s});
        words.MoveNext();
        QCOMPARE(words.field(u"key"_s).toInt(), 2); // the result is still what it was

        const QString other = u"other program"_s;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, other);
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery lock(db);
            QVERIFY(lock.exec(u"BEGIN EXCLUSIVE"_s));
            QElapsedTimer clock;
            clock.start();
            words.Edit();
            words.setField(u"level"_s, 1);
            QVERIFY_THROWS_EXCEPTION(DataError, words.Update());
            QVERIFY2(clock.elapsed() >= 1500 && clock.elapsed() < 4000,
                     qPrintable(QString::number(clock.elapsed())));
            QVERIFY(lock.exec(u"ROLLBACK"_s));
        }
        QSqlDatabase::removeDatabase(other);
    }

    void mediaNamesStayInsideTheDeck_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture"); // empty: no path at all
        QTest::newRow("plain") << u"cat"_s << u"/deck/images/cat.jpg"_s;
        QTest::newRow("Japanese with blanks") << u"ねこ 2"_s << u"/deck/images/ねこ 2.jpg"_s;
        QTest::newRow("dots inside") << u"a..b"_s << u"/deck/images/a..b.jpg"_s;
        QTest::newRow("parent") << u".."_s << QString();
        QTest::newRow("up and out") << u"../../etc/x"_s << QString();
        QTest::newRow("absolute") << u"/etc/passwd"_s << QString();
        QTest::newRow("backslash") << u"..\\x"_s << QString();
        QTest::newRow("drive letter") << u"C:x"_s << QString();
        QTest::newRow("NUL") << u"x\u0000.jpg"_s << QString();
        QTest::newRow("line break") << u"x\ny"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void mediaNamesStayInsideTheDeck() {
        QFETCH(QString, name);
        QFETCH(QString, picture);
        QCOMPARE(MediaPath::picture(u"/deck/"_s, name), picture);
        QCOMPARE(MediaPath::voice(u"/deck/"_s, name).isEmpty(), picture.isEmpty());
    }

    // Decks made on Windows: names matched without regard to case, BMP pictures.
    void mediaFoundWithoutRegardToCase_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("voice");
        QTest::newRow("exact") << u"cat"_s << u"images/cat.jpg"_s << u"voice/cat.wav"_s;
        QTest::newRow("other case") << u"dog"_s << u"images/Dog.JPG"_s << u"voice/DOG.WAV"_s;
        QTest::newRow("bmp where no jpg") << u"owl"_s << u"images/Owl.bmp"_s << u"voice/owl.wav"_s;
        QTest::newRow("jpg before bmp") << u"bird"_s << u"images/bird.jpg"_s << u"voice/bird.wav"_s;
        QTest::newRow("exact before other case")
            << u"fish"_s << u"images/fish.jpg"_s << u"voice/fish.wav"_s;
        QTest::newRow("none") << u"cow"_s << u"images/cow.jpg"_s << u"voice/cow.wav"_s;
    }
    void mediaFoundWithoutRegardToCase() {
        QFETCH(QString, name);
        QFETCH(QString, picture);
        QFETCH(QString, voice);
        const QString deck = path(u"media/"_s);
        for (const QString& file :
             {u"images/cat.jpg"_s, u"images/Dog.JPG"_s, u"images/Owl.bmp"_s, u"images/bird.jpg"_s,
              u"images/bird.bmp"_s, u"images/fish.jpg"_s, u"images/FISH.jpg"_s, u"voice/cat.wav"_s,
              u"voice/DOG.WAV"_s}) {
            QDir().mkpath(QFileInfo(deck + file).path());
            QFile out(deck + file);
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        QCOMPARE(MediaPath::findPicture(deck, name), deck + picture);
        QCOMPARE(MediaPath::findVoice(deck, name), deck + voice);
        QCOMPARE(MediaPath::findPicture(deck, u"../x"_s), QString());
    }

    void readOnlyFileReadsAndRefusesEveryWrite() {
        const QString file = path(u"readonly.pml"_s);
        smallDeck().write(file);
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const QByteArray before = contents(file);

        DataSource words = opened(file, Statements::levelWordsAfter(0, 0));
        QCOMPARE(words.RecordCount(), 3);
        QVERIFY(WordDataFile::isReadOnly(file));

        words.Edit();
        words.setField(u"level"_s, 1);
        QVERIFY_THROWS_EXCEPTION(DataError, words.Update());
        QCOMPARE(words.field(u"level"_s).toInt(), 0); // the result keeps what the file holds
        QVERIFY_THROWS_EXCEPTION(DataError, words.updateAll({{u"times"_s, 5}}));

        QVERIFY_THROWS_EXCEPTION(DataError,
                                 opened(file, u"selected"_s).updateAll({{u"select"_s, false}}));

        WordDataFile::closeAll();
        QCOMPARE(contents(file), before);
        QVERIFY(!QFile::exists(file + u"-journal"_s));
    }

    void pathsWithUriCharactersOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("blank, hash, question mark, percent") << u"my deck #1?%20.pml"_s;
        QTest::newRow("Japanese") << u"どうぶつ たんご.pml"_s;
    }

    void pathsWithUriCharactersOpen() {
        QFETCH(QString, name);
        const QTemporaryDir own;
        const QString file = own.filePath(name);
        smallDeck().write(file);
        QCOMPARE(opened(file, u"select_word"_s).RecordCount(), 3);
        WordDataFile::closeAll();
        QCOMPARE(QDir(own.path()).entryList(QDir::Files), QStringList{name}); // no stray file
    }

    // Each statement, count and row write reaches its rows through an index, never by reading
    // a whole table (SQLite's plan says SCAN for that); the words of a level come in key
    // order from the index, so the first is read without sorting the whole level.
    void everyStatementIsAnIndexLookup_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<bool>("sorts");
        const auto add = [](const QByteArray& tag, const Statement& s, bool sorts = false) {
            QTest::newRow(tag.constData()) << s.sql << s.values << sorts;
            QTest::newRow((tag + " count").constData()) << s.countSql << s.values << false;
        };
        add("selected sub-group", Statements::selectedSubGroup(1, 2));
        add("sub-group page", Statements::subGroupPage(1, 8));
        add("group tallies", Statements::groupTallies(1));
        add("sub-group tallies", Statements::subGroupTallies(1, 2));
        add("level words", Statements::levelWordsAfter(1, 0));
        add("marked level tallies", Statements::markedLevelTallies(), true); // six rows
        QTest::newRow("write a mark")
            << u"UPDATE \"selected\" SET \"select\" = ? WHERE \"group\" = ? AND \"sgroup\" = ?"_s
            << QList<int>{1, 1, 2} << false;
        QTest::newRow("write a grading")
            << u"UPDATE \"select_word\" SET \"level\" = ?, \"times\" = ? WHERE \"key\" = ?"_s
            << QList<int>{2, 1, 10} << false;
    }

    void everyStatementIsAnIndexLookup() {
        QFETCH(QString, sql);
        QFETCH(QList<int>, values);
        QFETCH(bool, sorts);
        const QString file = path(u"plans.pml"_s);
        if (!QFile::exists(file))
            smallDeck().write(file);
        QSqlQuery query(WordDataFile::connection(file));
        QVERIFY(query.prepare(u"EXPLAIN QUERY PLAN "_s + sql));
        for (int value : values)
            query.addBindValue(value);
        QVERIFY(query.exec());
        QStringList plan;
        while (query.next())
            plan.append(query.value(3).toString());
        QVERIFY(!plan.isEmpty());
        const QRegularExpression tableScan(u"^SCAN (word|subgroup|tittle|tally|w|s|t)\\b"_s);
        for (const QString& step : plan) { // SCAN of a view's own result rows is fine
            QVERIFY2(!tableScan.match(step).hasMatch(), qPrintable(plan.join(u" | "_s)));
            QVERIFY2(sorts || !step.contains(u"FOR ORDER BY"_s), qPrintable(plan.join(u" | "_s)));
        }
    }
};

PIMLOTAN_TEST_MAIN(TestWordFile)
#include "tst_wordfile.moc"
