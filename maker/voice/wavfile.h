#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// WAV files: the common kinds in, one fixed kind out.
namespace WavFile {

// Mono samples in -1..1 at rate Hz, or why the file could not be read.
struct Audio {
    std::vector<float> samples;
    int rate = 0;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Integer PCM of 8, 16, 24 or 32 bits and 32-bit float, mono or stereo (mixed down), plain or
// in the extensible layout. Anything else, and a malformed or cut-short file, is an error;
// sizes in the header are checked against the file before anything is allocated.
Audio read(const QString& path);
Audio parse(const QByteArray& bytes);

// 16-bit PCM mono at rate Hz; samples outside -1..1 are clipped.
QByteArray encode(const std::vector<float>& samples, int rate);
// Writes encode(samples, rate) through a temporary file beside path, renamed into place, so
// that a reader never meets half a file. Returns the error, empty on success.
QString write(const QString& path, const std::vector<float>& samples, int rate);

} // namespace WavFile
