// pml-build's commands on word-data files: build, check and export.
#include "deckcommands.h"
#include "deckcsv.h"
#include "deckfixture.h"
#include "deckfolder.h"
#include "pmldeck.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <worddatafile.h>
#include <worddataformat.h>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int status;
    QStringList lines; // folder names taken out
};

template <typename Command> Run run(const QString& folder, Command command) {
    QString text;
    QTextStream out(&text);
    const int status = command(out);
    out.flush();
    return {status, DeckFolder::relative(text, folder).split(u'\n', Qt::SkipEmptyParts)};
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A value read straight from the file, past the word-data layer.
QVariant scalar(const QString& path, const QString& sql) {
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"raw"_s);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase(u"raw"_s);
    return value;
}

Deck withoutLines(Deck deck) {
    for (auto& g : deck.groups)
        g.line = 0;
    for (auto& s : deck.subGroups)
        s.line = 0;
    for (auto& w : deck.words)
        w.line = 0;
    return deck;
}

QStringList unusableReport() {
    return {u"out/words.pml: not a usable word-data file"_s};
}

template <typename Fields, typename Columns>
void compareColumns(const Fields& fields, const Columns& columns, const QStringList& skipped) {
    QStringList builder, format;
    for (const auto& field : fields)
        builder << QString(field.name) +
                       (field.presence == Presence::Optional ? u""_s : u" NOT NULL"_s);
    for (const auto& column : columns)
        if (!skipped.contains(column.name))
            format << QString(column.name) + (column.required ? u" NOT NULL"_s : u""_s);
    QCOMPARE(builder, format);
}

} // namespace

