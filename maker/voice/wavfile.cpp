#include "wavfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace WavFile {

namespace {

// A word's voice is a few seconds; these bounds keep a lying or foreign file from costing
// more than a few tens of megabytes.
constexpr qint64 maximumFileBytes = 64 * 1024 * 1024;
constexpr double maximumSeconds = 60;
constexpr int minimumRate = 4000;
constexpr int maximumRate = 192000;

constexpr quint16 formatPcm = 1;
constexpr quint16 formatFloat = 3;
constexpr quint16 formatExtensible = 0xFFFE;
// The extensible layout names its format by a GUID whose last 14 bytes are always these.
constexpr unsigned char guidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

quint32 le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}
quint16 le16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint16(u[0] | u[1] << 8);
}

Audio failure(const QString& why) {
    Audio audio;
    audio.error = why;
    return audio;
}

float sampleAt(const char* p, int bytes, bool isFloat) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    if (isFloat) {
        float value;
        const quint32 bits = le32(p);
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
    }
    switch (bytes) {
    case 1: // 8-bit WAV is unsigned, centred on 128
        return (int(u[0]) - 128) / 128.0f;
    case 2:
        return qint16(le16(p)) / 32768.0f;
    case 3: {
        const qint32 v = qint32(quint32(u[0]) << 8 | quint32(u[1]) << 16 | quint32(u[2]) << 24);
        return float(v / 2147483648.0);
    }
    default:
        return float(qint32(le32(p)) / 2147483648.0);
    }
}

struct Format {
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 blockAlign = 0;
    quint16 bits = 0;
    bool isFloat = false;
};

// The fmt chunk's meaning, or an error text.
QString readFormat(const char* p, quint32 size, Format& format) {
    if (size < 16)
        return QStringLiteral("the format block of the WAV file is too short");
    quint16 tag = le16(p);
    format.channels = le16(p + 2);
    format.rate = le32(p + 4);
    format.blockAlign = le16(p + 12);
    format.bits = le16(p + 14);
    if (tag == formatExtensible) {
        if (size < 40 || le16(p + 16) < 22)
            return QStringLiteral("the extensible format block of the WAV file is too short");
        if (std::memcmp(p + 26, guidTail, sizeof guidTail) != 0)
            return QStringLiteral("the WAV file holds an unknown kind of sound data");
        tag = le16(p + 24);
    }
    if (tag == formatPcm)
        format.isFloat = false;
    else if (tag == formatFloat)
        format.isFloat = true;
    else
        return QStringLiteral("the WAV file holds compressed sound (format %1); only PCM and "
                              "float WAV files can be used")
            .arg(tag);
    if (format.channels != 1 && format.channels != 2)
        return QStringLiteral("the WAV file has %1 channels; only mono and stereo can be used")
            .arg(format.channels);
    const bool knownBits = format.isFloat ? format.bits == 32
                                          : (format.bits == 8 || format.bits == 16 ||
                                             format.bits == 24 || format.bits == 32);
    if (!knownBits)
        return QStringLiteral("the WAV file has %1-bit %2 samples, which cannot be used")
            .arg(format.bits)
            .arg(format.isFloat ? QStringLiteral("float") : QStringLiteral("integer"));
    if (format.blockAlign != format.channels * (format.bits / 8))
        return QStringLiteral("the WAV file's frame size does not match its sample size");
    if (format.rate < quint32(minimumRate) || format.rate > quint32(maximumRate))
        return QStringLiteral("the WAV file's sample rate of %1 Hz cannot be used")
            .arg(format.rate);
    return {};
}

} // namespace

Audio parse(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const qint64 size = bytes.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return failure(QStringLiteral("this is not a WAV file"));

    Format format;
    bool haveFormat = false;
    qint64 at = 12;
    while (at + 8 <= size) {
        const char* chunk = data + at;
        const quint32 chunkSize = le32(chunk + 4);
        const qint64 bodyAt = at + 8;
        const qint64 available = size - bodyAt;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize > available)
                return failure(QStringLiteral("the WAV file is cut short"));
            const QString error = readFormat(data + bodyAt, chunkSize, format);
            if (!error.isEmpty())
                return failure(error);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return failure(QStringLiteral("the WAV file has its sound before its format"));
            if (chunkSize > available)
                return failure(QStringLiteral("the WAV file is cut short"));
            const qint64 frames = chunkSize / format.blockAlign;
            if (frames == 0)
                return failure(QStringLiteral("the WAV file holds no sound"));
            if (double(frames) / format.rate > maximumSeconds)
                return failure(QStringLiteral("the WAV file is longer than a minute; a word's "
                                              "voice is a few seconds"));
            Audio audio;
            audio.rate = int(format.rate);
            audio.samples.resize(std::size_t(frames));
            const int bytesPerSample = format.bits / 8;
            const char* p = data + bodyAt;
            for (qint64 i = 0; i < frames; ++i, p += format.blockAlign) {
                float value = sampleAt(p, bytesPerSample, format.isFloat);
                if (format.channels == 2)
                    value =
                        (value + sampleAt(p + bytesPerSample, bytesPerSample, format.isFloat)) / 2;
                audio.samples[std::size_t(i)] = value;
            }
            return audio;
        }
        // Chunks are padded to an even size.
        at = bodyAt + qint64(chunkSize) + (chunkSize & 1);
    }
    return failure(haveFormat ? QStringLiteral("the WAV file holds no sound")
                              : QStringLiteral("the WAV file is cut short"));
}

Audio read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("%1 cannot be read: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > maximumFileBytes)
        return failure(QStringLiteral("%1 is too large for a word's voice")
                           .arg(QDir::toNativeSeparators(path)));
    Audio audio = parse(file.readAll());
    if (!audio.ok())
        audio.error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + audio.error;
    return audio;
}

QByteArray encode(const std::vector<float>& samples, int rate) {
    const quint32 dataBytes = quint32(samples.size() * 2);
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    const auto put32 = [&out](quint32 v) {
        for (int i = 0; i < 4; ++i)
            out.append(char(v >> (8 * i) & 0xFF));
    };
    const auto put16 = [&out](quint16 v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    out.append("RIFF", 4);
    put32(36 + dataBytes);
    out.append("WAVEfmt ", 8);
    put32(16);
    put16(formatPcm);
    put16(1);
    put32(quint32(rate));
    put32(quint32(rate) * 2);
    put16(2);
    put16(16);
    out.append("data", 4);
    put32(dataBytes);
    for (const float s : samples) {
        const float clipped = std::isfinite(s) ? std::clamp(s, -1.0f, 1.0f) : 0.0f;
        put16(quint16(qint16(std::lround(clipped * 32767.0f))));
    }
    return out;
}

QString write(const QString& path, const std::vector<float>& samples, int rate) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return QStringLiteral("the folder of %1 cannot be made").arg(shown);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 cannot be written: %2").arg(shown, file.errorString());
    const QByteArray bytes = encode(samples, rate);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1 cannot be written: %2").arg(shown, file.errorString());
    return {};
}

} // namespace WavFile
