// Converting older word-data files: the record sources in their several shapes, every field
// carried over, rows left out and reported, failures that write nothing, media found without
// regard to case.
#include "legacyerror.h"
#include "legacyimport.h"
#include "olddeck.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <worddatafile.h>

Q_DECLARE_METATYPE(OldDeck)
Q_DECLARE_METATYPE(LegacyError::Reason)

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Rows of a query on the converted file, fields joined by "|", Null as "NULL".
QStringList rows(const QString& path, const QString& sql) {
    QStringList out;
    const QSqlDatabase db = WordDataFile::connection(path);
    QSqlQuery query(db);
    if (!query.exec(sql))
        qFatal("%s", qPrintable(sql));
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < query.record().count(); ++i)
            fields << (query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
        out << fields.join(u'|');
    }
    return out;
}

QString expectedWord(int key) {
    QStringList fields;
    for (const QVariant& value : OldDeck::word(key))
        fields << (value.isValid() ? value.toString() : QStringLiteral("NULL"));
    return fields.join(u'|');
}

const QString wordColumns =
    QStringLiteral(R"("key", "group", "sgroup", "level", "times", "word", "meaning",)"
                   uR"( "images", "voice", "text1", "text2", "filler1", "filler2", "filler3")");

} // namespace

class TestLegacyImport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString old(const OldDeck& deck, const QString& name = QStringLiteral("old/words.pml")) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        if (!deck.writer().write(path))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString target(const QString& name = QStringLiteral("new/words.pml")) {
        const QString path = dir_.filePath(name);
        WordDataFile::close(path);
        QDir(QFileInfo(path).path()).removeRecursively();
        return path;
    }

  private slots:
    void convertsEveryShape_data() {
        QTest::addColumn<OldDeck>("deck");
        OldDeck plain;
        QTest::addRow("tables named as the record sources") << plain;
        OldDeck groupsQuery;
        groupsQuery.groups = OldDeck::Groups::Query;
        QTest::addRow("tittle as a query") << groupsQuery;
        OldDeck otherName;
        otherName.subGroupTable = QStringLiteral("T_小グループ");
        QTest::addRow("sub-groups in a table of another name") << otherName;
        OldDeck joined;
        joined.link = OldDeck::Link::SelectWordJoin;
        joined.subGroupTable = QStringLiteral("sgroups");
        QTest::addRow("words linked through select_word's join") << joined;
        OldDeck uncompressed;
        uncompressed.encoding = JetWriter::TextEncoding::Plain;
        QTest::addRow("texts stored uncompressed") << uncompressed;
        OldDeck many;
        many.words = 5000;
        many.link = OldDeck::Link::SelectWordJoin;
        QTest::addRow("5,000 words over many pages") << many;
    }
    void convertsEveryShape() {
        QFETCH(OldDeck, deck);
        const QString from = old(deck);
        const QByteArray before = contents(from);
        const QString to = target();
        const ImportReport report = LegacyImport::convert(from, to);
        QCOMPARE(contents(from), before);
        QCOMPARE(report.groups, 2);
        QCOMPARE(report.subGroups, 3);
        QCOMPARE(report.words, deck.words);
        QCOMPARE(report.leftOut, QStringList());
        QCOMPARE(rows(to, QStringLiteral(
                              R"(SELECT "group", "tittle", "ttlimage", "setmei" FROM "tittle")")),
                 (QStringList{QStringLiteral("1|どうぶつ|animals|どうぶつの なまえ"),
                              QStringLiteral("2|たべもの|food|たべものの なまえ")}));
        QCOMPARE(rows(to, QStringLiteral(
                              R"(SELECT "group", "sgroup", "images", "select" FROM "subgroup")")),
                 (QStringList{QStringLiteral("1|1|sub11|1"), QStringLiteral("1|2|sub12|0"),
                              QStringLiteral("2|1|sub21|0")}));
        const QStringList words =
            rows(to, QStringLiteral("SELECT %1 FROM \"word\" ORDER BY \"key\"").arg(wordColumns));
        QCOMPARE(words.size(), deck.words);
        for (const int key : {1, 2, 3, 4, deck.words})
            QCOMPARE(words[key - 1], expectedWord(key));
        // The marked sub-group's words are the study words, with their tallies.
        QCOMPARE(rows(to, QStringLiteral(R"(SELECT count(*) FROM "select_word")")),
                 QStringList{QString::number((deck.words + 2) / 3)});
        WordDataFile::close(to);
    }

    void keepsNullApartFromEmpty() {
        OldDeck deck;
        deck.extraWords << QVariantList{100,
                                        1,
                                        1,
                                        0,
                                        0,
                                        QStringLiteral("w"),
                                        QStringLiteral(""),
                                        QStringLiteral("p"),
                                        QStringLiteral("v"),
                                        QVariant(),
                                        QStringLiteral(""),
                                        QVariant(),
                                        QStringLiteral(""),
                                        QVariant()};
        const QString to = target();
        LegacyImport::convert(old(deck), to);
        QCOMPARE(
            rows(to, QStringLiteral(
                         R"(SELECT "meaning", "text1", "text2", "filler1", "filler2", "filler3")"
                         uR"( FROM "word" WHERE "key" = 100)")),
            QStringList{QStringLiteral("|NULL||NULL||NULL")});
        WordDataFile::close(to);
    }

    void leavesOutRowsOurFormatCannotHold_data() {
        QTest::addColumn<OldDeck>("deck");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<int>("words");
        const auto word = [](QVariant key, QVariant group, QVariant sgroup, QVariant level,
                             QVariant text) {
            return QVariantList{
                key, group, sgroup, level, 0, text, {}, QStringLiteral("p"), QStringLiteral("v"),
                {},  {},    {},     {},    {}};
        };
        const auto add = [&](const char* name, QVariantList row, const QString& reported) {
            OldDeck deck;
            deck.extraWords << row;
            QTest::addRow("%s", name) << deck << reported << 6;
        };
        add("level outside 0..5", word(50, 1, 1, 7, QStringLiteral("w")),
            QStringLiteral("word key 50: level 7 is not between 0 and 5"));
        add("duplicate key", word(3, 1, 1, 0, QStringLiteral("w")),
            QStringLiteral("word key 3: the key comes twice"));
        add("key 0", word(0, 1, 1, 0, QStringLiteral("w")),
            QStringLiteral("word key 0: key 0 is not between 1 and 2147483647"));
        add("word Null", word(51, 1, 1, 0, QVariant()),
            QStringLiteral("word key 51: word is empty (Null)"));
        add("no such sub-group", word(52, 1, 9, 0, QStringLiteral("w")),
            QStringLiteral("word key 52: its sub-group is not in ordered"));
        OldDeck badGroup;
        badGroup.extraGroups << QVariantList{9, QStringLiteral("t"), QStringLiteral("i"),
                                             QStringLiteral("s")};
        QTest::addRow("group outside 1..6")
            << badGroup << QStringLiteral("tittle row 3: group 9 is not between 1 and 6") << 6;
        OldDeck nullTitle;
        nullTitle.extraGroups << QVariantList{3, QVariant(), QStringLiteral("i"),
                                              QStringLiteral("s")};
        QTest::addRow("group title Null")
            << nullTitle << QStringLiteral("tittle row 3: tittle is empty (Null)") << 6;
        // A damaged column reads as another type or as nothing: the rows go, reported.
        OldDeck emptyPicture;
        emptyPicture.extraSubGroups << QVariantList{2, 2, QStringLiteral(" "), false};
        QTest::addRow("sub-group picture empty")
            << emptyPicture << QStringLiteral("ordered row 4: images is empty") << 6;
        const auto withPicture = [&](int key, const QVariant& picture) {
            QVariantList row = word(key, 1, 1, 0, QStringLiteral("w"));
            row[7] = picture;
            return row;
        };
        add("picture outside the folder", withPicture(54, QStringLiteral("../x")),
            QStringLiteral("word key 54: picture name \"../x\" is not a plain file name"));
        OldDeck orphan;
        orphan.extraSubGroups << QVariantList{5, 1, QStringLiteral("x"), false};
        QTest::addRow("sub-group of no group")
            << orphan << QStringLiteral("ordered row 4: group 5 is not in tittle") << 6;
    }
    void leavesOutRowsOurFormatCannotHold() {
        QFETCH(OldDeck, deck);
        QFETCH(QString, reported);
        QFETCH(int, words);
        const QString to = target();
        const ImportReport report = LegacyImport::convert(old(deck), to);
        QCOMPARE(report.leftOut, QStringList{reported});
        QCOMPARE(report.words, words);
        QVERIFY(report.text().contains(reported));
        QCOMPARE(rows(to, QStringLiteral(R"(SELECT count(*) FROM "word")")),
                 QStringList{QString::number(words)});
        WordDataFile::close(to);
    }

    void failsWritingNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LegacyError::Reason>("reason");
        QTest::addColumn<QString>("message");
        using R = LegacyError::Reason;
        OldDeck noWord;
        noWord.withWord = false;
        QTest::addRow("no word") << noWord.writer().build() << R::NotWordData
                                 << QStringLiteral("the record source word is missing");
        JetWriter other;
        other.addTable(QStringLiteral("customers"), {{QStringLiteral("id"), JetWriter::Type::Long}},
                       {{1}});
        QTest::addRow("another application's file")
            << other.build() << R::NotWordData
            << QStringLiteral("the record source tittle is missing");
        QTest::addRow("text file")
            << QByteArray("not a deck\n") << R::NotJetFile << QStringLiteral("not an Access");
        const QByteArray whole = OldDeck().writer().build();
        QTest::addRow("cut short")
            << whole.left(whole.size() - 3000) << R::Damaged << QStringLiteral("cut short");
        JetWriter locked = OldDeck().writer();
        locked.setDatabaseKey(0x2468ace0);
        QTest::addRow("encrypted") << locked.build() << R::Protected << QStringLiteral("password");
    }
    void failsWritingNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(LegacyError::Reason, reason);
        QFETCH(QString, message);
        const QString from = dir_.filePath(QStringLiteral("bad/words.pml"));
        touch(from, bytes);
        const QString to = target();
        try {
            LegacyImport::convert(from, to);
            QFAIL("converted");
        } catch (const LegacyError& error) {
            QCOMPARE(error.reason(), reason);
            QVERIFY2(error.message().contains(message), qPrintable(error.message()));
        }
        QVERIFY(!QFileInfo::exists(QFileInfo(to).path()) ||
                QDir(QFileInfo(to).path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
        QCOMPARE(contents(from), bytes);
    }

    // A query whose fields the import cannot follow is named, not guessed.
    void namesAQueryItCannotUnderstand_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QList<JetWriter::QueryPart>>("parts");
        QTest::addRow("ordered with an expression")
            << QStringLiteral("ordered")
            << QList<JetWriter::QueryPart>{JetWriter::source(QStringLiteral("subgroup")),
                                           JetWriter::output(QStringLiteral("[group]")),
                                           JetWriter::output(QStringLiteral("[sgroup]")),
                                           JetWriter::output(QStringLiteral("[images] & \".jpg\""),
                                                             QStringLiteral("images"))};
        QTest::addRow("select_word without the join")
            << QStringLiteral("select_word")
            << QList<JetWriter::QueryPart>{JetWriter::source(QStringLiteral("word")),
                                           JetWriter::output(QStringLiteral("*"))};
    }
    void namesAQueryItCannotUnderstand() {
        QFETCH(QString, query);
        QFETCH(QList<JetWriter::QueryPart>, parts);
        OldDeck deck;
        deck.link = OldDeck::Link::SelectWordJoin;
        JetWriter writer = deck.writer();
        writer.replaceQuery(query, parts);
        const QString from = dir_.filePath(QStringLiteral("query/words.pml"));
        QDir().mkpath(QFileInfo(from).path());
        QVERIFY(writer.write(from));
        try {
            LegacyImport::convert(from, target());
            QFAIL("converted");
        } catch (const LegacyError& error) {
            QCOMPARE(error.reason(), LegacyError::Reason::Query);
            QVERIFY2(error.message().contains(QStringLiteral("saved query ") + query),
                     qPrintable(error.message()));
        }
    }

    void copiesMediaFoundWithoutRegardToCase() {
        OldDeck deck;
        deck.words = 2;
        const QString from = old(deck, QStringLiteral("media/words.pml"));
        const QString folder = QFileInfo(from).path();
        touch(folder + QStringLiteral("/Images/Animals.JPG"), "animals");
        touch(folder + QStringLiteral("/Images/food.bmp"), "food");
        touch(folder + QStringLiteral("/Images/food.BMP.txt"), "other");
        touch(folder + QStringLiteral("/Images/sub11.jpg"), "sub11");
        touch(folder + QStringLiteral("/Images/SUB11.jpg"), "SUB11");
        touch(folder + QStringLiteral("/Images/Pic1.Jpg"), "pic1");
        touch(folder + QStringLiteral("/voice/VOICE1.WAV"), "voice1");
        const QString to = target(QStringLiteral("media-new/words.pml"));
        const ImportReport report = LegacyImport::convert(from, to);
        const QString out = QFileInfo(to).path();
        QCOMPARE(contents(out + QStringLiteral("/images/animals.jpg")), QByteArray("animals"));
        QCOMPARE(contents(out + QStringLiteral("/images/food.bmp")), QByteArray("food"));
        QCOMPARE(contents(out + QStringLiteral("/images/sub11.jpg")), QByteArray("sub11"));
        QCOMPARE(contents(out + QStringLiteral("/images/pic1.jpg")), QByteArray("pic1"));
        QCOMPARE(contents(out + QStringLiteral("/voice/voice1.wav")), QByteArray("voice1"));
        QCOMPARE(
            report.missingMedia,
            (QStringList{QStringLiteral("images/sub12.jpg"), QStringLiteral("images/sub21.jpg"),
                         QStringLiteral("images/pic2.jpg"), QStringLiteral("voice/voice2.wav")}));
        WordDataFile::close(to);
    }

    void leavesAReadOnlyFolderAsItWas() {
        const QString from = old(OldDeck(), QStringLiteral("readonly/words.pml"));
        const QString folder = QFileInfo(from).path();
        touch(folder + QStringLiteral("/images/animals.jpg"));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString to = target(QStringLiteral("readonly-new/words.pml"));
        LegacyImport::convert(from, to);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QFileInfo::exists(QFileInfo(to).path() + QStringLiteral("/images/animals.jpg")));
        WordDataFile::close(to);
    }

    // The progress only ever moves forward, from nothing to the last file copied.
    void reportsProgressForward() {
        QList<double> fractions;
        LegacyImport::convert(old(OldDeck()), target(),
                              [&](int done, int total) { fractions << double(done) / total; });
        QVERIFY(fractions.size() > 3);
        QCOMPARE(fractions.first(), 0.0);
        for (qsizetype i = 1; i < fractions.size(); ++i)
            QVERIFY(fractions[i] >= fractions[i - 1]);
        QVERIFY(fractions.last() > 0.9);
    }

    void refusesToReplaceTheOlderFile() {
        const QString from = old(OldDeck(), QStringLiteral("same/words.pml"));
        const QByteArray before = contents(from);
        QVERIFY_THROWS_EXCEPTION(LegacyError, LegacyImport::convert(from, from));
        QCOMPARE(contents(from), before);
    }
};

QTEST_GUILESS_MAIN(TestLegacyImport)
#include "tst_legacyimport.moc"
