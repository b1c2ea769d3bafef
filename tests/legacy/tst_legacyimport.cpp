// Converting older word-data files: the record sources in their several shapes, every field
// carried over, rows left out and reported, failures that write nothing, media found without
// regard to case.
#include "legacyerror.h"
#include "legacyimport.h"
#include "olddeck.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <worddatafile.h>

using namespace Qt::StringLiterals;

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
            fields << (query.isNull(i) ? u"NULL"_s : query.value(i).toString());
        out << fields.join(u'|');
    }
    return out;
}

QString expectedWord(int key) {
    QStringList fields;
    for (const QVariant& value : OldDeck::word(key))
        fields << (value.isValid() ? value.toString() : u"NULL"_s);
    return fields.join(u'|');
}

const QString wordColumns =
    uR"("key", "group", "sgroup", "level", "times", "word", "meaning",)"
    uR"( "images", "voice", "text1", "text2", "filler1", "filler2", "filler3")"_s;

} // namespace

class TestLegacyImport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString old(const OldDeck& deck, const QString& name = u"old/words.pml"_s) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        if (!deck.writer().write(path))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString target(const QString& name = u"new/words.pml"_s) {
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
        otherName.subGroupTable = u"T_小グループ"_s;
        QTest::addRow("sub-groups in a table of another name") << otherName;
        OldDeck joined;
        joined.link = OldDeck::Link::SelectWordJoin;
        joined.subGroupTable = u"sgroups"_s;
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
        QCOMPARE(rows(to, uR"(SELECT "group", "tittle", "ttlimage", "setmei" FROM "tittle")"_s),
                 (QStringList{u"1|どうぶつ|animals|どうぶつの なまえ"_s,
                              u"2|たべもの|food|たべものの なまえ"_s}));
        QCOMPARE(rows(to, uR"(SELECT "group", "sgroup", "images", "select" FROM "subgroup")"_s),
                 (QStringList{u"1|1|sub11|1"_s, u"1|2|sub12|0"_s, u"2|1|sub21|0"_s}));
        const QStringList words =
            rows(to, u"SELECT %1 FROM \"word\" ORDER BY \"key\""_s.arg(wordColumns));
        QCOMPARE(words.size(), deck.words);
        for (const int key : {1, 2, 3, 4, deck.words})
            QCOMPARE(words[key - 1], expectedWord(key));
        // The marked sub-group's words are the study words, with their tallies.
        QCOMPARE(rows(to, uR"(SELECT count(*) FROM "select_word")"_s),
                 QStringList{QString::number((deck.words + 2) / 3)});
        WordDataFile::close(to);
    }

    void keepsNullApartFromEmpty() {
        OldDeck deck;
        deck.extraWords << QVariantList{100,    1,          1,      0,         0,
                                        u"w"_s, u""_s,      u"p"_s, u"v"_s,    QVariant(),
                                        u""_s,  QVariant(), u""_s,  QVariant()};
        const QString to = target();
        LegacyImport::convert(old(deck), to);
        QCOMPARE(rows(to, uR"(SELECT "meaning", "text1", "text2", "filler1", "filler2", "filler3")"
                          uR"( FROM "word" WHERE "key" = 100)"_s),
                 QStringList{u"|NULL||NULL||NULL"_s});
        WordDataFile::close(to);
    }

    void leavesOutRowsOurFormatCannotHold_data() {
        QTest::addColumn<OldDeck>("deck");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<int>("words");
        const auto word = [](QVariant key, QVariant group, QVariant sgroup, QVariant level,
                             QVariant text) {
            return QVariantList{key,    group,  sgroup, level, 0,  text, {},
                                u"p"_s, u"v"_s, {},     {},    {}, {},   {}};
        };
        const auto add = [&](const char* name, QVariantList row, const QString& reported) {
            OldDeck deck;
            deck.extraWords << row;
            QTest::addRow("%s", name) << deck << reported << 6;
        };
        add("level outside 0..5", word(50, 1, 1, 7, u"w"_s),
            u"word key 50: level 7 is outside 0..5"_s);
        add("duplicate key", word(3, 1, 1, 0, u"w"_s), u"word key 3: the key comes twice"_s);
        add("key 0", word(0, 1, 1, 0, u"w"_s),
            u"word key 0: key is not a positive 32-bit number"_s);
        add("word Null", word(51, 1, 1, 0, QVariant()), u"word key 51: word is empty (Null)"_s);
        add("no such sub-group", word(52, 1, 9, 0, u"w"_s),
            u"word key 52: its sub-group is not in ordered"_s);
        OldDeck badGroup;
        badGroup.extraGroups << QVariantList{9, u"t"_s, u"i"_s, u"s"_s};
        QTest::addRow("group outside 1..6")
            << badGroup << u"tittle row 3: group 9 is outside 1..6"_s << 6;
        OldDeck nullTitle;
        nullTitle.extraGroups << QVariantList{3, QVariant(), u"i"_s, u"s"_s};
        QTest::addRow("group title Null")
            << nullTitle << u"tittle row 3: tittle is empty (Null)"_s << 6;
        OldDeck orphan;
        orphan.extraSubGroups << QVariantList{5, 1, u"x"_s, false};
        QTest::addRow("sub-group of no group")
            << orphan << u"ordered row 4: group 5 is not in tittle"_s << 6;
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
        QCOMPARE(rows(to, uR"(SELECT count(*) FROM "word")"_s),
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
                                 << u"the record source word is missing"_s;
        JetWriter other;
        other.addTable(u"customers"_s, {{u"id"_s, JetWriter::Type::Long}}, {{1}});
        QTest::addRow("another application's file")
            << other.build() << R::NotWordData << u"the record source tittle is missing"_s;
        QTest::addRow("text file")
            << QByteArray("not a deck\n") << R::NotJetFile << u"not an Access"_s;
        const QByteArray whole = OldDeck().writer().build();
        QTest::addRow("cut short")
            << whole.left(whole.size() - 3000) << R::Damaged << u"cut short"_s;
        JetWriter locked = OldDeck().writer();
        locked.setDatabaseKey(0x2468ace0);
        QTest::addRow("encrypted") << locked.build() << R::Protected << u"password"_s;
    }
    void failsWritingNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(LegacyError::Reason, reason);
        QFETCH(QString, message);
        const QString from = dir_.filePath(u"bad/words.pml"_s);
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
            << u"ordered"_s
            << QList<JetWriter::QueryPart>{
                   JetWriter::source(u"subgroup"_s), JetWriter::output(u"[group]"_s),
                   JetWriter::output(u"[sgroup]"_s),
                   JetWriter::output(u"[images] & \".jpg\""_s, u"images"_s)};
        QTest::addRow("select_word without the join")
            << u"select_word"_s
            << QList<JetWriter::QueryPart>{JetWriter::source(u"word"_s), JetWriter::output(u"*"_s)};
    }
    void namesAQueryItCannotUnderstand() {
        QFETCH(QString, query);
        QFETCH(QList<JetWriter::QueryPart>, parts);
        OldDeck deck;
        deck.link = OldDeck::Link::SelectWordJoin;
        JetWriter writer = deck.writer();
        writer.replaceQuery(query, parts);
        const QString from = dir_.filePath(u"query/words.pml"_s);
        QDir().mkpath(QFileInfo(from).path());
        QVERIFY(writer.write(from));
        try {
            LegacyImport::convert(from, target());
            QFAIL("converted");
        } catch (const LegacyError& error) {
            QCOMPARE(error.reason(), LegacyError::Reason::Query);
            QVERIFY2(error.message().contains(u"saved query "_s + query),
                     qPrintable(error.message()));
        }
    }

    void copiesMediaFoundWithoutRegardToCase() {
        OldDeck deck;
        deck.words = 2;
        const QString from = old(deck, u"media/words.pml"_s);
        const QString folder = QFileInfo(from).path();
        touch(folder + u"/Images/Animals.JPG"_s, "animals");
        touch(folder + u"/Images/food.bmp"_s, "food");
        touch(folder + u"/Images/food.BMP.txt"_s, "other");
        touch(folder + u"/Images/sub11.jpg"_s, "sub11");
        touch(folder + u"/Images/SUB11.jpg"_s, "SUB11");
        touch(folder + u"/Images/Pic1.Jpg"_s, "pic1");
        touch(folder + u"/voice/VOICE1.WAV"_s, "voice1");
        const QString to = target(u"media-new/words.pml"_s);
        const ImportReport report = LegacyImport::convert(from, to);
        const QString out = QFileInfo(to).path();
        QCOMPARE(contents(out + u"/images/animals.jpg"_s), QByteArray("animals"));
        QCOMPARE(contents(out + u"/images/food.bmp"_s), QByteArray("food"));
        QCOMPARE(contents(out + u"/images/sub11.jpg"_s), QByteArray("sub11"));
        QCOMPARE(contents(out + u"/images/pic1.jpg"_s), QByteArray("pic1"));
        QCOMPARE(contents(out + u"/voice/voice1.wav"_s), QByteArray("voice1"));
        QCOMPARE(report.missingMedia, (QStringList{u"images/sub12.jpg"_s, u"images/sub21.jpg"_s,
                                                   u"images/pic2.jpg"_s, u"voice/voice2.wav"_s}));
        WordDataFile::close(to);
    }

    void leavesAReadOnlyFolderAsItWas() {
        const QString from = old(OldDeck(), u"readonly/words.pml"_s);
        const QString folder = QFileInfo(from).path();
        touch(folder + u"/images/animals.jpg"_s);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString to = target(u"readonly-new/words.pml"_s);
        LegacyImport::convert(from, to);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QFileInfo::exists(QFileInfo(to).path() + u"/images/animals.jpg"_s));
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
        const QString from = old(OldDeck(), u"same/words.pml"_s);
        const QByteArray before = contents(from);
        QVERIFY_THROWS_EXCEPTION(LegacyError, LegacyImport::convert(from, from));
        QCOMPARE(contents(from), before);
    }
};

PIMLOTAN_TEST_MAIN(TestLegacyImport)
#include "tst_legacyimport.moc"
