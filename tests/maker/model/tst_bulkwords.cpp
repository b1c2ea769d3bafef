// The words typed or pasted to add many at once.
#include <QTest>
#include <bulkwords.h>

using namespace Qt::StringLiterals;
using Entries = QList<BulkWords::Entry>;

class TestBulkWords : public QObject {
    Q_OBJECT
  private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("one a line") << u"dog\ncat"_s << Entries{{u"dog"_s, {}}, {u"cat"_s, {}}};
        QTest::newRow("with meanings, any comma or a tab")
            << u"dog, いぬ\ncat、ねこ\nfox\tきつね\nowl，ふくろう"_s
            << Entries{{u"dog"_s, u"いぬ"_s},
                       {u"cat"_s, u"ねこ"_s},
                       {u"fox"_s, u"きつね"_s},
                       {u"owl"_s, u"ふくろう"_s}};
        QTest::newRow("blank lines and spaces")
            << u"\r\n  ice   cream  \r\n\n ,いぬ\n"_s << Entries{{u"ice cream"_s, {}}};
        QTest::newRow("only the first comma divides")
            << u"a, b, c"_s << Entries{{u"a"_s, u"b, c"_s}};
        QTest::newRow("nothing") << u""_s << Entries{};
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(Entries, entries);
        QCOMPARE(BulkWords::parse(text), entries);
    }
};

QTEST_GUILESS_MAIN(TestBulkWords)
#include "tst_bulkwords.moc"
