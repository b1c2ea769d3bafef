// The CSV side of pml-build: parsing, and the reports of a deck folder with their lines.
#include "csv.h"
#include "deckcsv.h"
#include "deckfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(DeckFolder::Files)

namespace {

QStringList records(const Csv::Table& table) {
    QStringList out;
    for (const Csv::Record& record : table.records)
        out << QStringLiteral("%1:%2").arg(record.line).arg(record.fields.join(u'|'));
    return out;
}

QStringList errors(const Csv::Table& table) {
    QStringList out;
    for (const Csv::Error& error : table.errors)
        out << QStringLiteral("%1:%2").arg(error.line).arg(error.message);
    return out;
}

QStringList reports(const DeckProblems& problems, const QString& folder) {
    QStringList out;
    for (const DeckProblem& problem : problems)
        out << DeckFolder::relative(problem.toString(), folder);
    return out;
}

} // namespace

class TestDeckCsv : public QObject {
    Q_OBJECT

  private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("expectedRecords");
        QTest::addColumn<QStringList>("expectedErrors");
        QTest::newRow("CR LF") << QByteArray("a,b\r\nc,d\r\n")
                               << QStringList{QStringLiteral("1:a|b"), QStringLiteral("2:c|d")}
                               << QStringList{};
        QTest::newRow("byte-order mark, no last line end")
            << QByteArray("\xEF\xBB\xBF"
                          "a,b")
            << QStringList{QStringLiteral("1:a|b")} << QStringList{};
        QTest::newRow("quotes hold commas, quotes and line ends")
            << QByteArray("\"x,y\",\"say \"\"hi\"\"\"\n\"one\ntwo\",z\nnext,\n")
            << QStringList{QStringLiteral("1:x,y|say \"hi\""), QStringLiteral("2:one\ntwo|z"),
                           QStringLiteral("4:next|")}
            << QStringList{};
        QTest::newRow("blank rows are skipped but counted")
            << QByteArray("a\n\n,,\r\nb\n")
            << QStringList{QStringLiteral("1:a"), QStringLiteral("4:b")} << QStringList{};
        QTest::newRow("quote never closed")
            << QByteArray("a\n\"open,\nmore\n") << QStringList{QStringLiteral("1:a")}
            << QStringList{QStringLiteral("2:a quoted field is not closed")};
        QTest::newRow("text after a closing quote")
            << QByteArray("\"a\"b,c\nd\n") << QStringList{QStringLiteral("2:d")}
            << QStringList{QStringLiteral("1:text after a closing quote")};
        QTest::newRow("not UTF-8") << QByteArray("ok\nbad \xFF\n") << QStringList{}
                                   << QStringList{QStringLiteral("2:not UTF-8 text")};
    }
    void parse() {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, expectedRecords);
        QFETCH(QStringList, expectedErrors);
        const Csv::Table table = Csv::parse(input);
        QCOMPARE(records(table), expectedRecords);
        QCOMPARE(errors(table), expectedErrors);
    }

    void formattedRowsParseBack() {
        const QStringList fields{QStringLiteral("plain"),      QStringLiteral("with,comma"),
                                 QStringLiteral("say \"hi\""), QStringLiteral("two\nlines"),
                                 QStringLiteral(" padded "),   QString(),
                                 QStringLiteral("ねこ")};
        const QByteArray twoRows = Csv::formatRow(fields) + Csv::formatRow({QStringLiteral("end")});
        const Csv::Table table = Csv::parse(twoRows);
        QVERIFY(table.errors.isEmpty());
        QCOMPARE(table.records.size(), 2);
        QCOMPARE(table.records.at(0).fields, fields);
        QCOMPARE(table.records.at(1).line, 3);
    }

    void readsTheBaseDeck() {
        QTemporaryDir dir;
        DeckFolder::write(dir.path(), DeckFolder::base());
        const DeckCsv::ReadResult result = DeckCsv::read(dir.path());
        QCOMPARE(reports(result.problems, dir.path()), QStringList{});
        const Deck& deck = result.deck;
        QCOMPARE(deck.groups.size(), 2);
        QCOMPARE(deck.groups.at(1).tittle, QStringLiteral("Food, drinks"));
        QCOMPARE(deck.groups.at(1).setmei, QStringLiteral("two\nlines"));
        QCOMPARE(deck.subGroups.size(), 3);
        QCOMPARE(deck.words.size(), 3);
        QCOMPARE(deck.words.at(0).text1, QStringLiteral("a \"big\" cat"));
        QCOMPARE(deck.words.at(0).filler1, std::optional<qint64>(-7));
        QCOMPARE(deck.words.at(1).level, 3);
        QCOMPARE(deck.words.at(1).times, 12);
        QVERIFY(deck.words.at(1).meaning.isEmpty());
        QCOMPARE(deck.words.at(1).filler1, std::nullopt);
        QCOMPARE(deck.words.at(2).line, 4);
    }

    void spellingDoesNotChangeTheDeck_data() {
        QTest::addColumn<DeckFolder::Files>("files");
        DeckFolder::Files crlf = DeckFolder::base();
        for (QStringList* lines : {&crlf.groups, &crlf.subGroups, &crlf.words})
            for (QString& line : *lines)
                if (line != u"2,\"Food, drinks\",g2,\"two") // a line end inside quotes is text
                    line += u'\r';
        crlf.groups.front().prepend(QChar(0xFEFF));
        QTest::newRow("CR LF and byte-order mark") << crlf;

        DeckFolder::Files loose = DeckFolder::base();
        loose.subGroups = QStringList{QStringLiteral(" group , sgroup,images"),
                                      QStringLiteral(""),
                                      QStringLiteral("1, 1 ,s11 "),
                                      QStringLiteral(",,"),
                                      QStringLiteral("1,2,s12"),
                                      QStringLiteral("2,1,s21")};
        QTest::newRow("blank rows and spaces around values") << loose;
    }
    void spellingDoesNotChangeTheDeck() {
        QFETCH(DeckFolder::Files, files);
        QTemporaryDir baseDir, dir;
        DeckFolder::write(baseDir.path(), DeckFolder::base());
        DeckFolder::write(dir.path(), files);
        const DeckCsv::ReadResult result = DeckCsv::read(dir.path());
        QCOMPARE(reports(result.problems, dir.path()), QStringList{});
        QCOMPARE(DeckFolder::withoutLines(result.deck),
                 DeckFolder::withoutLines(DeckCsv::read(baseDir.path()).deck));
    }

    void leftOutColumnsTakeTheirDefaults() {
        QTemporaryDir dir;
        DeckFolder::Files files = DeckFolder::base();
        files.words = QStringList{QStringLiteral("word,images,voice,sgroup,group,key"),
                                  QStringLiteral("cat,cat,cat,1,1,9")};
        DeckFolder::write(dir.path(), files);
        const DeckCsv::ReadResult result = DeckCsv::read(dir.path());
        QCOMPARE(reports(result.problems, dir.path()), QStringList{});
        DeckWord expected;
        expected.line = 2;
        expected.key = 9;
        expected.group = 1;
        expected.sgroup = 1;
        expected.word = expected.images = expected.voice = QStringLiteral("cat");
        QCOMPARE(result.deck.words, QList<DeckWord>{expected});
    }

    // Each case changes one line of the base deck (index into the file's lines, -1 appends)
    // or removes a media file, and expects exactly these reports.
    void reportsEveryProblemWithItsLine_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, const char* file, int index, const QString& text,
                            const QStringList& expected, const QString& removed = {}) {
            QTest::newRow(name) << QString::fromLatin1(file) << index << text << removed
                                << expected;
        };
        // groups.csv: line 1 header, 2 group 1, 3-4 group 2 (a quoted line end), 5 appended.
        row("group out of range", "groups", -1, QStringLiteral("7,x,g1,y"),
            {QStringLiteral("groups.csv:5: group 7 is not between 1 and 6")});
        row("group twice", "groups", -1, QStringLiteral("1,again,g1,y"),
            {QStringLiteral("groups.csv:5: group 1 is listed twice (first on line 2)")});
        row("empty title", "groups", 1, QStringLiteral("1, ,g1,y"),
            {QStringLiteral("groups.csv:2: tittle is empty")});
        row("missing column, no report on the rows that use it", "groups", 0,
            QStringLiteral("group,tittle,ttlimage"),
            {QStringLiteral("groups.csv:1: column \"setmei\" is missing")});
        row("unknown column", "subgroups", 0, QStringLiteral("group,sgroup,images,name"),
            {QStringLiteral("subgroups.csv:1: unknown column \"name\"")});
        row("column twice", "subgroups", 0, QStringLiteral("group,sgroup,images,group"),
            {QStringLiteral("subgroups.csv:1: column \"group\" is listed twice")});
        row("sub-group of a missing group", "subgroups", -1, QStringLiteral("3,1,s11"),
            {QStringLiteral("subgroups.csv:5: group 3 does not exist")});
        row("sub-group number 0", "subgroups", -1, QStringLiteral("1,0,s11"),
            {QStringLiteral("subgroups.csv:5: sub-group number 0 is below 1")});
        row("sub-group number beyond 32 bits", "subgroups", -1, QStringLiteral("1,2147483648,s11"),
            {QStringLiteral("subgroups.csv:5: sub-group number 2147483648 is above 2147483647")});
        row("sub-group twice", "subgroups", -1, QStringLiteral("1,2,s11"),
            {QStringLiteral("subgroups.csv:5: sub-group 1-2 is listed twice (first on line 3)")});
        row("sub-group number not a number, no report on its words", "subgroups", 2,
            QStringLiteral("1,two,s12"),
            {QStringLiteral("subgroups.csv:3: sgroup \"two\" is not a whole number")});
        row("key not a number", "words", 1, QStringLiteral("x1,1,1,0,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: key \"x1\" is not a whole number")});
        row("key twice", "words", -1, QStringLiteral("1,1,1,0,0,cow,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:5: key 1 is listed twice (first on line 2)")});
        row("key 0", "words", 1, QStringLiteral("0,1,1,0,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: key 0 is not between 1 and 2147483647")});
        row("key beyond 32 bits", "words", 1,
            QStringLiteral("2147483648,1,1,0,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: key 2147483648 is not between 1 and 2147483647")});
        row("empty key", "words", 1, QStringLiteral(",1,1,0,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: key is empty")});
        row("level 6", "words", 1, QStringLiteral("1,1,1,6,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: level 6 is not between 0 and 5")});
        row("level not whole", "words", 1, QStringLiteral("1,1,1,1.5,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: level \"1.5\" is not a whole number")});
        row("negative times", "words", 1, QStringLiteral("1,1,1,0,-1,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: times -1 is not between 0 and 2147483647")});
        row("filler1 beyond 32 bits", "words", 1,
            QStringLiteral("1,1,1,0,0,cat,,cat,cat,,,2147483648,,"),
            {QStringLiteral("words.csv:2: filler1 2147483648 does not fit in 32 bits")});
        row("word of a missing sub-group", "words", 1,
            QStringLiteral("1,1,9,0,0,cat,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: sub-group 1-9 does not exist")});
        row("empty word and voice", "words", 1, QStringLiteral("1,1,1,0,0,,,cat,,,,,,"),
            {QStringLiteral("words.csv:2: word is empty"),
             QStringLiteral("words.csv:2: voice is empty")});
        row("too few fields", "words", 2, QStringLiteral("2,1,2"),
            {QStringLiteral("words.csv:3: has 3 fields where the header has 14")});
        row("quote never closed", "words", 3,
            QStringLiteral("30,2,1,0,0,\"apple,,apple,apple,,,,,"),
            {QStringLiteral("words.csv:4: a quoted field is not closed")});
        row("picture name leaving the folder", "words", 1,
            QStringLiteral("1,1,1,0,0,cat,,../cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: picture name \"../cat\" is not a plain file name")});
        row("voice name with a drive letter", "words", 1,
            QStringLiteral("1,1,1,0,0,cat,,cat,C:cat,,,,,"),
            {QStringLiteral("words.csv:2: voice name \"C:cat\" is not a plain file name")});
        row("picture name with a backslash", "words", 1,
            QStringLiteral("1,1,1,0,0,cat,,a\\cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: picture name \"a\\cat\" is not a plain file name")});
        row("missing picture, reported on every row naming it", "words", -1,
            QStringLiteral("40,1,1,0,0,kitten,,cat,cat,,,,,"),
            {QStringLiteral("words.csv:2: picture images/cat.jpg is missing"),
             QStringLiteral("words.csv:5: picture images/cat.jpg is missing")},
            QStringLiteral("images/cat.jpg"));
        row("missing voice", "words", 0, QString(),
            {QStringLiteral("words.csv:3: voice voice/dog.wav is missing")},
            QStringLiteral("voice/dog.wav"));
        row("missing group picture", "groups", 0, QString(),
            {QStringLiteral("groups.csv:3: picture images/g2.jpg is missing")},
            QStringLiteral("images/g2.jpg"));
    }
    void reportsEveryProblemWithItsLine() {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, removed);
        QFETCH(QStringList, expected);
        DeckFolder::Files files = DeckFolder::base();
        QStringList& lines = file == u"groups"      ? files.groups
                             : file == u"subgroups" ? files.subGroups
                                                    : files.words;
        if (index < 0)
            lines << text;
        else if (!text.isEmpty())
            lines[index] = text;
        QTemporaryDir dir;
        DeckFolder::write(dir.path(), files);
        if (!removed.isEmpty())
            QVERIFY(QFile::remove(QDir(dir.path()).filePath(removed)));
        QCOMPARE(reports(DeckCsv::read(dir.path()).problems, dir.path()), expected);
    }

    void problemsComeInFileAndLineOrder() {
        DeckFolder::Files files = DeckFolder::base();
        files.words[1] = QStringLiteral("1,1,1,9,0,cat,,cat,cat,,,,,"); // a rule broken on line 2
        files.words[3] =
            QStringLiteral("30,2,1,x,0,apple,,apple,apple,,,,,"); // a number unread on line 4
        files.groups << QStringLiteral("8,x,g1,y");
        QTemporaryDir dir;
        DeckFolder::write(dir.path(), files);
        QCOMPARE(reports(DeckCsv::read(dir.path()).problems, dir.path()),
                 (QStringList{QStringLiteral("groups.csv:5: group 8 is not between 1 and 6"),
                              QStringLiteral("words.csv:2: level 9 is not between 0 and 5"),
                              QStringLiteral("words.csv:4: level \"x\" is not a whole number")}));
    }

    // Each problem says its row, column and kind, so that the maker can word it; media are
    // found as the screens find them (case aside, a BMP where no JPEG is).
    void problemsSayWhereAndWhat_data() {
        QTest::addColumn<QStringList>("words");    // lines replacing words.csv's rows
        QTest::addColumn<QStringList>("renames");  // "from>to", in the deck folder
        QTest::addColumn<QStringList>("expected"); // "table group-sgroup-key field kind media"
        const QString cat = QStringLiteral("1,1,1,0,0,cat,,cat,cat,,,,,");
        QTest::newRow("found in other case and as a BMP")
            << QStringList{cat}
            << QStringList{QStringLiteral("images/cat.jpg>images/CAT.BMP"),
                           QStringLiteral("voice/cat.wav>voice/Cat.WAV")}
            << QStringList();
        QTest::newRow("missing, named by the file looked for")
            << QStringList{cat} << QStringList{QStringLiteral("voice/cat.wav>voice/kitten.wav")}
            << QStringList{QStringLiteral("word 1-1-1 voice MediaMissing cat.wav")};
        QTest::newRow("empty text, name not plain, out of range, no sub-group")
            << QStringList{QStringLiteral("1,1,1,0,0,,,cat,../x,,,,,"),
                           QStringLiteral("2,1,7,9,0,dog,,cat,cat,,,,,")}
            << QStringList()
            << QStringList{QStringLiteral("word 1-1-1 word Empty "),
                           QStringLiteral("word 1-1-1 voice NotPlainName ../x"),
                           QStringLiteral("word 1-7-2 sgroup NoParent "),
                           QStringLiteral("word 1-7-2 level OutOfRange ")};
    }
    void problemsSayWhereAndWhat() {
        QFETCH(QStringList, words);
        QFETCH(QStringList, renames);
        QFETCH(QStringList, expected);
        DeckFolder::Files files = DeckFolder::base();
        files.words = QStringList{files.words.first()} + words;
        QTemporaryDir dir;
        DeckFolder::write(dir.path(), files);
        const QDir deck(dir.path());
        for (const QString& rename : renames) {
            const QString to = deck.filePath(rename.section(u'>', 1));
            deck.mkpath(QFileInfo(to).path());
            QVERIFY(QFile::rename(deck.filePath(rename.section(u'>', 0, 0)), to));
        }
        static const QStringList kinds{
            QStringLiteral("Other"),        QStringLiteral("Empty"),
            QStringLiteral("OutOfRange"),   QStringLiteral("Twice"),
            QStringLiteral("NoParent"),     QStringLiteral("NotPlainName"),
            QStringLiteral("MediaMissing"), QStringLiteral("MediaEmpty")};
        QStringList got;
        for (const DeckProblem& p : DeckCsv::read(dir.path()).problems)
            if (p.table == DeckProblem::Table::Word)
                got << QStringLiteral("word %1-%2-%3 %4 %5 %6")
                           .arg(p.group)
                           .arg(p.sgroup)
                           .arg(p.key)
                           .arg(p.field, kinds.at(int(p.kind)), p.media);
        QCOMPARE(got, expected);
    }

    void missingFileIsReported() {
        QTemporaryDir dir;
        DeckFolder::write(dir.path(), DeckFolder::base());
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("subgroups.csv"))));
        const QStringList got = reports(DeckCsv::read(dir.path()).problems, dir.path());
        QCOMPARE(got.size(), 1);
        QVERIFY2(got.front().startsWith(QStringLiteral("subgroups.csv: cannot be read")),
                 qPrintable(got.front()));
    }
};

QTEST_GUILESS_MAIN(TestDeckCsv)
#include "tst_deckcsv.moc"
