// The start-up sequence: first-use copy, the data-file prompt, the command line and the hand-over.
#include "fakeplatform.h"
#include "forms.h"
#include "pmcm000.h"
#include "pml0000.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace PMCM000;
Q_DECLARE_METATYPE(Prompter::Answer)

namespace {
const QString CopyAnnounced = QStringLiteral(
    "設定ファイルをコピーします。キャンセルしないでください！始めますのでOKボタンをクリックして"
    "ください。");
const QString Copied =
    QStringLiteral("設定ファイルをコピーしました。OKボタンをクリックしてください。");
const QString Aborted = QStringLiteral("処理が中断されました。");
const QString ChooseData = QStringLiteral("単語データを選択してください。");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<PML0000> form;
    int mainMenusCreated = 0;

    QString settings(const QString& name) const { return fake->settingsFolder() + name; }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        form = std::make_unique<PML0000>();
        mainMenusCreated = 0;
        Forms::registerFactory(Forms::Id::MainMenu, [this] {
            ++mainMenusCreated;
            return new QWidget;
        });
    }
    void cleanup() {
        form.reset();
        if (QWidget* menu = Forms::instance(Forms::Id::MainMenu))
            delete menu;
        fake.reset();
    }

    void firstUseCopiesDefaultsAndAsksForData() {
        QVERIFY(form->Form_Load());
        QCOMPARE(fake->prompter.texts(), (QStringList{CopyAnnounced, Copied, ChooseData}));
        for (const auto& message : fake->prompter.messages) {
            QCOMPARE(message.title, QStringLiteral("MORVミルタ"));
            QCOMPARE(message.buttons, Prompter::Buttons::Ok);
        }
        QCOMPARE(fake->prompter.fileRequests.size(), 1);
        QCOMPARE(fake->prompter.fileRequests[0].filter, QStringLiteral("単語データ|*.pml"));
        // Cancelled: nothing remembered, but the program goes on.
        QVERIFY(!QFile::exists(settings(DataFileSettings)));
        QVERIFY(DataFilePath.isEmpty());
        QVERIFY(form->ready());
        QCOMPARE(SettingsFolder, fake->settingsFolder());
        QCOMPARE(VoiceVolume, 65535);
        QCOMPARE(MainSelectColor, QStringLiteral("255"));
        QVERIFY(OkSoundPath.endsWith(QStringLiteral("/music/ok.wav")));
        QVERIFY(PracticeMode);
        QVERIFY(!DialogOpen);
        QVERIFY(form->isVisible());
    }

    void completeSettingsFolderIsNotCopied() {
        fake->prepareFolders();
        fake->shell.copies = 0;
        fake->prompter.messages.clear();
        QVERIFY(form->Form_Load());
        QCOMPARE(fake->shell.copies, 0);
        QCOMPARE(fake->prompter.texts(), QStringList{ChooseData});
    }

    void onlyMissingFilesAreCopied() {
        fake->prepareFolders();
        FakePlatform::writeFile(settings(ColourSettings), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
        QFile::remove(settings(SoundSettings));
        fake->prompter.messages.clear();
        QVERIFY(form->Form_Load());
        QCOMPARE(fake->prompter.texts().mid(0, 2), (QStringList{CopyAnnounced, Copied}));
        QCOMPARE(readAll(settings(ColourSettings)), QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n"));
        QCOMPARE(readAll(settings(SoundSettings)),
                 QByteArray(" 65535 \r\n 65535 \r\n 65535 \r\n 0 \r\n 3 \r\n"));
        QCOMPARE(MainBackColor, QStringLiteral("1"));
    }

    void failedCopyIsReportedAndOfferedAgain() {
        fake->shell.copyFails = true;
        QVERIFY(form->Form_Load());
        const QStringList texts = fake->prompter.texts();
        QCOMPARE(texts.mid(0, 2), (QStringList{CopyAnnounced, Aborted}));
        // Each loader whose file is still missing offers the copy again.
        QCOMPARE(fake->shell.copies, 4);
        QCOMPARE(texts.count(Aborted), 4);
        QCOMPARE(VoiceVolume, 0);
        QVERIFY(EffectSoundsOn);
        QVERIFY(form->ready());
    }

    // A folder where a settings file belongs cannot be copied over: after the copy was offered
    // at start-up and by its loader, the program goes on with that file's values empty.
    void settingsFileThatIsAFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("sound settings") << SoundSettings;
        QTest::newRow("colours") << ColourSettings;
        QTest::newRow("effect sounds") << EffectSoundSettings;
        QTest::newRow("data file") << DataFileSettings;
    }
    void settingsFileThatIsAFolder() {
        QFETCH(QString, name);
        fake->prepareFolders();
        QFile::remove(settings(name));
        QVERIFY(QDir().mkpath(settings(name)));
        fake->shell.copies = 0;
        fake->prompter.messages.clear();
        QVERIFY(form->Form_Load());
        QVERIFY(form->ready());
        QVERIFY(fake->shell.copies <= 2);
        if (name == SoundSettings)
            QCOMPARE(VoiceVolume, 0);
        if (name == ColourSettings)
            QVERIFY(MainBackColor.isEmpty());
        QVERIFY(DataFilePath.isEmpty());
    }

    // PML010.ini keeps the path as one quoted line: a path it cannot hold is refused with a
    // message where it is chosen, and nothing is written.
    void pathTheSettingsCannotHoldIsRefused_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("double quote") << QStringLiteral("/decks/say \"hi\".pml");
        QTest::newRow("line break") << QStringLiteral("/decks/two\nlines.pml");
        QTest::newRow("carriage return") << QStringLiteral("/decks/odd\r.pml");
    }
    void pathTheSettingsCannotHoldIsRefused() {
        QFETCH(QString, path);
        fake->prompter.files.enqueue(path);
        QVERIFY(form->Form_Load());
        QCOMPARE(fake->prompter.texts().size(), 4); // copy, copied, choose, refused
        QVERIFY(fake->prompter.texts().constLast().contains(QStringLiteral("つかえない もじ")));
        QVERIFY(!QFile::exists(settings(DataFileSettings)));
        QVERIFY(DataFilePath.isEmpty());
        QVERIFY(form->ready());
    }

    void chosenFileIsRemembered() {
        fake->prompter.files.enqueue(QStringLiteral("/decks/animals.pml"));
        QVERIFY(form->Form_Load());
        QCOMPARE(readAll(settings(DataFileSettings)), QByteArray("\"/decks/animals.pml\"\r\n"));
        QCOMPARE(DataFilePath, QStringLiteral("/decks/animals.pml"));
        QCOMPARE(DataFolder, QStringLiteral("/decks/"));
        QCOMPARE(WindowTitle, QStringLiteral("MORVピムロ英語カード　animals.pml"));
    }

    void rememberedFileSkipsThePrompt_data() {
        QTest::addColumn<QByteArray>("remembered");
        QTest::addColumn<bool>("asked");
        QTest::newRow("a path") << QByteArray("\"/decks/a.pml\"\r\n") << false;
        QTest::newRow("an empty path") << QByteArray("\"\"\r\n") << true;
    }
    void rememberedFileSkipsThePrompt() {
        QFETCH(QByteArray, remembered);
        QFETCH(bool, asked);
        fake->prepareFolders();
        FakePlatform::writeFile(settings(DataFileSettings), remembered);
        QVERIFY(form->Form_Load());
        QCOMPARE(fake->prompter.fileRequests.size(), asked ? 1 : 0);
    }

    void decksGivenAtStart_data() {
        QTest::addColumn<QByteArray>("remembered");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("firstDeckExists");
        QTest::addColumn<QString>("expected");
        QTest::newRow("command line replaces the remembered file")
            << QByteArray("\"/old.pml\"\r\n") << QStringLiteral("/new.pml") << true
            << QStringLiteral("/new.pml");
        QTest::newRow("first deck only when nothing is remembered")
            << QByteArray("\"/old.pml\"\r\n") << QString() << true << QStringLiteral("/old.pml");
        QTest::newRow("first deck on first use")
            << QByteArray() << QString() << true << QStringLiteral("@first");
        QTest::newRow("missing first deck: ask") << QByteArray() << QString() << false << QString();
    }
    void decksGivenAtStart() {
        QFETCH(QByteArray, remembered);
        QFETCH(QString, commandLine);
        QFETCH(bool, firstDeckExists);
        QFETCH(QString, expected);
        fake->prepareFolders();
        if (!remembered.isEmpty())
            FakePlatform::writeFile(settings(DataFileSettings), remembered);
        const QString firstDeck = fake->programFolder() + QStringLiteral("sample/sample.pml");
        if (firstDeckExists)
            FakePlatform::writeFile(firstDeck, "deck");
        expected.replace(QStringLiteral("@first"), firstDeck);
        form->setCommandLineDeck(commandLine);
        form->setFirstDeck(firstDeck);
        QVERIFY(form->Form_Load());
        QCOMPARE(DataFilePath, expected);
        QCOMPARE(fake->prompter.fileRequests.size(), expected.isEmpty() ? 1 : 0);
        if (!expected.isEmpty())
            QCOMPARE(readAll(settings(DataFileSettings)), u'"' + expected.toUtf8() + "\"\r\n");
    }

    void readOnlyFirstDeckIsCopiedForTheUser() {
        fake->prepareFolders();
        const QString folder = fake->programFolder() + QStringLiteral("sample/");
        FakePlatform::writeFile(folder + QStringLiteral("sample.pml"), "deck");
        FakePlatform::writeFile(folder + QStringLiteral("images/cat.jpg"), "jpg");
        FakePlatform::writeFile(folder + QStringLiteral("voice/cat.wav"), "wav");
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        form->setFirstDeck(folder + QStringLiteral("sample.pml"));
        QVERIFY(form->Form_Load());
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString copy = fake->settingsFolder() + QStringLiteral("sample/");
        QCOMPARE(DataFilePath, copy + QStringLiteral("sample.pml"));
        QVERIFY(QFile::exists(copy + QStringLiteral("images/cat.jpg")));
        QVERIFY(QFile::exists(copy + QStringLiteral("voice/cat.wav")));
    }

    // A chosen deck the program cannot write to: asked once, Yes works on a copy under
    // decks/NAME/ (made once, then opened as it is), No keeps the deck as chosen.
    void readOnlyDeckOffersACopy_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<bool>("folderReadOnly"); // else the file itself
        QTest::newRow("yes, read-only folder") << Prompter::Answer::Yes << true;
        QTest::newRow("yes, read-only file") << Prompter::Answer::Yes << false;
        QTest::newRow("no") << Prompter::Answer::No << true;
    }
    void readOnlyDeckOffersACopy() {
        QFETCH(Prompter::Answer, answer);
        QFETCH(bool, folderReadOnly);
        fake->prepareFolders();
        const QString folder = fake->documentsFolder() + QStringLiteral("cd/");
        const QString deck = folder + QStringLiteral("どうぶつ.pml");
        FakePlatform::writeFile(deck, "deck");
        FakePlatform::writeFile(folder + QStringLiteral("other.pml"), "another deck");
        FakePlatform::writeFile(folder + QStringLiteral("images/cat.jpg"), "jpg");
        FakePlatform::writeFile(folder + QStringLiteral("voice/cat.wav"), "wav");
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
        QFile::setPermissions(folderReadOnly ? folder : deck, readOnly);
        fake->prompter.answers.enqueue(answer);
        form->setCommandLineDeck(deck);
        QVERIFY(form->Form_Load());
        QCOMPARE(fake->prompter.messages.size(), 1);
        QCOMPARE(fake->prompter.messages[0].buttons, Prompter::Buttons::YesNo);
        QCOMPARE(fake->prompter.messages[0].title, QStringLiteral("MORVミルタ"));
        const QString copyFolder = fake->settingsFolder() + QStringLiteral("decks/どうぶつ/");
        if (answer == Prompter::Answer::No) {
            QCOMPARE(DataFilePath, deck);
            QVERIFY(!QFileInfo::exists(copyFolder));
        } else {
            QCOMPARE(DataFilePath, copyFolder + QStringLiteral("どうぶつ.pml"));
            QCOMPARE(readAll(DataFilePath), QByteArray("deck"));
            QVERIFY(QFileInfo(DataFilePath).isWritable());
            QVERIFY(QFile::exists(copyFolder + QStringLiteral("images/cat.jpg")));
            QVERIFY(QFile::exists(copyFolder + QStringLiteral("voice/cat.wav")));
            QVERIFY(!QFile::exists(copyFolder + QStringLiteral("other.pml")));
            // The next choice of the same deck opens the copy, with what was written in it.
            FakePlatform::writeFile(DataFilePath, "marked");
            fake->prompter.messages.clear();
            QVERIFY(form->Form_Load());
            QVERIFY(fake->prompter.messages.isEmpty());
            QCOMPARE(readAll(DataFilePath), QByteArray("marked"));
        }
        QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
        QFile::setPermissions(deck, readOnly | QFile::WriteOwner);
    }

    void missingMarkerFileStopsTheProgram() {
        QFile::remove(fake->programFolder() + QStringLiteral("Morvini.ini"));
        QVERIFY(!form->Form_Load());
        QCOMPARE(fake->prompter.texts(),
                 QStringList{QStringLiteral(
                     "Morvini.ini がみつかりません。プログラムを いれなおしてください。")});
        QCOMPARE(fake->prompter.messages[0].title, QStringLiteral("MORVミルタ"));
    }

    void handOverOnlyAtATickAfterReady() {
        QCOMPARE(form->Timer1->interval(), 5000);
        QVERIFY(form->Timer1->isActive());
        form->Timer1_Timer();
        QCOMPARE(mainMenusCreated, 0);
        QVERIFY(form->Form_Load());
        form->Timer1_Timer();
        QCOMPARE(mainMenusCreated, 1);
        QVERIFY(Forms::instance(Forms::Id::MainMenu)->isVisible());
        QVERIFY(!form->isVisible());
        QVERIFY(!form->Timer1->isActive());
    }

    void foldersEndWithOneSeparator_data() {
        QTest::addColumn<QString>("documents");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QStringLiteral("/home/kid/Documents")
                               << QStringLiteral("/home/kid/Documents/");
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("trailing blanks")
            << QStringLiteral("/home/kid/Documents  ") << QStringLiteral("/home/kid/Documents/");
    }
    void foldersEndWithOneSeparator() {
        QFETCH(QString, documents);
        QFETCH(QString, expected);
        fake->shell.documents = documents;
        ResolveDocumentsFolder();
        QCOMPARE(DocumentsFolder, expected);
        fake->shell.program = QStringLiteral("/pimlotan");
        ResolveAppFolder();
        QCOMPARE(AppFolder, QStringLiteral("/"));
    }
};

PIMLOTAN_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
