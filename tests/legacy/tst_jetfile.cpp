// Reading Access 2000-format files: typed values, Null against empty, long memos, many pages,
// saved queries, files that cannot be read; the test writer checked by the mdbtools programs.
#include "jetfile.h"
#include "jetwriter.h"
#include "legacyerror.h"
#include "testmain.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>

using namespace Qt::StringLiterals;
using T = JetWriter::Type;
using Encoding = JetWriter::TextEncoding;

Q_DECLARE_METATYPE(JetWriter::TextEncoding)
Q_DECLARE_METATYPE(LegacyError::Reason)

namespace {

const QList<JetWriter::Column> valueColumns{{u"key"_s, T::Long},      {u"text"_s, T::Text},
                                            {u"memo"_s, T::Memo},     {u"flag"_s, T::Boolean},
                                            {u"small"_s, T::Integer}, {u"real"_s, T::Double}};

QString outsideBmp() {
    return QString::fromUtf8("\xf0\x9f\x90\x95"); // U+1F415, a surrogate pair in UTF-16
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"MDBICONV"_s);
    environment.remove(u"MDBOPTS"_s);
    process.setProcessEnvironment(environment);
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestJetFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString written(const JetWriter& writer, const QString& name = u"old.pml"_s) {
        const QString path = dir_.filePath(name);
        QFile::remove(path);
        if (!writer.write(path))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

  private slots:
    // The variables that change the library's output are set for the whole run: the reader
    // must not depend on them.
    void initTestCase() {
        qputenv("MDBOPTS", "no_memo");
        qputenv("MDBICONV", "ISO-8859-1");
    }

    void readsValuesAsWritten_data() {
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("memo");
        const QString japanese = u"いぬ（犬）"_s;
        for (const auto& [encoding, label] :
             {std::pair{Encoding::Compressed, "compressed"}, std::pair{Encoding::Plain, "plain"}}) {
            const auto row = [&](const char* name, const QVariant& text, const QVariant& memo) {
                QTest::addRow("%s, %s", label, name) << encoding << text << memo;
            };
            row("latin", QVariant(u"dog"_s), QVariant(u"a dog"_s));
            row("japanese", QVariant(japanese), QVariant(japanese + u"dog"_s));
            row("outside the BMP", QVariant(u"dog "_s + outsideBmp()), QVariant(outsideBmp()));
            // U+4E00 has a zero low byte: it cannot be stored compressed.
            row("zero low byte", QVariant(u"一つ"_s), QVariant(u"一"_s));
            row("empty", QVariant(u""_s), QVariant(u""_s));
            row("null", QVariant(), QVariant());
            row("memo on one long-value page", QVariant(u"x"_s), QVariant(QString(1500, u'あ')));
            row("memo over 16 KiB", QVariant(u"x"_s),
                QVariant(QString(9000, u'犬') + outsideBmp() + QString(100, u'z')));
        }
    }
    void readsValuesAsWritten() {
        QFETCH(Encoding, encoding);
        QFETCH(QVariant, text);
        QFETCH(QVariant, memo);
        JetWriter writer;
        writer.setTextEncoding(encoding);
        writer.addTable(
            u"values"_s, valueColumns,
            {{7, text, memo, true, -3, 2.5}, {8, QVariant(), QVariant(), false, {}, {}}});
        const JetFile file(written(writer));
        const JetTable table = file.readTable(u"VALUES"_s);
        QCOMPARE(table.columns,
                 (QStringList{u"key"_s, u"text"_s, u"memo"_s, u"flag"_s, u"small"_s, u"real"_s}));
        QCOMPARE(table.rows.size(), 2);
        const QVariantList& row = table.rows[0];
        QCOMPARE(row[0], QVariant(qint64(7)));
        QCOMPARE(row[1].isValid(), text.isValid());
        QCOMPARE(row[1].toString(), text.toString());
        QCOMPARE(row[2].isValid(), memo.isValid());
        QCOMPARE(row[2].toString(), memo.toString());
        QCOMPARE(row[3], QVariant(true));
        QCOMPARE(row[4], QVariant(qint64(-3)));
        QCOMPARE(row[5], QVariant(2.5));
        QCOMPARE(table.rows[1][3], QVariant(false));
        QVERIFY(!table.rows[1][4].isValid());
    }

    // A creation date without a password masks nothing that a reader would take for one.
    void readsAFileWithACreationDate() {
        JetWriter writer;
        writer.setPassword({}, 46000.75);
        writer.addTable(u"values"_s, valueColumns, {{1, u"a"_s, u"b"_s, true, 1, 1.0}});
        QCOMPARE(JetFile(written(writer)).readTable(u"values"_s).rows.size(), 1);
    }

    void readsRowsOverManyPages() {
        JetWriter writer;
        QList<QVariantList> rows;
        for (int key = 1; key <= 5000; ++key)
            rows << QVariantList{
                key, u"word %1 ことば"_s.arg(key), QVariant(), key % 2 == 0, key % 6, key / 4.0};
        writer.addTable(u"word"_s, valueColumns, rows);
        const QString path = written(writer);
        QVERIFY(QFileInfo(path).size() > 40 * 4096);
        const JetTable table = JetFile(path).readTable(u"word"_s);
        QCOMPARE(table.rows.size(), 5000);
        QCOMPARE(table.rows[4999][1].toString(), u"word 5000 ことば"_s);
        QCOMPARE(table.rows[4999][5], QVariant(1250.0));
    }

    // Numbers are read in the C locale whatever the process runs under.
    void readsNumbersUnderAnotherLocale() {
        QTemporaryDir locales;
        QProcess::execute(u"localedef"_s, {u"-i"_s, u"de_DE"_s, u"-f"_s, u"UTF-8"_s,
                                           locales.filePath(u"de_DE.UTF-8"_s)});
        qputenv("LOCPATH", QFile::encodeName(locales.path()));
        const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
        QVERIFY2(set, "the test locale could not be made");
        JetWriter writer;
        writer.addTable(u"values"_s, valueColumns, {{1, u"a"_s, u"b"_s, true, 1000, 1234.5}});
        const JetTable table = JetFile(written(writer)).readTable(u"values"_s);
        std::setlocale(LC_ALL, "C");
        qunsetenv("LOCPATH");
        QCOMPARE(table.rows[0][5], QVariant(1234.5));
        QCOMPARE(table.rows[0][4], QVariant(qint64(1000)));
    }

    void listsTablesAndReadsQueries() {
        JetWriter writer;
        writer.addTable(u"groups"_s, {{u"group"_s, T::Long}}, {{1}});
        writer.addQuery(u"tittle"_s, {JetWriter::source(u"groups"_s, u"g"_s),
                                      JetWriter::output(u"[g].[group]"_s, u"group"_s),
                                      JetWriter::where(u"[g].[group] > 0"_s)});
        writer.addQuery(u"~sq_cForm"_s, {JetWriter::source(u"groups"_s)});
        const JetFile file(written(writer));
        QCOMPARE(file.tables(), QStringList{u"groups"_s});
        QCOMPARE(file.queries(), QStringList{u"tittle"_s});
        QCOMPARE(file.queryNamed(u"TITTLE"_s), u"tittle"_s);
        const JetQuery query = file.readQuery(u"tittle"_s);
        QList<int> attributes;
        for (const JetQueryPart& part : query.parts)
            attributes << part.attribute;
        QCOMPARE(attributes, (QList<int>{0, 1, 5, 6, 8, 255}));
        QCOMPARE(query.parts[2].name1, u"groups"_s);
        QCOMPARE(query.parts[2].name2, u"g"_s);
        QCOMPARE(query.parts[3].expression, u"[g].[group]"_s);
        QCOMPARE(query.parts[3].name1, u"group"_s);
    }

    void refusesFilesItCannotRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LegacyError::Reason>("reason");
        JetWriter writer;
        QList<QVariantList> rows;
        for (int key = 1; key <= 400; ++key)
            rows << QVariantList{key, u"a text long enough to fill pages"_s, {}, true, 1, 1.0};
        writer.addTable(u"word"_s, valueColumns, rows);
        const QByteArray whole = writer.build();
        QTest::addRow("text file")
            << QByteArray("group,tittle\n1,animals\n") << LegacyError::Reason::NotJetFile;
        QTest::addRow("SQLite file") << QByteArray("SQLite format 3\0", 16).append(4096, '\0')
                                     << LegacyError::Reason::NotJetFile;
        QTest::addRow("cut inside a page")
            << whole.left(whole.size() - 100) << LegacyError::Reason::Damaged;
        QTest::addRow("cut at a page")
            << whole.left(whole.size() - 4 * 4096) << LegacyError::Reason::Damaged;
        JetWriter encrypted = writer;
        encrypted.setDatabaseKey(0x12345678);
        QTest::addRow("encrypted") << encrypted.build() << LegacyError::Reason::Protected;
        JetWriter locked = writer;
        locked.setPassword(u"himitsu"_s);
        QTest::addRow("password") << locked.build() << LegacyError::Reason::Protected;
    }
    void refusesFilesItCannotRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(LegacyError::Reason, reason);
        const QString path = dir_.filePath(u"bad.pml"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            const JetFile jet(path);
            (void)jet.readTable(u"word"_s);
            QFAIL("read without an error");
        } catch (const LegacyError& error) {
            QCOMPARE(error.reason(), reason);
            QVERIFY(error.message().contains(path));
        }
    }

    // mdb-export and mdb-json are an independent reader of what the test writer makes.
    void writerOutputReadsTheSameInTheMdbtoolsPrograms_data() {
        QTest::addColumn<Encoding>("encoding");
        QTest::addRow("compressed") << Encoding::Compressed;
        QTest::addRow("plain") << Encoding::Plain;
    }
    void writerOutputReadsTheSameInTheMdbtoolsPrograms() {
        QFETCH(Encoding, encoding);
        if (QStandardPaths::findExecutable(u"mdb-export"_s).isEmpty())
            QSKIP("mdbtools is not installed");
        JetWriter writer;
        writer.setTextEncoding(encoding);
        QList<QVariantList> rows;
        for (int key = 1; key <= 300; ++key)
            rows << QVariantList{key,
                                 u"いぬ %1"_s.arg(key),
                                 key == 2 ? QVariant() : QVariant(u"一"_s),
                                 key % 2 == 1,
                                 key,
                                 0.5};
        rows[0][2] = QString(20000, u'猫');
        writer.addTable(u"word"_s, valueColumns, rows);
        writer.addQuery(u"tittle"_s, {JetWriter::source(u"word"_s)});
        const QString path = written(writer);
        QCOMPARE(run(u"mdb-tables"_s, {u"-1"_s, path}).split(u'\n', Qt::SkipEmptyParts),
                 QStringList{u"word"_s});
        QCOMPARE(run(u"mdb-count"_s, {path, u"word"_s}).trimmed(), u"300"_s);
        const QStringList csv = run(u"mdb-export"_s, {path, u"word"_s}).split(u'\n');
        QCOMPARE(csv[0], u"key,text,memo,flag,small,real"_s);
        QCOMPARE(csv[2], u"2,\"いぬ 2\",,0,2,0.5"_s);
        QCOMPARE(csv[300], u"300,\"いぬ 300\",\"一\",0,300,0.5"_s);
        const QString json = run(u"mdb-json"_s, {path, u"word"_s});
        QVERIFY(json.contains(u"\"memo\":\""_s + QString(200, u'猫')));
        const QString queries = run(u"mdb-export"_s, {path, u"MSysQueries"_s});
        QVERIFY(queries.contains(u"5,,0,,\"word\",,65536,2"_s));
    }
};

PIMLOTAN_TEST_MAIN(TestJetFile)
#include "tst_jetfile.moc"
