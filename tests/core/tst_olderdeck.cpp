// Choosing an older (Access 2000-format) deck: the question, the conversion into decks/NAME/,
// the conversion made before, failures that leave everything as it was.
#include "fakeplatform.h"
#include "olderdeck.h"
#include "pmcm000.h"
#include "testmain.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(Prompter::Answer)

namespace {
const QString Question = u"このたんごデータは ふるい かたちです。あたらしい かたちに うつして "
                         u"つかいますか？（もとの ファイルは かわりません）"_s;
const QString Failed = u"このたんごデータを うつせませんでした。\n"_s;
const QString OpenedBefore = u"まえに うつした たんごデータを ひらきます。"_s;

QByteArray jetHeader() {
    QByteArray head(4096, '\0');
    head[1] = 1;
    head.replace(4, 16, QByteArray("Standard Jet DB", 16));
    head[0x14] = 1;
    return head;
}
} // namespace

class TestOlderDeck : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    QStringList conversions; // "from -> to"
    OlderDeck::Conversion result;

    QString olderFile(const QString& name = u"old/どうぶつ.pml"_s) {
        const QString path = fake->documentsFolder() + name;
        FakePlatform::writeFile(path, jetHeader());
        return path;
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        fake->prompter.messages.clear();
        conversions.clear();
        result = {};
        OlderDeck::setConverter(
            [this](const QString& from, const QString& to, const OlderDeck::Progress& step) {
                step(1, 2);
                conversions << from + u" -> "_s + to;
                if (result.error.isEmpty())
                    FakePlatform::writeFile(to, "converted");
                return result;
            });
    }
    void cleanup() {
        OlderDeck::setConverter({});
        fake.reset();
    }

    void asksBeforeConverting_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<bool>("used");
        QTest::addColumn<int>("messages");
        QTest::addRow("yes") << Prompter::Answer::Yes << QString() << 0 << true << 1;
        QTest::addRow("yes, with rows left out")
            << Prompter::Answer::Yes << QString() << 2 << true << 2;
        QTest::addRow("no") << Prompter::Answer::No << QString() << 0 << false << 1;
        QTest::addRow("conversion fails")
            << Prompter::Answer::Yes << u"the record source word is missing"_s << 0 << false << 2;
    }
    void asksBeforeConverting() {
        QFETCH(Prompter::Answer, answer);
        QFETCH(QString, error);
        QFETCH(int, leftOut);
        QFETCH(bool, used);
        QFETCH(int, messages);
        result.error = error;
        result.leftOut = leftOut;
        result.report = u"groups: 1, sub-groups: 1, words: 1\nrows left out: 2\n  a\n  b\n"_s;
        fake->prompter.answers.enqueue(answer);
        const QString from = olderFile();
        const QString deck = fake->settingsFolder() + u"decks/どうぶつ/どうぶつ.pml"_s;
        const QString usable = OlderDeck::offerConversion(from);
        QCOMPARE(usable, used ? deck : QString());
        QCOMPARE(fake->prompter.messages.size(), messages);
        QCOMPARE(fake->prompter.messages[0].text, Question);
        QCOMPARE(fake->prompter.messages[0].title, u"MORVミルタ"_s);
        QCOMPARE(fake->prompter.messages[0].buttons, Prompter::Buttons::YesNo);
        QCOMPARE(conversions.size(), answer == Prompter::Answer::Yes ? 1 : 0);
        // The conversion runs under the progress dialog, which reports its steps.
        QCOMPARE(fake->prompter.progressSteps.size(), conversions.size());
        if (!conversions.isEmpty())
            QCOMPARE(fake->prompter.progressTexts,
                     QStringList{u"たんごデータを うつしています。|MORVミルタ"_s});
        if (!error.isEmpty())
            QCOMPARE(fake->prompter.messages[1].text, Failed + error);
        if (leftOut > 0)
            QVERIFY(fake->prompter.messages[1].text.contains(u"  a"_s));
        QCOMPARE(QFileInfo::exists(QFileInfo(deck).path() + u"/import-report.txt"_s), used);
    }

    void opensTheConversionMadeBefore() {
        const QString from = olderFile();
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        const QString first = OlderDeck::offerConversion(from);
        fake->prompter.messages.clear();
        QCOMPARE(OlderDeck::offerConversion(from), first);
        QCOMPARE(fake->prompter.texts(), QStringList{OpenedBefore});
        QCOMPARE(conversions.size(), 1);
    }

    void keepsADeckConvertedFromAnotherFileOfTheSameName() {
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        const QString first = OlderDeck::offerConversion(olderFile(u"a/words.pml"_s));
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        const QString second = OlderDeck::offerConversion(olderFile(u"b/words.pml"_s));
        QCOMPARE(first, fake->settingsFolder() + u"decks/words/words.pml"_s);
        QCOMPARE(second, fake->settingsFolder() + u"decks/words-2/words.pml"_s);
    }

    void leavesOtherFilesAlone() {
        const QString path = fake->documentsFolder() + u"deck.pml"_s;
        FakePlatform::writeFile(path, "SQLite format 3");
        QCOMPARE(OlderDeck::offerConversion(path), path);
        QCOMPARE(OlderDeck::offerConversion(fake->documentsFolder() + u"none.pml"_s),
                 fake->documentsFolder() + u"none.pml"_s);
        QVERIFY(fake->prompter.messages.isEmpty());
    }
};

PIMLOTAN_TEST_MAIN(TestOlderDeck)
#include "tst_olderdeck.moc"
