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
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return value;
}

QStringList unusableReport() {
    return {QStringLiteral("out/words.pml: not a usable word-data file")};
}

template <typename Fields, typename Columns>
void compareColumns(const Fields& fields, const Columns& columns, const QStringList& skipped) {
    QStringList builder, format;
    for (const auto& field : fields)
        builder << QString(field.name) + (field.presence == Presence::Optional
                                              ? QStringLiteral("")
                                              : QStringLiteral(" NOT NULL"));
    for (const auto& column : columns)
        if (!skipped.contains(column.name))
            format << QString(column.name) +
                          (column.required ? QStringLiteral(" NOT NULL") : QStringLiteral(""));
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
        deck_ = dir_->filePath(QStringLiteral("deck"));
        pml_ = dir_->filePath(QStringLiteral("out/words.pml"));
        DeckFolder::write(deck_, DeckFolder::base());
    }
    void cleanup() { WordDataFile::closeAll(); }

    // The builder's columns are the tables' columns, so a change to the format shows here.
    void columnsMatchTheWordDataFormat() {
        compareColumns(DeckFields::groups(), WordDataFormat::groupColumns, {});
        compareColumns(DeckFields::subGroups(), WordDataFormat::subGroupColumns,
                       {QStringLiteral("select")});
        compareColumns(DeckFields::words(), WordDataFormat::wordColumns, {});
    }

    void buildWritesTheDeckAndItsMedia() {
        const Run result = build(deck_, pml_);
        QCOMPARE(result.lines,
                 QStringList{QStringLiteral("out/words.pml: 2 groups, 3 sub-groups, 3 words")});
        QCOMPARE(result.status, 0);
        QCOMPARE(DeckFolder::withoutLines(PmlDeck::read(pml_)),
                 DeckFolder::withoutLines(DeckCsv::read(deck_).deck));
        WordDataFile::closeAll();
        QCOMPARE(scalar(pml_, QStringLiteral("SELECT count(*) FROM subgroup WHERE \"select\" <> 0"))
                     .toInt(),
                 0);
        // Empty optional fields are Null, as the screens expect.
        QCOMPARE(
            scalar(pml_, QStringLiteral("SELECT group_concat(key) FROM word WHERE meaning IS NULL"
                                        " AND text1 IS NULL AND text2 IS NULL AND filler1 IS NULL"
                                        " AND filler2 IS NULL AND filler3 IS NULL"))
                .toString(),
            QStringLiteral("2"));
        const QDir out(dir_->filePath(QStringLiteral("out")));
        QCOMPARE(out.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("images"), QStringLiteral("voice"),
                              QStringLiteral("words.pml")}));
        QCOMPARE(QDir(out.filePath(QStringLiteral("images"))).entryList(QDir::Files).size(), 8);
        QCOMPARE(QDir(out.filePath(QStringLiteral("voice"))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("apple.wav"), QStringLiteral("cat.wav"),
                              QStringLiteral("dog.wav")}));
        QCOMPARE(contents(out.filePath(QStringLiteral("voice/dog.wav"))), QByteArray("RIFF"));
    }

    void buildWithAProblemWritesNothing() {
        DeckFolder::Files files = DeckFolder::base();
        files.words[2] = QStringLiteral("2,1,2,9,12,dog,,dog,dog,,,,,");
        DeckFolder::write(deck_, files);
        QDir().mkpath(dir_->filePath(QStringLiteral("out")));
        QFile old(pml_);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the old deck");
        old.close();

        const Run result = build(deck_, pml_);
        QCOMPARE(result.status, 1);
        QCOMPARE(result.lines,
                 (QStringList{QStringLiteral("deck/words.csv:3: level 9 is not between 0 and 5"),
                              QStringLiteral("out/words.pml: not written: 1 problem")}));
        QCOMPARE(contents(pml_), QByteArray("the old deck"));
        QCOMPARE(QDir(dir_->filePath(QStringLiteral("out")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("words.pml")});
        QCOMPARE(build(deck_, dir_->filePath(QStringLiteral("new/words.pml"))).status, 1);
        QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("new"))));
    }

    void rebuildReplacesTheFileWhole() {
        QCOMPARE(build(deck_, pml_).status, 0);
        DeckFolder::Files files = DeckFolder::base();
        files.words.removeLast();
        files.words[1].replace(QStringLiteral(",cat,ねこ,"), QStringLiteral(",kitten,こねこ,"));
        DeckFolder::write(deck_, files);
        QCOMPARE(build(deck_, pml_).status, 0);
        const Deck deck = PmlDeck::read(pml_);
        QCOMPARE(deck.words.size(), 2);
        QCOMPARE(deck.words.front().word, QStringLiteral("kitten"));
        QCOMPARE(QDir(dir_->filePath(QStringLiteral("out"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("words.pml")}); // no temporary file left behind
    }

    void exportThenBuildGivesTheSameData() {
        QCOMPARE(build(deck_, pml_).status, 0);
        // Levels and counts change while the deck is used; the export must carry them.
        DeckFixture::execute(
            pml_, {QStringLiteral("UPDATE word SET level = 4, times = 7 WHERE key = 1")});
        const QString exported = dir_->filePath(QStringLiteral("exported"));
        const Run result = run(dir_->path(), [&](QTextStream& out) {
            return DeckCommands::exportDeck(pml_, exported, out);
        });
        QCOMPARE(result.lines,
                 QStringList{QStringLiteral("exported: 2 groups, 3 sub-groups, 3 words")});
        QCOMPARE(result.status, 0);
        const QString rebuilt = dir_->filePath(QStringLiteral("rebuilt/words.pml"));
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
        QTest::newRow("parent folders") << QStringLiteral("../../x");
        QTest::newRow("absolute path") << QStringLiteral("/tmp/x");
        QTest::newRow("backslash") << QStringLiteral("..\\x");
        QTest::newRow("drive letter") << QStringLiteral("C:x");
        QTest::newRow("NUL") << QStringLiteral("x\u0000y");
        QTest::newRow("dot dot") << QStringLiteral("..");
    }
    void exportRefusesMediaNamesLeavingTheFolder() {
        QFETCH(QString, name);
        QCOMPARE(build(deck_, pml_).status, 0);
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(pml_);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.prepare(QStringLiteral("UPDATE word SET images = ? WHERE key = 1")));
            query.addBindValue(name);
            QVERIFY(query.exec());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        const QStringList before =
            QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString exported = dir_->filePath(QStringLiteral("a/b/exported"));
        const Run result = run(dir_->path(), [&](QTextStream& out) {
            return DeckCommands::exportDeck(pml_, exported, out);
        });
        QCOMPARE(result.status, 1);
        QCOMPARE(result.lines.constLast(), QStringLiteral("a/b/exported: not written"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    // Another tool left the deck in WAL mode with a write not yet folded into the file:
    // checking reads it but changes neither file.
    void checkLeavesAWalDeckAsItWas() {
        QCOMPARE(build(deck_, pml_).status, 0);
        const QString writer = QStringLiteral("writer");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), writer);
            db.setDatabaseName(pml_);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode = WAL")));
            QVERIFY(query.exec(QStringLiteral("UPDATE word SET times = 5 WHERE key = 2")));
            const QByteArray deckBefore = contents(pml_);
            const QByteArray walBefore = contents(pml_ + QStringLiteral("-wal"));
            QVERIFY(!walBefore.isEmpty());

            const Run result =
                run(dir_->path(), [&](QTextStream& out) { return DeckCommands::check(pml_, out); });
            QCOMPARE(result.status, 0);
            QCOMPARE(contents(pml_), deckBefore);
            QCOMPARE(contents(pml_ + QStringLiteral("-wal")), walBefore);
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
                               << QStringList{QStringLiteral(
                                      "out/words.pml: 2 groups, 3 sub-groups, 3 words: clean")};
        QTest::newRow("picture missing")
            << none << QStringLiteral("images/cat.jpg") << QByteArray()
            << QStringList{
                   QStringLiteral("out/words.pml: word 1: picture images/cat.jpg is missing"),
                   QStringLiteral("out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem")};
        QTest::newRow("sub-group picture missing")
            << none << QStringLiteral("images/s12.jpg") << QByteArray()
            << QStringList{
                   QStringLiteral(
                       "out/words.pml: sub-group 1-2: picture images/s12.jpg is missing"),
                   QStringLiteral("out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem")};
        QTest::newRow("voice missing")
            << none << QStringLiteral("voice/apple.wav") << QByteArray()
            << QStringList{
                   QStringLiteral("out/words.pml: word 30: voice voice/apple.wav is missing"),
                   QStringLiteral("out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem")};
        QTest::newRow("words of a removed sub-group")
            << QStringList{QStringLiteral(
                   "DELETE FROM subgroup WHERE \"group\" = 1 AND sgroup = 2")}
            << QString() << QByteArray()
            << QStringList{
                   QStringLiteral("out/words.pml: word 2: sub-group 1-2 does not exist"),
                   QStringLiteral("out/words.pml: 2 groups, 2 sub-groups, 3 words: 1 problem")};
        QTest::newRow("word left blank")
            << QStringList{QStringLiteral("UPDATE word SET word = ' ' WHERE key = 30")} << QString()
            << QByteArray()
            << QStringList{
                   QStringLiteral("out/words.pml: word 30: word is empty"),
                   QStringLiteral("out/words.pml: 2 groups, 3 sub-groups, 3 words: 1 problem")};
        QTest::newRow("level past the constraints")
            << QStringList{QStringLiteral("PRAGMA ignore_check_constraints = ON"),
                           QStringLiteral("UPDATE word SET level = 9 WHERE key = 2")}
            << QString() << QByteArray() << unusable;
        const auto damaged = [](const QString& problem) {
            return QStringList{QStringLiteral("out/words.pml: ") + problem,
                               QStringLiteral("out/words.pml: not a usable word-data file")};
        };
        QTest::newRow("record source redefined")
            << QStringList{QStringLiteral("DROP VIEW syukei"),
                           QStringLiteral(
                               "CREATE VIEW syukei AS SELECT \"group\", sgroup, level, 1 AS count"
                               " FROM word GROUP BY 1, 2, 3 UNION ALL SELECT 1, 1, 0, 5")}
            << QString() << QByteArray() << damaged(QStringLiteral("view syukei is changed"));
        // One character of a stored trigger changed: the grading would write a wrong count.
        QTest::newRow("trigger changed")
            << QStringList{QStringLiteral("PRAGMA writable_schema = ON"),
                           QStringLiteral(
                               "UPDATE sqlite_schema SET sql = replace(sql, '- 1', '- 2')"
                               " WHERE name = 'word_tally_update'")}
            << QString() << QByteArray()
            << damaged(QStringLiteral("trigger word_tally_update is changed"));
        QTest::newRow("trigger of another tool")
            << QStringList{QStringLiteral(
                   "CREATE TRIGGER stamp AFTER UPDATE ON word BEGIN SELECT 1; END")}
            << QString() << QByteArray() << damaged(QStringLiteral("trigger stamp is not ours"));
        QTest::newRow("kept counts off")
            << QStringList{QStringLiteral("UPDATE tally SET count = count + 3 WHERE \"group\" = 1")}
            << QString() << QByteArray()
            << damaged(QStringLiteral("the word counts of 2 (group, sub-group, level) are wrong"));
        // The index holds a row under another level than the table: only the full check sees it.
        QTest::newRow("index out of step with its table")
            << QStringList{QStringLiteral("PRAGMA writable_schema = ON"),
                           QStringLiteral(
                               "UPDATE sqlite_schema SET sql = replace(sql, '\"level\")', "
                               "'\"times\")')"
                               " WHERE name = 'word_by_subgroup_level'"),
                           QStringLiteral("--"),
                           QStringLiteral("INSERT INTO word (key, \"group\", sgroup, level, times, "
                                          "word, images,"
                                          " voice) VALUES (99, 1, 1, 0, 3, 'x', 'x', 'x')"),
                           QStringLiteral("--"),
                           QStringLiteral("PRAGMA writable_schema = ON"),
                           QStringLiteral(
                               "UPDATE sqlite_schema SET sql = replace(sql, '\"times\")', "
                               "'\"level\")')"
                               " WHERE name = 'word_by_subgroup_level'")}
            << QString() << QByteArray() << QStringList();
        QTest::newRow("record source missing") << QStringList{QStringLiteral("DROP VIEW syukei2")}
                                               << QString() << QByteArray() << unusable;
        QTest::newRow("another application's database")
            << QStringList{QStringLiteral("PRAGMA application_id = 1")} << QString() << QByteArray()
            << unusable;
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
        for (const QString& sql : damage + QStringList{QStringLiteral("--")}) {
            if (sql != QStringLiteral("--")) {
                session << sql;
            } else if (!session.isEmpty()) {
                DeckFixture::execute(pml_, session);
                session.clear();
            }
        }
        if (!removed.isEmpty())
            QVERIFY(QFile::remove(QDir(dir_->filePath(QStringLiteral("out"))).filePath(removed)));
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
        QCOMPARE(result.status, expected.constLast().endsWith(QStringLiteral(": clean")) ? 0 : 1);
        WordDataFile::closeAll();
        QCOMPARE(contents(pml_), before);
    }
};

QTEST_GUILESS_MAIN(TestPmlBuild)
#include "tst_pmlbuild.moc"
