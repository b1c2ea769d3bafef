#include "voice.h"

#include "voiceprocessing.h"
#include "wavfile.h"

Voice Voice::failure(Reason reason, const QString& why) {
    Voice voice;
    voice.reason = reason;
    voice.error = why;
    return voice;
}

Voice Voice::fromFile(const QString& path) {
    WavFile::Audio audio = WavFile::read(path);
    if (!audio.ok())
        return failure(Reason::NotUsable, audio.error);
    return VoiceProcessing::prepare(std::move(audio.samples), audio.rate);
}

QString Voice::save(const QString& path) const {
    if (!ok() || samples.empty())
        return QStringLiteral("there is no voice to save");
    return WavFile::write(path, samples, rate);
}
