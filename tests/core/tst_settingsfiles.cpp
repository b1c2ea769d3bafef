// The settings files: what the loaders make of a file, and what the savers write back.
#include "fakeplatform.h"
#include "pmcm000.h"
#include "settingsfile.h"
#include "wincolor.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

using namespace PMCM000;
namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;

    void writeSetting(const QString& name, const QByteArray& bytes) {
        FakePlatform::writeFile(fake->settingsFolder() + name, bytes);
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
    }
    void cleanup() { fake.reset(); }

    void loadSoundSettings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("voice");
        QTest::addColumn<int>("ok");
        QTest::addColumn<int>("ng");
        QTest::addColumn<bool>("effectsOn");
        QTest::addColumn<int>("interval");
        QTest::newRow("defaults") << QByteArray(" 65535 \r\n 65535 \r\n 65535 \r\n 0 \r\n 3 \r\n")
                                  << 65535 << 65535 << 65535 << true << 3;
        QTest::newRow("three lines: effects on, interval 0")
            << QByteArray(" 100 \r\n 200 \r\n 300 \r\n") << 100 << 200 << 300 << true << 0;
        QTest::newRow("1 with blanks switches effects off")
            << QByteArray(" 1 \r\n 2 \r\n 3 \r\n 1 \r\n 10 \r\n") << 1 << 2 << 3 << false << 10;
        QTest::newRow("LF line ends, no final line end")
            << QByteArray("5\n6\n7\n1\n2") << 5 << 6 << 7 << false << 2;
        QTest::newRow("text counts as absent, volumes clamped")
            << QByteArray("abc\r\n70000\r\n-5\r\nx\r\n99999\r\n") << 0 << 65535 << 0 << true
            << 32767;
        QTest::newRow("negative interval kept")
            << QByteArray(" 1 \r\n 1 \r\n 1 \r\n 2 \r\n-3 \r\n") << 1 << 1 << 1 << true << -3;
        QTest::newRow("empty file") << QByteArray() << 0 << 0 << 0 << true << 0;
    }
    void loadSoundSettings() {
        QFETCH(QByteArray, file);
        writeSetting(SoundSettings, file);
        fake->sound.volumeWord = 0x11112222;
        LoadSoundSettings();
        QFETCH(int, voice);
        QFETCH(int, ok);
        QFETCH(int, ng);
        QFETCH(bool, effectsOn);
        QFETCH(int, interval);
        QCOMPARE(VoiceVolume, voice);
        QCOMPARE(OkSoundVolume, ok);
        QCOMPARE(NgSoundVolume, ng);
        QCOMPARE(EffectSoundsOn, effectsOn);
        QCOMPARE(int(SlideInterval), interval);
        QCOMPARE(StartupWaveVolume, 0x11112222u);
    }

    void saveSoundSettings_data() {
        QTest::addColumn<bool>("effectsOn");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("effects off")
            << false << 3 << QByteArray(" 10 \r\n 0 \r\n 65535 \r\n 1 \r\n 3 \r\n");
        QTest::newRow("effects on, negative interval")
            << true << -1 << QByteArray(" 10 \r\n 0 \r\n 65535 \r\n 0 \r\n-1 \r\n");
    }
    void saveSoundSettings() {
        QFETCH(bool, effectsOn);
        QFETCH(int, interval);
        VoiceVolume = 10;
        OkSoundVolume = 0;
        NgSoundVolume = 65535;
        EffectSoundsOn = effectsOn;
        SlideInterval = static_cast<qint16>(interval);
        StartupWaveVolume = 0xABCD1234;
        fake->sound.volumeWord = 0;
        QVERIFY(SaveSoundSettings());
        QFETCH(QByteArray, expected);
        QCOMPARE(readAll(fake->settingsFolder() + SoundSettings), expected);
        // The volume the program found at start-up is given back.
        QCOMPARE(fake->sound.volumeWord, 0xABCD1234u);
    }

    void effectSoundChoices_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("okPath");
        QTest::addColumn<QString>("ngPath");
        QTest::addColumn<QByteArray>("savedBack");
        // "@" stands for the program's music folder, known only once the test runs.
        const QString music = QStringLiteral("@");
        QTest::newRow("defaults") << QByteArray("ok.wav\r\nng.wav\r\n\r\n\r\n 0 \r\n 1 \r\n")
                                  << music + QStringLiteral("ok.wav")
                                  << music + QStringLiteral("ng.wav")
                                  << QByteArray("ok.wav\r\nng.wav\r\n\r\n\r\n 0 \r\n 1 \r\n");
        QTest::newRow("index 3 picks line 4, texts kept as read")
            << QByteArray("a.wav\r\nb.wav\r\nC:\\x\\c.wav\r\nD:\\my\\ding.wav\r\n3\r\n 2 \r\n")
            << QStringLiteral("D:\\my\\ding.wav") << QStringLiteral("C:\\x\\c.wav")
            << QByteArray("a.wav\r\nb.wav\r\nC:\\x\\c.wav\r\nD:\\my\\ding.wav\r\n3\r\n 2 \r\n");
        QTest::newRow("indices that name no sound file become 0")
            << QByteArray("a.wav\r\nb.wav\r\n/c.wav\r\n/d.wav\r\n 5 \r\nx\r\n")
            << music + QStringLiteral("a.wav") << music + QStringLiteral("a.wav")
            << QByteArray("a.wav\r\nb.wav\r\n/c.wav\r\n/d.wav\r\n 0 \r\n 0 \r\n");
        QTest::newRow("missing lines")
            << QByteArray("") << music << music << QByteArray("\r\n\r\n\r\n\r\n 0 \r\n 0 \r\n");
        QTest::newRow("CR-only line ends")
            << QByteArray("a.wav\rb.wav\r\r\r 1 \r 0 \r") << music + QStringLiteral("b.wav")
            << music + QStringLiteral("a.wav")
            << QByteArray("a.wav\r\nb.wav\r\n\r\n\r\n 1 \r\n 0 \r\n");
        QTest::newRow("LF-only line ends and a NUL")
            << (QByteArray("a") + '\0' + "b.wav\nb.wav\n\n\n 0 \n 1 \n")
            << music + QString(QStringLiteral("a\0b.wav")) << music + QStringLiteral("b.wav")
            << QByteArray("ab.wav\r\nb.wav\r\n\r\n\r\n 0 \r\n 1 \r\n");
    }
    void effectSoundChoices() {
        QFETCH(QByteArray, file);
        writeSetting(EffectSoundSettings, file);
        QFETCH(QString, okPath);
        QFETCH(QString, ngPath);
        QFETCH(QByteArray, savedBack);
        const QString music = fake->programFolder() + QStringLiteral("music/");
        LoadEffectSoundChoices();
        QCOMPARE(OkSoundPath, okPath.replace(u'@', music));
        QCOMPARE(NgSoundPath, ngPath.replace(u'@', music));
        QVERIFY(SaveEffectSoundChoices());
        QCOMPARE(readAll(fake->settingsFolder() + EffectSoundSettings), savedBack);
    }

    // Whatever bytes a settings file holds, what is written back is lines ending in CR LF with
    // no line break or NUL inside.
    void everyLineWrittenIsOneLine() {
        QRandomGenerator random(20261209);
        for (int round = 0; round < 50; ++round) {
            QByteArray bytes(random.bounded(1, 200), '\0');
            for (char& byte : bytes) // line breaks and NULs often, any other byte too
                byte = "\r\n\0a 1\xe3\x81\x82"[random.bounded(9)] ^ char(random.bounded(2) * 0x40);
            writeSetting(EffectSoundSettings, bytes);
            writeSetting(ColourSettings, bytes);
            LoadEffectSoundChoices();
            LoadColourSettings();
            QVERIFY(SaveEffectSoundChoices());
            QVERIFY(SaveColourSettings());
            for (const QString& name : {EffectSoundSettings, ColourSettings}) {
                // Six values, six CR LF pairs, and no other CR, LF or NUL.
                const QByteArray written = readAll(fake->settingsFolder() + name);
                QVERIFY(written.endsWith("\r\n"));
                QCOMPARE(written.count("\r\n"), 6);
                QCOMPARE(written.count('\r'), 6);
                QCOMPARE(written.count('\n'), 6);
                QVERIFY2(!written.contains('\0'), bytes.toHex().constData());
            }
        }
    }

    void saveEffectSoundChoicesStoresBuiltInsByName() {
        SoundChoices = {QStringLiteral("C:\\prog\\music\\ok.wav"),
                        QStringLiteral("/usr/lib/pimlotan/music/ng.wav"),
                        QStringLiteral("D:\\my\\ding.wav"),
                        QString(),
                        QString(),
                        QString()};
        OkSoundIndex = 2;
        NgSoundIndex = QStringLiteral("1");
        QVERIFY(SaveEffectSoundChoices());
        QCOMPARE(readAll(fake->settingsFolder() + EffectSoundSettings),
                 QByteArray("ok.wav\r\nng.wav\r\nD:\\my\\ding.wav\r\n\r\n 2 \r\n1\r\n"));
    }

    void dataFilePath_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("Windows path in quotes")
            << QByteArray("\"C:\\words.pml\"\r\n") << QStringLiteral("C:\\words.pml")
            << QStringLiteral("C:\\") << QStringLiteral("words.pml");
        QTest::newRow("native path with blanks and a comma after")
            << QByteArray("  \"/home/a b/decks/w,1.pml\" , rest\r\n")
            << QStringLiteral("/home/a b/decks/w,1.pml") << QStringLiteral("/home/a b/decks/")
            << QStringLiteral("w,1.pml");
        QTest::newRow("no folder") << QByteArray("words.pml\r\n") << QStringLiteral("words.pml")
                                   << QString() << QStringLiteral("words.pml");
        QTest::newRow("unquoted field ends at a comma, blanks trimmed")
            << QByteArray("  /d/w.pml  ,x") << QStringLiteral("/d/w.pml") << QStringLiteral("/d/")
            << QStringLiteral("w.pml");
        QTest::newRow("empty path")
            << QByteArray("\"\"\r\n") << QString() << QString() << QString();
        QStringEncoder sjis("Shift_JIS");
        QTest::newRow("Shift_JIS file")
            << QByteArray(sjis(QStringLiteral("\"C:\\データ\\たんご.pml\"\r\n")))
            << QStringLiteral("C:\\データ\\たんご.pml") << QStringLiteral("C:\\データ\\")
            << QStringLiteral("たんご.pml");
        QTest::newRow("UTF-8 file") << QStringLiteral("\"/データ/たんご.pml\"\r\n").toUtf8()
                                    << QStringLiteral("/データ/たんご.pml")
                                    << QStringLiteral("/データ/") << QStringLiteral("たんご.pml");
    }
    void dataFilePath() {
        QFETCH(QByteArray, file);
        writeSetting(DataFileSettings, file);
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        LoadDataFilePath();
        QCOMPARE(DataFilePath, path);
        QCOMPARE(DataFolder, folder);
        QCOMPARE(WindowTitle, WindowTitlePrefix + name);
    }

    void dataFilePathWithoutFileIsEmpty() {
        DataFilePath = QStringLiteral("/old.pml");
        LoadDataFilePath();
        QVERIFY(DataFilePath.isEmpty());
        QVERIFY(WindowTitle.isEmpty());
        QVERIFY(!QFile::exists(fake->settingsFolder() + DataFileSettings));
        QCOMPARE(fake->prompter.messages.size(), 0);
    }

    void saveDataFilePathWritesQuotedLineAndReloads() {
        QVERIFY(SaveDataFilePath(QStringLiteral("/decks/my words.pml")));
        QCOMPARE(readAll(fake->settingsFolder() + DataFileSettings),
                 QByteArray("\"/decks/my words.pml\"\r\n"));
        QCOMPARE(DataFolder, QStringLiteral("/decks/"));
        QCOMPARE(WindowTitle, QStringLiteral("MORVピムロ英語カード　my words.pml"));
    }

    void colourSettingsRoundTrip() {
        writeSetting(ColourSettings, "-2147483633\r\n1\r\n2\r\n3\r\n");
        LoadColourSettings();
        QCOMPARE(MainBackColor, QStringLiteral("-2147483633"));
        QCOMPARE(MainSelectColor, QStringLiteral("3"));
        QVERIFY(NgColor.isEmpty());
        OkColor = QStringLiteral("65280");
        QVERIFY(SaveColourSettings());
        QCOMPARE(readAll(fake->settingsFolder() + ColourSettings),
                 QByteArray("-2147483633\r\n1\r\n2\r\n3\r\n\r\n65280\r\n"));
    }

    void missingSettingsFileOffersTheCopyAgain() {
        QFile::remove(fake->settingsFolder() + ColourSettings);
        LoadColourSettings();
        QCOMPARE(fake->shell.copies, 1);
        QCOMPARE(MainSelectColor, QStringLiteral("255"));
    }

    void failedWriteIsReported() {
        // A folder where the file should be: the write cannot happen and must say so.
        const QString path = fake->settingsFolder() + SoundSettings;
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path));
        StartupWaveVolume = 0x00010001;
        QVERIFY(!SaveSoundSettings());
        QCOMPARE(fake->sound.volumeWord, 0x00010001u);
    }

    void windowsColours_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QPalette palette;
        QTest::newRow("button face")
            << QStringLiteral("-2147483633") << palette.color(QPalette::Button);
        QTest::newRow("window text")
            << QStringLiteral("-2147483640") << palette.color(QPalette::WindowText);
        QTest::newRow("red") << QStringLiteral("255") << QColor(255, 0, 0);
        QTest::newRow("green") << QStringLiteral("65280") << QColor(0, 255, 0);
        QTest::newRow("blue") << QStringLiteral("16711680") << QColor(0, 0, 255);
        QTest::newRow("mixed") << QStringLiteral(" 1193046 ") << QColor(0x56, 0x34, 0x12);
    }
    void windowsColours() {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        const auto value = WinColor::parse(text);
        QVERIFY(value);
        QCOMPARE(WinColor::toQColor(*value), colour);
        if (*value >= 0)
            QCOMPARE(WinColor::fromQColor(colour), *value);
    }

    void windowsColourTextThatIsNoNumber() {
        QVERIFY(!WinColor::parse(QStringLiteral("blue")));
        QVERIFY(!WinColor::parse(QString()));
        QVERIFY(!WinColor::parse(QStringLiteral("4294967295")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settingsfiles.moc"
