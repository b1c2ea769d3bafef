// Reading Access 2000-format files: typed values, Null against empty, long memos, many pages,
// saved queries, files that cannot be read; the test writer checked by the mdbtools programs.
#include "jetfile.h"
#include "jetwriter.h"
#include "legacyerror.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>

using T = JetWriter::Type;
using Encoding = JetWriter::TextEncoding;

Q_DECLARE_METATYPE(JetWriter::TextEncoding)
Q_DECLARE_METATYPE(LegacyError::Reason)

namespace {

const QList<JetWriter::Column> valueColumns{
    {QStringLiteral("key"), T::Long},      {QStringLiteral("text"), T::Text},
    {QStringLiteral("memo"), T::Memo},     {QStringLiteral("flag"), T::Boolean},
    {QStringLiteral("small"), T::Integer}, {QStringLiteral("real"), T::Double}};

QString outsideBmp() {
    return QString::fromUtf8("\xf0\x9f\x90\x95"); // U+1F415, a surrogate pair in UTF-16
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("MDBICONV"));
    environment.remove(QStringLiteral("MDBOPTS"));
    process.setProcessEnvironment(environment);
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestJetFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString written(const JetWriter& writer, const QString& name = QStringLiteral("old.pml")) {
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
        const QString japanese = QStringLiteral("いぬ（犬）");
        for (const auto& [encoding, label] :
             {std::pair{Encoding::Compressed, "compressed"}, std::pair{Encoding::Plain, "plain"}}) {
            const auto row = [&](const char* name, const QVariant& text, const QVariant& memo) {
                QTest::addRow("%s, %s", label, name) << encoding << text << memo;
            };
            row("latin", QVariant(QStringLiteral("dog")), QVariant(QStringLiteral("a dog")));
            row("japanese", QVariant(japanese), QVariant(japanese + QStringLiteral("dog")));
            row("outside the BMP", QVariant(QStringLiteral("dog ") + outsideBmp()),
                QVariant(outsideBmp()));
            // U+4E00 has a zero low byte: it cannot be stored compressed.
            row("zero low byte", QVariant(QStringLiteral("一つ")), QVariant(QStringLiteral("一")));
            row("empty", QVariant(QStringLiteral("")), QVariant(QStringLiteral("")));
            row("null", QVariant(), QVariant());
            row("memo on one long-value page", QVariant(QStringLiteral("x")),
                QVariant(QString(1500, u'あ')));
            row("memo over 16 KiB", QVariant(QStringLiteral("x")),
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
            QStringLiteral("values"), valueColumns,
            {{7, text, memo, true, -3, 2.5}, {8, QVariant(), QVariant(), false, {}, {}}});
        const JetFile file(written(writer));
        const JetTable table = file.readTable(QStringLiteral("VALUES"));
        QCOMPARE(table.columns, (QStringList{QStringLiteral("key"), QStringLiteral("text"),
                                             QStringLiteral("memo"), QStringLiteral("flag"),
                                             QStringLiteral("small"), QStringLiteral("real")}));
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
        writer.addTable(QStringLiteral("values"), valueColumns,
                        {{1, QStringLiteral("a"), QStringLiteral("b"), true, 1, 1.0}});
        QCOMPARE(JetFile(written(writer)).readTable(QStringLiteral("values")).rows.size(), 1);
    }

    void readsRowsOverManyPages() {
        JetWriter writer;
        QList<QVariantList> rows;
        for (int key = 1; key <= 5000; ++key)
            rows << QVariantList{key,        QStringLiteral("word %1 ことば").arg(key),
                                 QVariant(), key % 2 == 0,
                                 key % 6,    key / 4.0};
        writer.addTable(QStringLiteral("word"), valueColumns, rows);
        const QString path = written(writer);
        QVERIFY(QFileInfo(path).size() > 40 * 4096);
        const JetTable table = JetFile(path).readTable(QStringLiteral("word"));
        QCOMPARE(table.rows.size(), 5000);
        QCOMPARE(table.rows[4999][1].toString(), QStringLiteral("word 5000 ことば"));
        QCOMPARE(table.rows[4999][5], QVariant(1250.0));
    }

    // Numbers are read in the C locale whatever the process runs under.
    void readsNumbersUnderAnotherLocale() {
        QTemporaryDir locales;
        QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"),
                           locales.filePath(QStringLiteral("de_DE.UTF-8"))});
        qputenv("LOCPATH", QFile::encodeName(locales.path()));
        const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
        QVERIFY2(set, "the test locale could not be made");
        JetWriter writer;
        writer.addTable(QStringLiteral("values"), valueColumns,
                        {{1, QStringLiteral("a"), QStringLiteral("b"), true, 1000, 1234.5}});
        const JetTable table = JetFile(written(writer)).readTable(QStringLiteral("values"));
        std::setlocale(LC_ALL, "C");
        qunsetenv("LOCPATH");
        QCOMPARE(table.rows[0][5], QVariant(1234.5));
        QCOMPARE(table.rows[0][4], QVariant(qint64(1000)));
    }

    void listsTablesAndReadsQueries() {
        JetWriter writer;
        writer.addTable(QStringLiteral("groups"), {{QStringLiteral("group"), T::Long}}, {{1}});
        writer.addQuery(QStringLiteral("tittle"),
                        {JetWriter::source(QStringLiteral("groups"), QStringLiteral("g")),
                         JetWriter::output(QStringLiteral("[g].[group]"), QStringLiteral("group")),
                         JetWriter::where(QStringLiteral("[g].[group] > 0"))});
        writer.addQuery(QStringLiteral("~sq_cForm"), {JetWriter::source(QStringLiteral("groups"))});
        const JetFile file(written(writer));
        QCOMPARE(file.tables(), QStringList{QStringLiteral("groups")});
        QCOMPARE(file.queries(), QStringList{QStringLiteral("tittle")});
        QCOMPARE(file.queryNamed(QStringLiteral("TITTLE")), QStringLiteral("tittle"));
        const JetQuery query = file.readQuery(QStringLiteral("tittle"));
        QList<int> attributes;
        for (const JetQueryPart& part : query.parts)
            attributes << part.attribute;
        QCOMPARE(attributes, (QList<int>{0, 1, 5, 6, 8, 255}));
        QCOMPARE(query.parts[2].name1, QStringLiteral("groups"));
        QCOMPARE(query.parts[2].name2, QStringLiteral("g"));
        QCOMPARE(query.parts[3].expression, QStringLiteral("[g].[group]"));
        QCOMPARE(query.parts[3].name1, QStringLiteral("group"));
    }

    void refusesFilesItCannotRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LegacyError::Reason>("reason");
        JetWriter writer;
        QList<QVariantList> rows;
        for (int key = 1; key <= 400; ++key)
            rows << QVariantList{
                key, QStringLiteral("a text long enough to fill pages"), {}, true, 1, 1.0};
        writer.addTable(QStringLiteral("word"), valueColumns, rows);
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
        locked.setPassword(QStringLiteral("himitsu"));
        QTest::addRow("password") << locked.build() << LegacyError::Reason::Protected;
    }
    void refusesFilesItCannotRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(LegacyError::Reason, reason);
        const QString path = dir_.filePath(QStringLiteral("bad.pml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            const JetFile jet(path);
            (void)jet.readTable(QStringLiteral("word"));
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
        if (QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty())
            QSKIP("mdbtools is not installed");
        JetWriter writer;
        writer.setTextEncoding(encoding);
        QList<QVariantList> rows;
        for (int key = 1; key <= 300; ++key)
            rows << QVariantList{key,
                                 QStringLiteral("いぬ %1").arg(key),
                                 key == 2 ? QVariant() : QVariant(QStringLiteral("一")),
                                 key % 2 == 1,
                                 key,
                                 0.5};
        rows[0][2] = QString(20000, u'猫');
        writer.addTable(QStringLiteral("word"), valueColumns, rows);
        writer.addQuery(QStringLiteral("tittle"), {JetWriter::source(QStringLiteral("word"))});
        const QString path = written(writer);
        QCOMPARE(run(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), path})
                     .split(u'\n', Qt::SkipEmptyParts),
                 QStringList{QStringLiteral("word")});
        QCOMPARE(run(QStringLiteral("mdb-count"), {path, QStringLiteral("word")}).trimmed(),
                 QStringLiteral("300"));
        const QStringList csv =
            run(QStringLiteral("mdb-export"), {path, QStringLiteral("word")}).split(u'\n');
        QCOMPARE(csv[0], QStringLiteral("key,text,memo,flag,small,real"));
        QCOMPARE(csv[2], QStringLiteral("2,\"いぬ 2\",,0,2,0.5"));
        QCOMPARE(csv[300], QStringLiteral("300,\"いぬ 300\",\"一\",0,300,0.5"));
        const QString json = run(QStringLiteral("mdb-json"), {path, QStringLiteral("word")});
        QVERIFY(json.contains(QStringLiteral("\"memo\":\"") + QString(200, u'猫')));
        const QString queries =
            run(QStringLiteral("mdb-export"), {path, QStringLiteral("MSysQueries")});
        QVERIFY(queries.contains(QStringLiteral("5,,0,,\"word\",,65536,2")));
    }
};

QTEST_GUILESS_MAIN(TestJetFile)
#include "tst_jetfile.moc"
