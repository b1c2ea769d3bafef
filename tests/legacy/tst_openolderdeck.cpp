// An older deck chosen by ファイル → ひらく: converted into the settings folder, its groups and
// tallies shown from the new file, the chosen file unchanged.
#include "activatableform.h"
#include "deckchoice.h"
#include "fakeplatform.h"
#include "fittedlabel.h"
#include "forms.h"
#include "olddeck.h"
#include "pmcm000.h"
#include "pml0010.h"
#include "pml0020.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSqlQuery>
#include <worddatafile.h>

using namespace PMCM000;

class TestOpenOlderDeck : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<Pml0010> form;

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        form = std::make_unique<Pml0010>(DeckChoice::ask);
        form->show();
    }
    void cleanup() {
        form.reset();
        WordDataFile::closeAll();
        fake.reset();
    }

    void openConvertsAndShowsTheNewDeck() {
        const QString from = fake->documentsFolder() + QStringLiteral("old/words.pml");
        QDir().mkpath(QFileInfo(from).path());
        QVERIFY(OldDeck().writer().write(from));
        // Pictures as Windows left them: names in another case, one a BMP.
        const QString images = QFileInfo(from).path() + QStringLiteral("/Images/");
        QDir().mkpath(images);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::yellow);
        for (const QString& name : {QStringLiteral("Animals.JPG"), QStringLiteral("food.bmp"),
                                    QStringLiteral("SUB11.jpg"), QStringLiteral("sub12.jpg"),
                                    QStringLiteral("sub21.jpg")})
            QVERIFY(image.save(images + name,
                               QFileInfo(name).suffix().toLower() == u"bmp" ? "BMP" : "JPEG"));
        QFile file(from);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        fake->prompter.files.enqueue(from);
        fake->prompter.answers.enqueue(Prompter::Answer::Yes);
        form->Ver_open_Click();
        const QString deck = fake->settingsFolder() + QStringLiteral("decks/words/words.pml");
        QCOMPARE(DataFilePath, deck);
        QVERIFY(fake->prompter.texts().first().startsWith(
            QStringLiteral("このたんごデータは ふるい かたちです")));
        // The words' pictures and voices are not there: the report says so.
        QVERIFY(fake->prompter.texts()[1].contains(QStringLiteral("みつからない え・おと: 12")));
        QVERIFY(QFileInfo::exists(QFileInfo(deck).path() + QStringLiteral("/import-report.txt")));

        fake->prompter.messages.clear();
        form->Im_big_Click(0);
        QCOMPARE(fake->prompter.texts(), QStringList());
        QCOMPARE(form->Lb_sno[0]->text(), QStringLiteral("No.  1"));
        // Sub-group 1-1 holds the words 1 (level 1) and 4 (level 4).
        QCOMPARE(form->Lb_lvkosu[1][0]->text(), QStringLiteral("  1個"));
        QCOMPARE(form->Lb_lvkosu[4][0]->text(), QStringLiteral("  1個"));

        // Choosing a group cleared the marks carried over; practice grades the words of the
        // sub-group ticked again, in the new file.
        form->Ch_syo[0]->click();
        PracticeBackColor = QStringLiteral("16777215");
        OkColor = QStringLiteral("65280");
        NgColor = QStringLiteral("255");
        Forms::registerFactory(Forms::Id::Practice, [] { return new PML0020(nullptr, 5); });
        QWidget* practice = Forms::show(Forms::Id::Practice);
        ActivationTracker::instance().windowActivated(practice);
        practice->findChild<QPushButton*>(QStringLiteral("BT_level(1)"))->click();
        practice->findChild<QPushButton*>(QStringLiteral("BT_OK(0)"))->click();
        QSqlQuery times(WordDataFile::connection(deck));
        QVERIFY(times.exec(QStringLiteral(R"(SELECT "times" FROM "word" WHERE "key" = 1)")) &&
                times.next());
        QCOMPARE(times.value(0).toInt(), 3); // 2 carried over, one grading
        Forms::unloadAll();

        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
};

PIMLOTAN_TEST_MAIN(TestOpenOlderDeck)
#include "tst_openolderdeck.moc"
