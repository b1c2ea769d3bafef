// Opening a word-data file: what is refused and why, and that opening or a refused write
// never changes the file.
#include "deckfixture.h"
#include "mediapath.h"
#include "statements.h"
#include "worddatafile.h"
#include "worddataformat.h"
#include "worddatatest.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

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
    return failure([&] { opened(path, QStringLiteral("tittle")); });
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
        const QString file = path(QStringLiteral("existing.pml"));
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
        QTest::newRow("text file")
            << none << QByteArray("group,tittle\n1,animals\n") << Reason::NotWordData;
        QTest::newRow("empty file") << none << QByteArray("") << Reason::NotWordData;
        QTest::newRow("other application")
            << QStringList{QStringLiteral("PRAGMA application_id = 42")} << QByteArray()
            << Reason::NotWordData;
        QTest::newRow("old format version")
            << QStringList{QStringLiteral("PRAGMA user_version = 0")} << QByteArray()
            << Reason::WrongVersion;
        QTest::newRow("newer format version")
            << QStringList{QStringLiteral("PRAGMA user_version = 3")} << QByteArray()
            << Reason::WrongVersion;
        // A version 1 file has no key mark; one that has it is not a file we wrote.
        QTest::newRow("version 1 with the key mark")
            << QStringList{QStringLiteral("PRAGMA user_version = 1")} << QByteArray()
            << Reason::Damaged;
        QTest::newRow("key mark below a key")
            << QStringList{QStringLiteral("UPDATE keymark SET highest = 1")} << QByteArray()
            << Reason::Damaged;
        QTest::newRow("key mark gone") << QStringList{QStringLiteral("DELETE FROM keymark")}
                                       << QByteArray() << Reason::Damaged;
        QTest::newRow("record source missing") << QStringList{QStringLiteral("DROP VIEW syukei2")}
                                               << QByteArray() << Reason::MissingSource;
        QTest::newRow("field missing")
            << QStringList{QStringLiteral("DROP VIEW ordered"),
                           QStringLiteral(
                               "CREATE VIEW ordered AS SELECT \"group\", sgroup FROM subgroup")}
            << QByteArray() << Reason::MissingSource;
        QTest::newRow("write trigger missing")
            << QStringList{QStringLiteral("DROP TRIGGER select_word_update")} << QByteArray()
            << Reason::MissingSource;
        // One character of a stored trigger: every other check passes, the next grading would
        // then write a wrong count.
        QTest::newRow("trigger changed")
            << QStringList{QStringLiteral("PRAGMA writable_schema = ON"),
                           QStringLiteral(
                               "UPDATE sqlite_schema SET sql = replace(sql, '+ 1', '+ 2')"
                               " WHERE name = 'word_tally_update'")}
            << QByteArray() << Reason::Damaged;
        QTest::newRow("view changed")
            << QStringList{QStringLiteral("DROP VIEW syukei"),
                           QStringLiteral(
                               "CREATE VIEW syukei AS SELECT \"group\", sgroup, level, 1 AS count"
                               " FROM word")}
            << QByteArray() << Reason::Damaged;
        QTest::newRow("counts off")
            << QStringList{QStringLiteral("UPDATE tally SET count = count + 3")} << QByteArray()
            << Reason::Damaged;
    }

    void wrongFilesAreRefusedAndLeftAsTheyWere() {
        QFETCH(QStringList, damage);
        QFETCH(QByteArray, bytes);
        QFETCH(Reason, reason);
        const QString file =
            path(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pml"));
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

    // A file written before the key mark opens as it is; upgraded, it passes the checks of a
    // new file, and a key once used is not given again.
    void versionOneFilesOpenAndUpgrade() {
        const QString file = path(QStringLiteral("version1.pml"));
        smallDeck().write(file);
        DeckFixture::execute(file, {QStringLiteral("DROP TRIGGER word_keymark"),
                                    QStringLiteral("DROP TABLE keymark"),
                                    QStringLiteral("PRAGMA user_version = 1")});
        QCOMPARE(openFailure(file), std::nullopt);
        const QSqlDatabase db = WordDataFile::connection(file);
        QCOMPARE(WordDataFormat::nextKey(db), 12);
        WordDataFile::inTransaction(file, [&] { WordDataFormat::upgrade(db); });
        WordDataFile::closeAll();
        QCOMPARE(openFailure(file), std::nullopt);
        QCOMPARE(DeckFixture::scalar(file, QStringLiteral("PRAGMA user_version")).toInt(),
                 WordDataFormat::formatVersion);
        DeckFixture::execute(file, {QStringLiteral("DELETE FROM word WHERE key = 11")});
        QCOMPARE(WordDataFormat::nextKey(WordDataFile::connection(file)), 12);
        // A removed word's record keeps its key from a new word, key mark or not.
        QStringList statements = WordDataFormat::historyStatements();
        statements << QStringLiteral("INSERT INTO history VALUES ('2026-12-10T05:00:00.000Z',"
                                     " 20, 0, 1)")
                   << QStringLiteral("DROP TRIGGER word_keymark")
                   << QStringLiteral("DROP TABLE keymark")
                   << QStringLiteral("PRAGMA user_version = 1");
        WordDataFile::closeAll();
        DeckFixture::execute(file, statements);
        QCOMPARE(WordDataFormat::nextKey(WordDataFile::connection(file)), 21);
    }

    void missingPathIsNotCreated() {
        const QString file = path(QStringLiteral("missing.pml"));
        QCOMPARE(openFailure(file), Reason::FileMissing);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(openFailure(QString()), Reason::FileMissing);
    }

    void truncatedAndDamagedFilesAreRefused() {
        const QString good = path(QStringLiteral("good.pml"));
        smallDeck().write(good);
        const QByteArray bytes = contents(good);

        const QString truncated = path(QStringLiteral("truncated.pml"));
        writeBytes(truncated, bytes.left(bytes.size() / 2));
        QVERIFY(openFailure(truncated).has_value());

        // An index page with an invalid page type: the schema still reads, the file is broken.
        const int pageSize = DeckFixture::scalar(good, QStringLiteral("PRAGMA page_size")).toInt();
        const int root =
            DeckFixture::scalar(good, QStringLiteral("SELECT rootpage FROM sqlite_schema"
                                                     " WHERE name = 'word_by_subgroup_level'"))
                .toInt();
        QByteArray broken = bytes;
        broken[qsizetype(root - 1) * pageSize] = '\x01';
        const QString damaged = path(QStringLiteral("damaged.pml"));
        writeBytes(damaged, broken);
        QCOMPARE(openFailure(damaged), Reason::Damaged);
        QCOMPARE(contents(damaged), broken);
    }

    // A deck left in WAL mode by another tool is read as it is: switching its journal mode
    // would rewrite the file.
    void walDeckOpensUnchanged() {
        const QString file = path(QStringLiteral("wal.pml"));
        smallDeck().write(file);
        DeckFixture::execute(file, {QStringLiteral("PRAGMA journal_mode = WAL")});
        const QByteArray before = contents(file);
        QCOMPARE(opened(file, QStringLiteral("select_word")).RecordCount(), 3);
        QCOMPARE(scalarOn(file, QStringLiteral("PRAGMA journal_mode")).toString(),
                 QStringLiteral("wal"));
        WordDataFile::closeAll();
        QCOMPARE(contents(file), before);
    }

    // A deck replaced on disk while open (renamed over, or copied over in place) is opened
    // anew, with the opening checks; our own writes do not count as a replacement.
    void replacedDeckIsOpenedAnew_data() {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("wrongFile");
        QTest::addColumn<bool>("sameSizeAndTime");
        QTest::newRow("renamed over") << false << false << false;
        QTest::newRow("copied over in place") << true << false << false;
        QTest::newRow("copied over in place, size and time kept") << true << false << true;
        QTest::newRow("renamed over by a wrong file") << false << true << false;
    }
    void replacedDeckIsOpenedAnew() {
        QFETCH(bool, inPlace);
        QFETCH(bool, wrongFile);
        QFETCH(bool, sameSizeAndTime);
        const QString file = path(QStringLiteral("replaced.pml"));
        const QString next = path(QStringLiteral("next.pml"));
        QFile::remove(file);
        QFile::remove(next);
        smallDeck().write(file);
        DataSource words = opened(file, Statements::levelWordsAfter(0, 0));
        words.Edit();
        words.setField(QStringLiteral("level"), 1);
        words.Update();
        QVERIFY(!WordDataFile::closeIfReplaced(file)); // our own write

        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &before), 0);
        if (wrongFile) {
            writeBytes(next, "not a deck");
        } else if (sameSizeAndTime) {
            // Another deck of the same size: seven words at level 0.
            QVERIFY(QFile::copy(file, next));
            DeckFixture::execute(next, {QStringLiteral("UPDATE word SET level = 0"),
                                        QStringLiteral("INSERT INTO word (key, \"group\", sgroup,"
                                                       " word, images, voice) VALUES"
                                                       " (90, 1, 1, 'a', 'a', 'a'), (91, 1, 1,"
                                                       " 'b', 'b', 'b'), (92, 1, 1, 'c', 'c',"
                                                       " 'c'), (93, 1, 1, 'd', 'd', 'd')")});
            QCOMPARE(QFileInfo(next).size(), QFileInfo(file).size());
        } else {
            DeckFixture bigger;
            bigger.group(1).subGroup(1, 1, true).words(1, 1, 0, 7, 1);
            bigger.write(next);
        }
        if (inPlace) {
            QFile target(file);
            QVERIFY(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
            target.write(contents(next));
            target.close();
            if (sameSizeAndTime) { // as a copier that keeps times leaves it, to the nanosecond
                const timespec times[2] = {before.st_atim, before.st_mtim};
                QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
            }
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
        fresh.setField(QStringLiteral("level"), 2);
        fresh.Update(); // writes reach the file now there
        QCOMPARE(
            DeckFixture::scalar(file, QStringLiteral("SELECT count(*) FROM word WHERE level = 2")),
            1);
    }

    // Between events no statement holds the file, so another program can write it; a write
    // that meets a file locked by another program fails after a short wait instead of hanging.
    void noLockIsHeldBetweenEventsAndALockedFileFailsSoon() {
        const QString file = path(QStringLiteral("locks.pml"));
        DeckFixture deck;
        deck.group(1).subGroup(1, 1, true).words(1, 1, 0, 50, 1);
        deck.write(file);
        DataSource words = opened(file, Statements::levelWordsAfter(0, 0));
        QCOMPARE(words.field(QStringLiteral("key")).toInt(), 1); // rows remain unread
        QCoreApplication::processEvents();
        DeckFixture::execute(file, {QStringLiteral("PRAGMA busy_timeout = 0"),
                                    QStringLiteral("UPDATE word SET times = 1 WHERE key = 50")});
        words.MoveNext();
        QCOMPARE(words.field(QStringLiteral("key")).toInt(), 2); // the result is still what it was

        const QString other = QStringLiteral("other program");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery lock(db);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QElapsedTimer clock;
            clock.start();
            words.Edit();
            words.setField(QStringLiteral("level"), 1);
            QCOMPARE(failure([&] { words.Update(); }), Reason::Busy);
            QVERIFY2(clock.elapsed() >= 1500 && clock.elapsed() < 4000,
                     qPrintable(QString::number(clock.elapsed())));
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(other);
    }

    void mediaNamesStayInsideTheDeck_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture"); // empty: no path at all
        QTest::newRow("plain") << QStringLiteral("cat") << QStringLiteral("/deck/images/cat.jpg");
        QTest::newRow("Japanese with blanks")
            << QStringLiteral("ねこ 2") << QStringLiteral("/deck/images/ねこ 2.jpg");
        QTest::newRow("dots inside")
            << QStringLiteral("a..b") << QStringLiteral("/deck/images/a..b.jpg");
        QTest::newRow("parent") << QStringLiteral("..") << QString();
        QTest::newRow("up and out") << QStringLiteral("../../etc/x") << QString();
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << QString();
        QTest::newRow("backslash") << QStringLiteral("..\\x") << QString();
        QTest::newRow("drive letter") << QStringLiteral("C:x") << QString();
        QTest::newRow("NUL") << QStringLiteral("x\u0000.jpg") << QString();
        QTest::newRow("line break") << QStringLiteral("x\ny") << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void mediaNamesStayInsideTheDeck() {
        QFETCH(QString, name);
        QFETCH(QString, picture);
        QCOMPARE(MediaPath::picture(QStringLiteral("/deck/"), name), picture);
        QCOMPARE(MediaPath::voice(QStringLiteral("/deck/"), name).isEmpty(), picture.isEmpty());
    }

    // Decks made on Windows: names matched without regard to case, BMP pictures.
    void mediaFoundWithoutRegardToCase_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("voice");
        QTest::newRow("exact") << QStringLiteral("cat") << QStringLiteral("images/cat.jpg")
                               << QStringLiteral("voice/cat.wav");
        QTest::newRow("other case") << QStringLiteral("dog") << QStringLiteral("images/Dog.JPG")
                                    << QStringLiteral("voice/DOG.WAV");
        QTest::newRow("bmp where no jpg")
            << QStringLiteral("owl") << QStringLiteral("images/Owl.bmp")
            << QStringLiteral("voice/owl.wav");
        QTest::newRow("jpg before bmp")
            << QStringLiteral("bird") << QStringLiteral("images/bird.jpg")
            << QStringLiteral("voice/bird.wav");
        QTest::newRow("exact before other case")
            << QStringLiteral("fish") << QStringLiteral("images/fish.jpg")
            << QStringLiteral("voice/fish.wav");
        QTest::newRow("none") << QStringLiteral("cow") << QStringLiteral("images/cow.jpg")
                              << QStringLiteral("voice/cow.wav");
    }
    void mediaFoundWithoutRegardToCase() {
        QFETCH(QString, name);
        QFETCH(QString, picture);
        QFETCH(QString, voice);
        const QString deck = path(QStringLiteral("media/"));
        for (const QString& file :
             {QStringLiteral("images/cat.jpg"), QStringLiteral("images/Dog.JPG"),
              QStringLiteral("images/Owl.bmp"), QStringLiteral("images/bird.jpg"),
              QStringLiteral("images/bird.bmp"), QStringLiteral("images/fish.jpg"),
              QStringLiteral("images/FISH.jpg"), QStringLiteral("voice/cat.wav"),
              QStringLiteral("voice/DOG.WAV")}) {
            QDir().mkpath(QFileInfo(deck + file).path());
            QFile out(deck + file);
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        QCOMPARE(MediaPath::findPicture(deck, name), deck + picture);
        QCOMPARE(MediaPath::findVoice(deck, name), deck + voice);
        QCOMPARE(MediaPath::findPicture(deck, QStringLiteral("../x")), QString());
    }

    void readOnlyFileReadsAndRefusesEveryWrite() {
        const QString file = path(QStringLiteral("readonly.pml"));
        smallDeck().write(file);
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const QByteArray before = contents(file);

        DataSource words = opened(file, Statements::levelWordsAfter(0, 0));
        QCOMPARE(words.RecordCount(), 3);
        QVERIFY(WordDataFile::isReadOnly(file));

        words.Edit();
        words.setField(QStringLiteral("level"), 1);
        QVERIFY_THROWS_EXCEPTION(DataError, words.Update());
        QCOMPARE(words.field(QStringLiteral("level")).toInt(),
                 0); // the result keeps what the file holds
        QVERIFY_THROWS_EXCEPTION(DataError, words.updateAll({{QStringLiteral("times"), 5}}));

        QVERIFY_THROWS_EXCEPTION(DataError, opened(file, QStringLiteral("selected"))
                                                .updateAll({{QStringLiteral("select"), false}}));

        WordDataFile::closeAll();
        QCOMPARE(contents(file), before);
        QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
    }

    void pathsWithUriCharactersOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("blank, hash, question mark, percent")
            << QStringLiteral("my deck #1?%20.pml");
        QTest::newRow("Japanese") << QStringLiteral("どうぶつ たんご.pml");
    }

    void pathsWithUriCharactersOpen() {
        QFETCH(QString, name);
        const QTemporaryDir own;
        const QString file = own.filePath(name);
        smallDeck().write(file);
        QCOMPARE(opened(file, QStringLiteral("select_word")).RecordCount(), 3);
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
            << QStringLiteral(
                   "UPDATE \"selected\" SET \"select\" = ? WHERE \"group\" = ? AND \"sgroup\" = ?")
            << QList<int>{1, 1, 2} << false;
        QTest::newRow("write a grading")
            << QStringLiteral(
                   "UPDATE \"select_word\" SET \"level\" = ?, \"times\" = ? WHERE \"key\" = ?")
            << QList<int>{2, 1, 10} << false;
    }

    void everyStatementIsAnIndexLookup() {
        QFETCH(QString, sql);
        QFETCH(QList<int>, values);
        QFETCH(bool, sorts);
        const QString file = path(QStringLiteral("plans.pml"));
        if (!QFile::exists(file))
            smallDeck().write(file);
        QSqlQuery query(WordDataFile::connection(file));
        QVERIFY(query.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql));
        for (int value : values)
            query.addBindValue(value);
        QVERIFY(query.exec());
        QStringList plan;
        while (query.next())
            plan.append(query.value(3).toString());
        QVERIFY(!plan.isEmpty());
        const QRegularExpression tableScan(
            QStringLiteral("^SCAN (word|subgroup|tittle|tally|w|s|t)\\b"));
        for (const QString& step : plan) { // SCAN of a view's own result rows is fine
            QVERIFY2(!tableScan.match(step).hasMatch(),
                     qPrintable(plan.join(QStringLiteral(" | "))));
            QVERIFY2(sorts || !step.contains(QStringLiteral("FOR ORDER BY")),
                     qPrintable(plan.join(QStringLiteral(" | "))));
        }
    }
};

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
