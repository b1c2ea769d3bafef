// Reading the WAV files a parent may choose, refusing the rest, and writing the deck's own.
#include "testsignals.h"
#include "voice.h"
#include "wavfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

void put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8 & 0xFF));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

constexpr quint16 pcm = 1;
constexpr quint16 ieeeFloat = 3;

// A format block; extensible puts tag into the GUID behind the extensible tag.
QByteArray format(quint16 tag, quint16 channels, quint32 rate, quint16 bits,
                  bool extensible = false) {
    QByteArray out;
    put16(out, extensible ? 0xFFFE : tag);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * channels * (bits / 8));
    put16(out, quint16(channels * (bits / 8)));
    put16(out, bits);
    if (extensible) {
        put16(out, 22);
        put16(out, bits);
        put32(out, channels == 2 ? 3 : 4);
        put16(out, tag);
        out.append("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    return out;
}

QByteArray samples(const QList<double>& values, quint16 bits, bool isFloat) {
    QByteArray out;
    for (const double v : values) {
        if (isFloat) {
            const float f = float(v);
            quint32 u;
            std::memcpy(&u, &f, 4);
            put32(out, u);
        } else if (bits == 8) {
            out.append(char(quint8(std::lround(v * 128) + 128)));
        } else {
            const auto scaled = qint64(std::llround(v * double(1LL << (bits - 1))));
            for (int i = 0; i < bits / 8; ++i)
                out.append(char(quint64(scaled) >> (8 * i) & 0xFF));
        }
    }
    return out;
}

struct Chunk {
    QByteArray id;
    QByteArray body;
    qint64 claimedSize = -1; // what the header says, when it lies
};

QByteArray riff(const QList<Chunk>& chunks) {
    QByteArray body("WAVE");
    for (const Chunk& chunk : chunks) {
        body += chunk.id;
        put32(body, quint32(chunk.claimedSize >= 0 ? chunk.claimedSize : chunk.body.size()));
        body += chunk.body;
        if (chunk.body.size() % 2)
            body.append('\0');
    }
    QByteArray out("RIFF");
    put32(out, quint32(body.size()));
    return out + body;
}

QByteArray wav(quint16 tag, quint16 channels, quint16 bits, const QList<double>& values,
               bool extensible = false, quint32 rate = 16000) {
    return riff({{"fmt ", format(tag, channels, rate, bits, extensible)},
                 {"data", samples(values, bits, tag == ieeeFloat)}});
}

const QList<double> mono{0.5, -0.25, 0.0, -1.0};
const QList<float> monoRead{0.5f, -0.25f, 0.0f, -1.0f};

} // namespace

class TestWavFile : public QObject {
    Q_OBJECT

