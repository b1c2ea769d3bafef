#pragma once

#include <QObject>
#include <speechsynth.h>
#include <voicerecorder.h>

// The voice takes that run in the background for the maker's window: one recording or one
// spoken word at a time (which word it is for is the session's).
class VoiceWork : public QObject {
    Q_OBJECT
  public:
    VoiceRecorder recorder;
    SpeechSynth synth;

    bool busy() const { return recorder.isRecording() || synth.isBusy(); }
    void stopRecording() {
        if (recorder.isRecording())
            recorder.stop();
    }
};
