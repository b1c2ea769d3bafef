#include "sdlsounddevice.h"

#include "synthesizedsound.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <SDL.h>
#include <SDL_mixer.h>

namespace {
constexpr int Channel = 0;
constexpr int IdleCloseMs = 5000;
// A synchronous play never waits longer than the sound plus this margin.
constexpr int WaitMarginMs = 3000;
} // namespace

SdlSoundDevice::SdlSoundDevice()
    : defaultChime_(synthesizeWav(SynthesizedSound::DefaultChime)) {
    idleTimer_.setInterval(1000);
    connect(&idleTimer_, &QTimer::timeout, this, &SdlSoundDevice::closeWhenIdle);
}

SdlSoundDevice::~SdlSoundDevice() {
    close();
}

int SdlSoundDevice::mixerVolume(quint32 word) {
    const quint32 left = word & 0xFFFF;
    const quint32 right = word >> 16;
    const quint32 louder = std::max(left, right);
    return static_cast<int>((louder * MIX_MAX_VOLUME + 0xFFFF / 2) / 0xFFFF);
}

bool SdlSoundDevice::isPlayableFile(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.size() <= MaxFileBytes;
}

bool SdlSoundDevice::ensureOpen() {
    if (open_)
        return true;
    auto tryOpen = [] {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        return true;
    };
    if (!tryOpen()) {
        // The dummy driver for this opening only: the real device may be back (unplugged
        // headphones, a sound server restarted) at the next one, after the idle close.
        const QByteArray chosen = qgetenv("SDL_AUDIODRIVER");
        const bool wasSet = qEnvironmentVariableIsSet("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "dummy");
        const bool opened = tryOpen();
        if (wasSet)
            qputenv("SDL_AUDIODRIVER", chosen);
        else
            qunsetenv("SDL_AUDIODRIVER");
        if (!opened)
            return false;
    }
    Mix_AllocateChannels(1);
    open_ = true;
    sinceBusy_.start();
    idleTimer_.start();
    return true;
}

int SdlSoundDevice::durationMs(const Mix_Chunk* chunk) const {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels) || frequency <= 0 || channels <= 0)
        return 0;
    const int bytesPerFrame = channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
    return static_cast<int>(static_cast<qint64>(chunk->alen) * 1000 /
                            (static_cast<qint64>(frequency) * bytesPerFrame));
}

bool SdlSoundDevice::playing() const {
    return open_ && Mix_Playing(Channel) != 0;
}

void SdlSoundDevice::play(const QString& path, bool wait) {
    lastSource_ = Source::Nothing;
    if (!ensureOpen())
        return;
    Mix_HaltChannel(Channel); // a chunk is freed only after its channel stopped
    if (chunk_) {
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
    }
    // A folder, a pipe or a device would block or never end; a huge file would fill memory.
    if (isPlayableFile(path))
        chunk_ = Mix_LoadWAV(QFile::encodeName(path).constData());
    Source source = Source::File;
    if (!chunk_) {
        chunk_ = Mix_LoadWAV_RW(
            SDL_RWFromConstMem(defaultChime_.constData(), static_cast<int>(defaultChime_.size())),
            1);
        source = Source::DefaultChime;
    }
    if (!chunk_)
        return;
    Mix_Volume(Channel, mixerVolume(volumeWord_));
    if (Mix_PlayChannel(Channel, chunk_, 0) < 0)
        return;
    lastSource_ = source;
    sinceBusy_.restart();
    if (!wait)
        return;
    QElapsedTimer waited;
    waited.start();
    const int limit = durationMs(chunk_) + WaitMarginMs;
    while (Mix_Playing(Channel) && waited.elapsed() < limit)
        QThread::msleep(5);
    sinceBusy_.restart();
}

void SdlSoundDevice::closeWhenIdle() {
    if (open_ && Mix_Playing(Channel))
        sinceBusy_.restart();
    else if (sinceBusy_.elapsed() > IdleCloseMs)
        close();
}

void SdlSoundDevice::close() {
    idleTimer_.stop();
    if (!open_)
        return;
    Mix_HaltChannel(Channel);
    if (chunk_) {
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}