  private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<float>>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("8-bit unsigned") << wav(pcm, 1, 8, mono) << monoRead << 1.0 / 128;
        QTest::newRow("16-bit") << wav(pcm, 1, 16, mono) << monoRead << 1.0 / 32768;
        QTest::newRow("24-bit") << wav(pcm, 1, 24, mono) << monoRead << 1e-6;
        QTest::newRow("32-bit") << wav(pcm, 1, 32, mono) << monoRead << 1e-6;
        QTest::newRow("32-bit float") << wav(ieeeFloat, 1, 32, mono) << monoRead << 0.0;
        QTest::newRow("stereo is mixed down")
            << wav(pcm, 2, 16, {0.5, 0.25, -0.5, 0.5, 0.75, -0.75})
            << QList<float>{0.375f, 0.0f, 0.0f} << 1.0 / 32768;
        QTest::newRow("extensible 16-bit")
            << wav(pcm, 1, 16, mono, true) << monoRead << 1.0 / 32768;
        QTest::newRow("extensible float stereo")
            << wav(ieeeFloat, 2, 32, {0.5, 0.5, -0.25, 0.25}, true) << QList<float>{0.5f, 0.0f}
            << 0.0;
        QTest::newRow("other chunks, one of odd size, are skipped")
            << riff({{"LIST", "INFOx"},
                     {"fmt ", format(pcm, 1, 16000, 16)},
                     {"fact", "abcd"},
                     {"data", samples(mono, 16, false)}})
            << monoRead << 1.0 / 32768;
        QTest::newRow("a partial last frame is dropped")
            << riff({{"fmt ", format(pcm, 1, 16000, 16)},
                     {"data", samples(mono, 16, false) + QByteArray(1, '\x7F')}})
            << monoRead << 1.0 / 32768;
    }
    void parse() {
        QFETCH(QByteArray, file);
        QFETCH(QList<float>, expected);
        QFETCH(double, tolerance);
        const WavFile::Audio audio = WavFile::parse(file);
        QVERIFY2(audio.ok(), qPrintable(audio.error));
        QCOMPARE(audio.rate, 16000);
        QCOMPARE(int(audio.samples.size()), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(std::abs(audio.samples[std::size_t(i)] - expected[i]) <= tolerance + 1e-7,
                     qPrintable(QStringLiteral("sample %1: %2, not %3")
                                    .arg(i)
                                    .arg(audio.samples[std::size_t(i)])
                                    .arg(expected[i])));
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        const QByteArray good = wav(pcm, 1, 16, mono);
        const QByteArray fmt16 = format(pcm, 1, 16000, 16);
        QTest::newRow("empty") << QByteArray() << QStringLiteral("not a WAV file");
        QTest::newRow("another kind of file")
            << QByteArray("RIFF\x10\0\0\0AVI LIST", 16) << QStringLiteral("not a WAV file");
        QTest::newRow("cut in the sound")
            << good.left(good.size() - 3) << QStringLiteral("cut short");
        QTest::newRow("cut in the format") << good.left(20) << QStringLiteral("cut short");
        QTest::newRow("data size lies")
            << riff({{"fmt ", fmt16}, {"data", samples(mono, 16, false), 0xFFFFFFF0}})
            << QStringLiteral("cut short");
        QTest::newRow("no sound chunk")
            << riff({{"fmt ", fmt16}}) << QStringLiteral("holds no sound");
        QTest::newRow("empty sound chunk")
            << riff({{"fmt ", fmt16}, {"data", {}}}) << QStringLiteral("holds no sound");
        QTest::newRow("sound before format")
            << riff({{"data", samples(mono, 16, false)}, {"fmt ", fmt16}})
            << QStringLiteral("before its format");
        QTest::newRow("compressed (ADPCM)") << wav(2, 1, 16, mono) << QStringLiteral("compressed");
        QTest::newRow("three channels")
            << wav(pcm, 3, 16, {0, 0, 0}) << QStringLiteral("3 channels");
        QTest::newRow("12-bit") << riff({{"fmt ", format(pcm, 1, 16000, 12)}, {"data", "ab"}})
                                << QStringLiteral("12-bit integer");
        QTest::newRow("64-bit float")
            << riff({{"fmt ", format(ieeeFloat, 1, 16000, 64)}, {"data", QByteArray(8, 0)}})
            << QStringLiteral("64-bit float");
        QByteArray wrongAlign = fmt16;
        wrongAlign[12] = 4;
        QTest::newRow("frame size wrong")
            << riff({{"fmt ", wrongAlign}, {"data", samples(mono, 16, false)}})
            << QStringLiteral("frame size");
        QTest::newRow("rate of zero")
            << wav(pcm, 1, 16, mono, false, 0) << QStringLiteral("sample rate of 0 Hz");
        QTest::newRow("format block short")
            << riff({{"fmt ", fmt16.left(14)}, {"data", samples(mono, 16, false)}})
            << QStringLiteral("too short");
        QByteArray foreignGuid = format(pcm, 1, 16000, 16, true);
        foreignGuid[30] = 0x11;
        QTest::newRow("extensible, unknown GUID")
            << riff({{"fmt ", foreignGuid}, {"data", samples(mono, 16, false)}})
            << QStringLiteral("unknown kind");
        QTest::newRow("longer than a minute")
            << riff({{"fmt ", format(pcm, 1, 4000, 8)}, {"data", QByteArray(4000 * 61, '\x80')}})
            << QStringLiteral("longer than a minute");
    }
    void refused() {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        const WavFile::Audio audio = WavFile::parse(file);
        QVERIFY(!audio.ok());
        QVERIFY2(audio.error.contains(error), qPrintable(audio.error));
        QVERIFY(audio.samples.empty());
    }

    void readNamesTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.wav"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        file.close();
        const WavFile::Audio audio = WavFile::read(path);
        QVERIFY(audio.error.contains(QStringLiteral("broken.wav")));
        QVERIFY(audio.error.contains(QStringLiteral("not a WAV file")));
        QVERIFY(!WavFile::read(dir.filePath(QStringLiteral("missing.wav"))).ok());
    }

    void writtenFileReadsBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("voice/cat.wav"));
        const std::vector<float> written{0.0f, 0.5f, -0.5f, 0.891f, 2.0f, -2.0f};
        QCOMPARE(WavFile::write(path, written, Voice::rate), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 44 + 2 * int(written.size()));
        QCOMPARE(bytes.mid(20, 2), QByteArray("\x01\x00", 2)); // PCM
        QCOMPARE(bytes.mid(22, 2), QByteArray("\x01\x00", 2)); // mono
        QCOMPARE(bytes.mid(34, 2), QByteArray("\x10\x00", 2)); // 16 bits
        const WavFile::Audio audio = WavFile::parse(bytes);
        QVERIFY2(audio.ok(), qPrintable(audio.error));
        QCOMPARE(audio.rate, Voice::rate);
        const std::vector<float> clipped{0.0f, 0.5f, -0.5f, 0.891f, 1.0f, -1.0f};
        for (std::size_t i = 0; i < clipped.size(); ++i)
            QVERIFY(std::abs(audio.samples[i] - clipped[i]) < 2.0f / 32768);
    }

    void replacingLeavesOnlyTheNewFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dog.wav"));
        QCOMPARE(WavFile::write(path, {0.1f, 0.2f}, Voice::rate), QString());
        QCOMPARE(WavFile::write(path, {0.3f, 0.4f, 0.5f}, Voice::rate), QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("dog.wav")});
        QCOMPARE(WavFile::read(path).samples.size(), std::size_t(3));
    }

    void unwritableFolderIsReported() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("voice"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString error = WavFile::write(blocker + QStringLiteral("/cat.wav"), {0.1f}, 22050);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(QStringLiteral("cat.wav")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestWavFile)
#include "tst_wavfile.moc"
