#include "voicerecorder.h"

#include "voiceprocessing.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace {

constexpr int pollMilliseconds = 25;
constexpr double levelSeconds = 0.050;

} // namespace

VoiceRecorder::VoiceRecorder(QObject* parent)
    : QObject(parent) {
    m_timer.setInterval(pollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &VoiceRecorder::poll);
}

VoiceRecorder::~VoiceRecorder() {
    close();
}

void VoiceRecorder::start() {
    if (isRecording())
        return;
    const auto fail = [this](const QString& why) {
        QTimer::singleShot(0, this, [this, why] {
            emit finished(Voice::failure(Voice::Reason::NoMicrophone, why));
        });
    };
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        fail(QStringLiteral("no microphone: sound is not available (%1)")
                 .arg(QString::fromUtf8(SDL_GetError())));
        return;
    }
    // The deck's own rate and mono; a device that differs in rate or channels is taken as it
    // is (resampled later with a better filter than SDL's). The format stays fixed: SDL
    // converts it, so that only 16-bit samples ever arrive.
    SDL_AudioSpec wanted{};
    wanted.freq = Voice::rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    SDL_AudioSpec obtained{};
    m_device =
        SDL_OpenAudioDevice(nullptr, 1, &wanted, &obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (m_device == 0) {
        fail(QStringLiteral("no microphone was found (%1)").arg(QString::fromUtf8(SDL_GetError())));
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    m_rate = obtained.freq;
    m_channels = std::max<int>(1, obtained.channels);
    m_samples.clear();
    m_samples.reserve(std::size_t(m_maximumSeconds * m_rate) + 1);
    SDL_PauseAudioDevice(m_device, 0);
    m_timer.start();
}

bool VoiceRecorder::take() {
    const auto limit = std::size_t(m_maximumSeconds * m_rate);
    const auto frameBytes = Uint32(sizeof(Sint16)) * Uint32(m_channels);
    const Uint32 queued = SDL_GetQueuedAudioSize(m_device);
    std::vector<Sint16> buffer(queued / frameBytes * std::size_t(m_channels));
    const Uint32 got = buffer.empty() ? 0
                                      : SDL_DequeueAudio(m_device, buffer.data(),
                                                         Uint32(buffer.size() * sizeof(Sint16)));
    const std::size_t frames = got / frameBytes;
    for (std::size_t i = 0; i < frames && m_samples.size() < limit; ++i) {
        int sum = 0;
        for (int c = 0; c < m_channels; ++c)
            sum += buffer[i * std::size_t(m_channels) + std::size_t(c)];
        m_samples.push_back(float(sum) / (32768.0f * float(m_channels)));
    }
    return m_samples.size() >= limit;
}

void VoiceRecorder::poll() {
    if (!isRecording())
        return;
    const bool full = take();
    const auto window = std::min(m_samples.size(), std::size_t(m_rate * levelSeconds));
    float peak = 0;
    for (auto it = m_samples.end() - std::ptrdiff_t(window); it != m_samples.end(); ++it)
        peak = std::max(peak, std::abs(*it));
    emit levelChanged(std::min(1.0, double(peak)));
    if (full)
        finish();
}

void VoiceRecorder::stop() {
    if (!isRecording())
        return;
    take();
    finish();
}

void VoiceRecorder::finish() {
    const int rate = m_rate;
    std::vector<float> samples = std::move(m_samples);
    m_samples = {};
    close();
    emit levelChanged(0);
    emit finished(VoiceProcessing::prepare(std::move(samples), rate));
}

void VoiceRecorder::close() {
    m_timer.stop();
    if (m_device == 0)
        return;
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