class TestPmlBuild : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString deck_;
    QString pml_;

    Run build(const QString& deck, const QString& pml) {
        return run(dir_->path(),
                   [&](QTextStream& out) { return DeckCommands::build(deck, pml, out); });
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        deck_ = dir_->filePath(u"deck"_s);
        pml_ = dir_->filePath(u"out/words.pml"_s);
        DeckFolder::write(deck_, DeckFolder::base());
    }
    void cleanup() { WordDataFile::closeAll(); }

    // The builder's columns are the tables' columns, so a change to the format shows here.
    void columnsMatchTheWordDataFormat() {
        compareColumns(DeckFields::groups(), WordDataFormat::groupColumns, {});
        compareColumns(DeckFields::subGroups(), WordDataFormat::subGroupColumns, {u"select"_s});
        compareColumns(DeckFields::words(), WordDataFormat::wordColumns, {});
    }

    void buildWritesTheDeckAndItsMedia() {
        const Run result = build(deck_, pml_);
        QCOMPARE(result.lines, QStringList{u"out/words.pml: 2 groups, 3 sub-groups, 3 words"_s});
        QCOMPARE(result.status, 0);
        QCOMPARE(withoutLines(PmlDeck::read(pml_)), withoutLines(DeckCsv::read(deck_).deck));
        WordDataFile::closeAll();
        QCOMPARE(scalar(pml_, u"SELECT count(*) FROM subgroup WHERE \"select\" <> 0"_s).toInt(), 0);
        // Empty optional fields are Null, as the screens expect.
        QCOMPARE(scalar(pml_, u"SELECT group_concat(key) FROM word WHERE meaning IS NULL"
                              " AND text1 IS NULL AND text2 IS NULL AND filler1 IS NULL"
                              " AND filler2 IS NULL AND filler3 IS NULL"_s)
                     .toString(),
                 u"2"_s);
        const QDir out(dir_->filePath(u"out"_s));
        QCOMPARE(out.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{u"images"_s, u"voice"_s, u"words.pml"_s}));
        QCOMPARE(QDir(out.filePath(u"images"_s)).entryList(QDir::Files).size(), 8);
        QCOMPARE(QDir(out.filePath(u"voice"_s)).entryList(QDir::Files),
                 (QStringList{u"apple.wav"_s, u"cat.wav"_s, u"dog.wav"_s}));
        QCOMPARE(contents(out.filePath(u"voice/dog.wav"_s)), QByteArray("RIFF"));
    }

    void buildWithAProblemWritesNothing() {
        DeckFolder::Files files = DeckFolder::base();
        files.words[2] = u"2,1,2,9,12,dog,,dog,dog,,,,,"_s;
        DeckFolder::write(deck_, files);
        QDir().mkpath(dir_->filePath(u"out"_s));
        QFile old(pml_);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the old deck");
        old.close();

        const Run result = build(deck_, pml_);
        QCOMPARE(result.status, 1);
        QCOMPARE(result.lines, (QStringList{u"deck/words.csv:3: level 9 is not between 0 and 5"_s,
                                            u"out/words.pml: not written: 1 problem"_s}));
        QCOMPARE(contents(pml_), QByteArray("the old deck"));
        QCOMPARE(QDir(dir_->filePath(u"out"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"words.pml"_s});
        QCOMPARE(build(deck_, dir_->filePath(u"new/words.pml"_s)).status, 1);
        QVERIFY(!QFileInfo::exists(dir_->filePath(u"new"_s)));
    }

    void rebuildReplacesTheFileWhole() {
        QCOMPARE(build(deck_, pml_).status, 0);
        DeckFolder::Files files = DeckFolder::base();
        files.words.removeLast();
        files.words[1].replace(u",cat,ねこ,"_s, u",kitten,こねこ,"_s);
        DeckFolder::write(deck_, files);
        QCOMPARE(build(deck_, pml_).status, 0);
        const Deck deck = PmlDeck::read(pml_);
        QCOMPARE(deck.words.size(), 2);
        QCOMPARE(deck.words.front().word, u"kitten"_s);
        QCOMPARE(QDir(dir_->filePath(u"out"_s)).entryList(QDir::Files),
                 QStringList{u"words.pml"_s}); // no temporary file left behind
    }

    void exportThenBuildGivesTheSameData() {
        QCOMPARE(build(deck_, pml_).status, 0);
        // Levels and counts change while the deck is used; the export must carry them.
        DeckFixture::execute(pml_, {u"UPDATE word SET level = 4, times = 7 WHERE key = 1"_s});
        const QString exported = dir_->filePath(u"exported"_s);
        const Run result = run(dir_->path(), [&](QTextStream& out) {
            return DeckCommands::exportDeck(pml_, exported, out);
        });
        QCOMPARE(result.lines, QStringList{u"exported: 2 groups, 3 sub-groups, 3 words"_s});
        QCOMPARE(result.status, 0);
        const QString rebuilt = dir_->filePath(u"rebuilt/words.pml"_s);
        QCOMPARE(build(exported, rebuilt).status, 0);

        const Deck original = PmlDeck::read(pml_);
        QCOMPARE(original.words.front().level, 4);
        QCOMPARE(original.words.front().times, 7);
        QCOMPARE(PmlDeck::read(rebuilt), original);
    }

    // A media name in the file that is not a plain file name is never joined to the target
    // folder: nothing at all is written.
    void exportRefusesMediaNamesLeavingTheFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folders") << u"../../x"_s;
        QTest::newRow("absolute path") << u"/tmp/x"_s;
        QTest::newRow("backslash") << u"..\\x"_s;
        QTest::newRow("drive letter") << u"C:x"_s;
        QTest::newRow("NUL") << u"x\u0000y"_s;
        QTest::newRow("dot dot") << u".."_s;
    }
    void exportRefusesMediaNamesLeavingTheFolder() {
        QFETCH(QString, name);
        QCOMPARE(build(deck_, pml_).status, 0);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"raw"_s);
            db.setDatabaseName(pml_);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.prepare(u"UPDATE word SET images = ? WHERE key = 1"_s));
            query.addBindValue(name);
            QVERIFY(query.exec());
        }
        QSqlDatabase::removeDatabase(u"raw"_s);
        const QStringList before =
            QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString exported = dir_->filePath(u"a/b/exported"_s);
        const Run result = run(dir_->path(), [&](QTextStream& out) {
            return DeckCommands::exportDeck(pml_, exported, out);
        });
        QCOMPARE(result.status, 1);
        QCOMPARE(result.lines.constLast(), u"a/b/exported: not written"_s);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    // Another tool left the deck in WAL mode with a write not yet folded into the file:
    // checking reads it but changes neither file.
    void checkLeavesAWalDeckAsItWas() {
        QCOMPARE(build(deck_, pml_).status, 0);
        const QString writer = u"writer"_s;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, writer);
            db.setDatabaseName(pml_);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(u"PRAGMA journal_mode = WAL"_s));
            QVERIFY(query.exec(u"UPDATE word SET times = 5 WHERE key = 2"_s));
            const QByteArray deckBefore = contents(pml_);
            const QByteArray walBefore = contents(pml_ + u"-wal"_s);
            QVERIFY(!walBefore.isEmpty());

            const Run result =
                run(dir_->path(), [&](QTextStream& out) { return DeckCommands::check(pml_, out); });
            QCOMPARE(result.status, 0);
            QCOMPARE(contents(pml_), deckBefore);
            QCOMPARE(contents(pml_ + u"-wal"_s), walBefore);
        }
        QSqlDatabase::removeDatabase(writer);
    }

    void check_data() {
        QTest::addColumn<QStringList>("damage");     // statements run on the built file
        QTest::addColumn<QString>("removed");        // a media file taken away
        QTest::addColumn<QByteArray>("replacement"); // bytes written over the file
        QTest::addColumn<QStringList>("expected");   // lines of the report
        const QStringList none;
        const QStringList unusable = unusableReport();
        QTest::newRow("clean") << none << QString() << QByteArray()
                               << QStringList{
                                      u"out/words.pml: 2 groups, 3 sub-groups, 3 words: clean"_s};
        QTest::newRow("picture missing")
            << none << u"images/cat.jpg"_s << QByteArray()
            << QStringList{u"out/words.pml: word 1: picture images/cat.jpg is missing"_s,
                           u"out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem"_s};
        QTest::newRow("sub-group picture missing")
            << none << u"images/s12.jpg"_s << QByteArray()
            << QStringList{u"out/words.pml: sub-group 1-2: picture images/s12.jpg is missing"_s,
                           u"out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem"_s};
        QTest::newRow("voice missing")
            << none << u"voice/apple.wav"_s << QByteArray()
            << QStringList{u"out/words.pml: word 30: voice voice/apple.wav is missing"_s,
                           u"out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem"_s};
        QTest::newRow("words of a removed sub-group")
            << QStringList{u"DELETE FROM subgroup WHERE \"group\" = 1 AND sgroup = 2"_s}
            << QString() << QByteArray()
            << QStringList{u"out/words.pml: word 2: sub-group 1-2 does not exist"_s,
                           u"out/words.pml: 2 groups, 2 sub-groups, 3 words: 1 problem"_s};
        QTest::newRow("word left blank")
            << QStringList{u"UPDATE word SET word = ' ' WHERE key = 30"_s} << QString()
            << QByteArray()
            << QStringList{u"out/words.pml: word 30: word is empty"_s,
                           u"out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem"_s};
        QTest::newRow("level past the constraints")
            << QStringList{u"PRAGMA ignore_check_constraints = ON"_s,
                           u"UPDATE word SET level = 9 WHERE key = 2"_s}
            << QString() << QByteArray() << unusable;
        const auto damaged = [](const QString& problem) {
            return QStringList{u"out/words.pml: "_s + problem,
                               u"out/words.pml: not a usable word-data file"_s};
        };
        QTest::newRow("record source redefined")
            << QStringList{u"DROP VIEW syukei"_s,
                           u"CREATE VIEW syukei AS SELECT \"group\", sgroup, level, 1 AS count"
                           " FROM word GROUP BY 1, 2, 3 UNION ALL SELECT 1, 1, 0, 5"_s}
            << QString() << QByteArray() << damaged(u"view syukei is changed"_s);
        // One character of a stored trigger changed: the grading would write a wrong count.
        QTest::newRow("trigger changed")
            << QStringList{u"PRAGMA writable_schema = ON"_s,
                           u"UPDATE sqlite_schema SET sql = replace(sql, '- 1', '- 2')"
                           " WHERE name = 'word_tally_update'"_s}
            << QString() << QByteArray() << damaged(u"trigger word_tally_update is changed"_s);
        QTest::newRow("trigger of another tool")
            << QStringList{u"CREATE TRIGGER stamp AFTER UPDATE ON word BEGIN SELECT 1; END"_s}
            << QString() << QByteArray() << damaged(u"trigger stamp is not ours"_s);
        QTest::newRow("kept counts off")
            << QStringList{u"UPDATE tally SET count = count + 3 WHERE \"group\" = 1"_s} << QString()
            << QByteArray()
            << damaged(u"the word counts of 2 (group, sub-group, level) are wrong"_s);
        // The index holds a row under another level than the table: only the full check sees it.
        QTest::newRow("index out of step with its table")
            << QStringList{u"PRAGMA writable_schema = ON"_s,
                           u"UPDATE sqlite_schema SET sql = replace(sql, '\"level\")', "
                           u"'\"times\")')"
                           " WHERE name = 'word_by_subgroup_level'"_s,
                           u"--"_s,
                           u"INSERT INTO word (key, \"group\", sgroup, level, times, word, images,"
                           " voice) VALUES (99, 1, 1, 0, 3, 'x', 'x', 'x')"_s,
                           u"--"_s,
                           u"PRAGMA writable_schema = ON"_s,
                           u"UPDATE sqlite_schema SET sql = replace(sql, '\"times\")', "
                           u"'\"level\")')"
                           " WHERE name = 'word_by_subgroup_level'"_s}
            << QString() << QByteArray() << QStringList();
        QTest::newRow("record source missing")
            << QStringList{u"DROP VIEW syukei2"_s} << QString() << QByteArray() << unusable;
        QTest::newRow("another application's database")
            << QStringList{u"PRAGMA application_id = 1"_s} << QString() << QByteArray() << unusable;
        QTest::newRow("not a database")
            << none << QString() << QByteArray("group,tittle\n") << unusable;
    }
    void check() {
        QFETCH(QStringList, damage);
        QFETCH(QString, removed);
        QFETCH(QByteArray, replacement);
        QFETCH(QStringList, expected);
        QCOMPARE(build(deck_, pml_).status, 0);
        // "--" starts a new connection: a changed schema is read only by the next one.
        QStringList session;
        for (const QString& sql : damage + QStringList{u"--"_s}) {
            if (sql != u"--"_s) {
                session << sql;
            } else if (!session.isEmpty()) {
                DeckFixture::execute(pml_, session);
                session.clear();
            }
        }
        if (!removed.isEmpty())
            QVERIFY(QFile::remove(QDir(dir_->filePath(u"out"_s)).filePath(removed)));
        if (!replacement.isEmpty()) {
            QFile file(pml_);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(replacement);
        }
        const QByteArray before = contents(pml_);

        const Run result =
            run(dir_->path(), [&](QTextStream& out) { return DeckCommands::check(pml_, out); });
        if (expected.isEmpty()) { // damage the engine names in its own words
            QCOMPARE(result.lines.constLast(), unusableReport().constFirst());
            QVERIFY2(result.lines.size() >= 2, qPrintable(result.lines.join(u'\n')));
            QCOMPARE(result.status, 1);
            QCOMPARE(contents(pml_), before);
            return;
        }
        // A file the program refuses gets the reason on the line before (the opening's text).
        const bool refused = expected == unusableReport();
        const QStringList lines = refused ? result.lines.mid(1) : result.lines;
        if (refused)
            QCOMPARE(result.lines.size(), 2);
        QCOMPARE(lines, expected);
        QCOMPARE(result.status, expected.constLast().endsWith(u": clean"_s) ? 0 : 1);
        WordDataFile::closeAll();
        QCOMPARE(contents(pml_), before);
    }
};

QTEST_GUILESS_MAIN(TestPmlBuild)
#include "tst_pmlbuild.moc"
