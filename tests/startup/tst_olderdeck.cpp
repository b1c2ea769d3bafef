// Choosing an older (Access 2000-format) deck: the question, the conversion into decks/NAME/,
// the conversion made before, failures that leave everything as it was.
#include "deckchoice.h"
#include "fakeplatform.h"
#include "olderdeck.h"
#include "pmcm000.h"

#include <QDir>
#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(Prompter::Answer)

namespace {
const QString Question =
    QStringLiteral("このたんごデータは ふるい かたちです。あたらしい かたちに うつして "
                   "つかいますか？（もとの ファイルは かわりません）");
const QString Failed = QStringLiteral("このたんごデータを うつせませんでした。\n");
const QString OpenedBefore = QStringLiteral("まえに うつした たんごデータを ひらきます。");

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

    QString olderFile(const QString& name = QStringLiteral("old/どうぶつ.pml")) {
        const QString path = fake->documentsFolder() + name;
        FakePlatform::writeFile(path, jetHeader());
        return path;
    }

    // Stands in for the conversion: records what it was asked to do.
    QString offer(const QString& path) {
        return OlderDeck::offerConversion(
            path, [this](const QString& from, const QString& to, const OlderDeck::Progress& step) {
                step(1, 2);
                conversions << from + QStringLiteral(" -> ") + to;
                if (result.error.isEmpty())
                    FakePlatform::writeFile(to, "converted");
                return result;
            });
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        fake->prompter.messages.clear();
        conversions.clear();
        result = {};
    }
    void cleanup() { fake.reset(); }

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
            << Prompter::Answer::Yes << QStringLiteral("the record source word is missing") << 0
            << false << 2;
    }
    void asksBeforeConverting() {
        QFETCH(Prompter::Answer, answer);
        QFETCH(QString, error);
        QFETCH(int, leftOut);
        QFETCH(bool, used);
        QFETCH(int, messages);
        result.error = error;
        result.leftOut = leftOut;
        result.report =
            QStringLiteral("groups: 1, sub-groups: 1, words: 1\nrows left out: 2\n  a\n  b\n");
        fake->prompter.answers.enqueue(answer);
        const QString from = olderFile();
        const QString deck = fake->settingsFolder() + QStringLiteral("decks/どうぶつ/どうぶつ.pml");
        const QString usable = offer(from);
        QCOMPARE(usable, used ? deck : QString());
        QCOMPARE(fake->prompter.messages.size(), messages);
        QCOMPARE(fake->prompter.messages[0].text, Question);
        QCOMPARE(fake->prompter.messages[0].title, QStringLiteral("MORVミルタ"));
        QCOMPARE(fake->prompter.messages[0].buttons, Prompter::Buttons::YesNo);
        QCOMPARE(conversions.size(), answer == Prompter::Answer::Yes ? 1 : 0);
        // The conversion runs under the progress dialog, which reports its steps.
        QCOMPARE(fake->prompter.progressSteps.size(), conversions.size());
        if (!conversions.isEmpty())
            QCOMPARE(fake->prompter.progressTexts,
                     QStringList{QStringLiteral("たんごデータを うつしています。|MORVミルタ")});
        if (!error.isEmpty())
            QCOMPARE(fake->prompter.messages[1].text, Failed + error);
        // The count and where the report is; its reasons, worded for the command line in
        // English, stay in the report.
        if (leftOut > 0) {
            QVERIFY(fake->prompter.messages[1].text.contains(QStringLiteral("ぎょう: 2")));
            QVERIFY(fake->prompter.messages[1].text.contains(QStringLiteral("import-report.txt")));
            QVERIFY(!fake->prompter.messages[1].text.contains(QStringLiteral("rows left out")));
        }
        QCOMPARE(QFileInfo::exists(QFileInfo(deck).path() + QStringLiteral("/import-report.txt")),
                 used);
    }

    void opensTheConversionMadeBefore() {
        const QString from = olderFile();
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        const QString first = offer(from);
        fake->prompter.messages.clear();
        QCOMPARE(offer(from), first);
        QCOMPARE(fake->prompter.texts(), QStringList{OpenedBefore});
        QCOMPARE(conversions.size(), 1);
    }

    void keepsADeckConvertedFromAnotherFileOfTheSameName() {
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        const QString first = offer(olderFile(QStringLiteral("a/words.pml")));
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        const QString second = offer(olderFile(QStringLiteral("b/words.pml")));
        QCOMPARE(first, fake->settingsFolder() + QStringLiteral("decks/words/words.pml"));
        QCOMPARE(second, fake->settingsFolder() + QStringLiteral("decks/words-2/words.pml"));
    }

    void leavesOtherFilesAlone() {
        const QString path = fake->documentsFolder() + QStringLiteral("deck.pml");
        FakePlatform::writeFile(path, "SQLite format 3");
        QCOMPARE(offer(path), path);
        QCOMPARE(offer(fake->documentsFolder() + QStringLiteral("none.pml")),
                 fake->documentsFolder() + QStringLiteral("none.pml"));
        QVERIFY(fake->prompter.messages.isEmpty());
    }

    // The one way a deck becomes the data file, at start-up and from ファイル → ひらく alike.
    void deckChoiceRemembersTheAbsolutePath_data() {
        QTest::addColumn<QString>("chosen"); // relative to the documents folder
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("remembered");
        QTest::addRow("relative path")
            << QStringLiteral("deck.pml") << true << QStringLiteral("deck.pml");
        QTest::addRow("cancelled") << QString() << false << QString();
        QTest::addRow("a line break PML010.ini cannot hold")
            << QStringLiteral("a\nb.pml") << false << QString();
    }
    void deckChoiceRemembersTheAbsolutePath() {
        QFETCH(QString, chosen);
        QFETCH(bool, changed);
        QFETCH(QString, remembered);
        PMCM000::DataFilePath.clear();
        FakePlatform::writeFile(fake->documentsFolder() + QStringLiteral("deck.pml"),
                                "SQLite format 3");
        const QString before = QDir::currentPath();
        QDir::setCurrent(fake->documentsFolder());
        fake->prompter.files.enqueue(chosen);
        const bool result = DeckChoice::ask(fake->documentsFolder());
        QDir::setCurrent(before);
        QCOMPARE(result, changed);
        QCOMPARE(PMCM000::DataFilePath,
                 remembered.isEmpty() ? QString() : fake->documentsFolder() + remembered);
    }
};

QTEST_GUILESS_MAIN(TestOlderDeck)
#include "tst_olderdeck.moc"
