// Opening a word-data file: what is refused and why, and that opening or a refused write
// never changes the file.
#include "deckfixture.h"
#include "statements.h"
#include "testmain.h"
#include "worddatafile.h"
#include "worddataformat.h"
#include "worddatatest.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

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
