// The sound dialog: its working copy, what OK writes and what Cancel keeps.
#include "dialogtest.h"
#include "fakeplatform.h"
#include "pmcm000.h"
#include "pmlp0020.h"
#include "testmain.h"

#include <QPointer>

using namespace PMCM000;
using DialogTest::click;
using DialogTest::readAll;

class TestSoundDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    QPointer<PMLP0020> dialog;
    QString ownFolder; // where the user keeps sounds of their own

    QString file(const QString& name) const { return fake->settingsFolder() + name; }

    // Loads the settings files as start-up does and opens the dialog on them.
    void open(const QByteArray& sounds, const QByteArray& choices) {
        FakePlatform::writeFile(file(SoundSettings), sounds);
        FakePlatform::writeFile(file(EffectSoundSettings), choices);
        LoadSoundSettings();
        LoadEffectSoundChoices();
        dialog = new PMLP0020;
        dialog->show();
    }
    void open() {
        open(" 30000 \r\n 40000 \r\n 50000 \r\n 0 \r\n 3 \r\n",
             "ok.wav\r\nng.wav\r\n" + ownFolder.toUtf8() + "ding.wav\r\n\r\n 0 \r\n 1 \r\n");
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        ownFolder = fake->documentsFolder() + QStringLiteral("おと/");
        FakePlatform::writeFile(ownFolder + QStringLiteral("ding.wav"), "RIFF");
        fake->sound.volumeWord = 0x12341234;
    }
    void cleanup() {
        delete dialog;
        fake.reset();
    }

    void showsTheSettings() {
        open();
        QCOMPARE(dialog->Sl_ng->value(), 50000);
        // Built-in sounds by file name, the user's own by full path.
        QCOMPARE(dialog->Tx_file[1]->text(), QStringLiteral("ng.wav"));
        QCOMPARE(dialog->Tx_file[2]->text(), ownFolder + QStringLiteral("ding.wav"));
        QVERIFY(dialog->Op_ok[0]->isChecked() && dialog->Op_ng[1]->isChecked());
        QVERIFY(!dialog->Ck_okng->isChecked());
    }

    void intervalStaysWithinOneToTen_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("presses"); // u = ▲, d = ▼
        QTest::addColumn<QString>("shown");
        QTest::newRow("10 and up") << QByteArray(" 10 ") << "u"
                                   << "10";
        QTest::newRow("1 and down") << QByteArray(" 1 ") << "d"
                                    << "1";
        QTest::newRow("up and down") << QByteArray(" 5 ") << "uud"
                                     << "6";
        QTest::newRow("0 from an old file, up") << QByteArray(" 0 ") << "u"
                                                << "1";
        QTest::newRow("0 from an old file, down") << QByteArray(" 0 ") << "d"
                                                  << "0";
        QTest::newRow("15, down towards the range") << QByteArray(" 15 ") << "d"
                                                    << "14";
        QTest::newRow("15, up") << QByteArray(" 15 ") << "u"
                                << "15";
    }
    void intervalStaysWithinOneToTen() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, presses);
        QFETCH(QString, shown);
        open(" 1 \r\n 1 \r\n 1 \r\n 0 \r\n" + stored + "\r\n",
             "a.wav\r\nb.wav\r\n\r\n\r\n0\r\n1\r\n");
        for (QChar press : presses)
            click<QPushButton>(dialog,
                               press == u'u' ? QStringLiteral("Cm_up") : QStringLiteral("Cm_down"));
        QCOMPARE(dialog->Tx_kankak->text(), shown);
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));
        QCOMPARE(QString::number(SlideInterval), shown);
    }

    void okWritesBothFiles() {
        open();
        dialog->Sl_ok->setValue(255);
        click<QCheckBox>(dialog, QStringLiteral("Ck_okng"));
        click<QRadioButton>(dialog, QStringLiteral("Op_ng(2)"));
        click<QPushButton>(dialog, QStringLiteral("Cm_up"));
        fake->sound.volumeChanges.clear();
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));

        QCOMPARE(readAll(file(SoundSettings)),
                 QByteArray(" 30000 \r\n 255 \r\n 50000 \r\n 1 \r\n 4 \r\n"));
        // The OK index was never touched and keeps its text; the NG index is a number now.
        QCOMPARE(readAll(file(EffectSoundSettings)),
                 "ok.wav\r\nng.wav\r\n" + ownFolder.toUtf8() + "ding.wav\r\n\r\n 0 \r\n 2 \r\n");
        QCOMPARE(OkSoundVolume, 255);
        QVERIFY(!EffectSoundsOn);
        QCOMPARE(NgSoundPath, ownFolder + QStringLiteral("ding.wav"));
        QCOMPARE(SlideInterval, qint16(4));
        // Saving puts the device volume back to the one found at start-up.
        QCOMPARE(fake->sound.volumeChanges, QList<quint32>{0x12341234});
        QTRY_VERIFY(!dialog);
    }

    void leavingWithoutOkChangesNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void leavingWithoutOkChangesNothing() {
        QFETCH(bool, closeBox);
        open();
        const QByteArray sounds = readAll(file(SoundSettings));
        const QByteArray choices = readAll(file(EffectSoundSettings));
        dialog->Sl_onsei->setValue(1);
        click<QCheckBox>(dialog, QStringLiteral("Ck_okng"));
        click<QRadioButton>(dialog, QStringLiteral("Op_ok(1)"));
        fake->prompter.files.enqueue(QStringLiteral("/x/y.wav"));
        click<QPushButton>(dialog, QStringLiteral("Bt_3"));
        if (closeBox)
            dialog->close();
        else
            click<QPushButton>(dialog, QStringLiteral("BT_can"));
        QTRY_VERIFY(!dialog);
        QCOMPARE(VoiceVolume, 30000);
        QVERIFY(EffectSoundsOn);
        QCOMPARE(OkSoundPath, fake->programFolder() + QStringLiteral("music/ok.wav"));
        QCOMPARE(SoundChoices[3], QString());
        QCOMPARE(readAll(file(SoundSettings)), sounds);
        QCOMPARE(readAll(file(EffectSoundSettings)), choices);
    }

    // A new file for the row that is the OK sound is the OK sound from now on, not only after
    // the next start.
    void aNewFileForTheChosenRowPlaysAtOnce() {
        open(" 1 \r\n 2 \r\n 3 \r\n 0 \r\n 3 \r\n",
             "ok.wav\r\nng.wav\r\n" + ownFolder.toUtf8() + "ding.wav\r\n\r\n 2 \r\n 1 \r\n");
        QCOMPARE(OkSoundPath, ownFolder + QStringLiteral("ding.wav"));
        const QString chosen = ownFolder + QStringLiteral("chime.wav");
        fake->prompter.files.enqueue(chosen);
        click<QPushButton>(dialog, QStringLiteral("Bt_2"));
        QCOMPARE(dialog->Tx_file[2]->text(), chosen);
        click<QPushButton>(dialog, QStringLiteral("Bt_sampleok"));
        QCOMPARE(fake->sound.plays.last().path, chosen);
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));
        QCOMPARE(OkSoundPath, chosen);
        QCOMPARE(SoundChoices[2], chosen);
        QVERIFY(readAll(file(EffectSoundSettings)).contains(chosen.toUtf8() + "\r\n\r\n 2 \r\n"));
    }

    void choosingAFile() {
        open();
        click<QPushButton>(dialog, QStringLiteral("Bt_2")); // cancelled: nothing changes
        QCOMPARE(dialog->Tx_file[2]->text(), SoundChoices[2]);
        click<QPushButton>(dialog, QStringLiteral("Bt_3"));
        const auto& requests = fake->prompter.fileRequests;
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].filter, QStringLiteral("Wavデータ|*.wav"));
        QCOMPARE(requests[0].title, QStringLiteral("おとを えらぶ"));
        // Where the row's file is; an empty row starts in the program's music folder.
        QCOMPARE(requests[0].startFolder, ownFolder);
        QCOMPARE(requests[1].startFolder, fake->programFolder() + QStringLiteral("music/"));
    }

    // What each listen button plays, and at which device volume word.
    void listening_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("sound"); // relative to the program folder, or a full path
        QTest::addColumn<quint32>("volumeWord");
        QTest::newRow("row 2 at the start-up volume") << "Bt_sample(2)"
                                                      << "ding.wav" << 0x12341234u;
        QTest::newRow("OK sound at the OK volume") << "Bt_sampleok"
                                                   << "music/ok.wav" << 0x9C409C40u;
        QTest::newRow("sample voice at the voice volume") << "Bt_sampleonsei"
                                                          << "music/sample.wav" << 0x75307530u;
    }
    void listening() {
        QFETCH(QString, button);
        QFETCH(QString, sound);
        QFETCH(quint32, volumeWord);
        open();
        click<QPushButton>(dialog, button);
        QCOMPARE(fake->sound.plays.size(), 1);
        const FakeSoundDevice::Play play = fake->sound.plays.first();
        QCOMPARE(play.path,
                 (sound == QStringLiteral("ding.wav") ? ownFolder : fake->programFolder()) + sound);
        QVERIFY(!play.wait);
        QCOMPARE(play.volume, volumeWord);
    }
};

PIMLOTAN_TEST_MAIN(TestSoundDialog)
#include "tst_sounddialog.moc"
