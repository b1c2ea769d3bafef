#pragma once

#include <QObject>
#include <speechsynth.h>
#include <voicerecorder.h>

// The voice takes that run in the background for the maker's window: one recording or one
// spoken word at a time, for the word that was chosen when it began.
class VoiceWork : public QObject {
    Q_OBJECT
  public:
    VoiceRecorder recorder;
    SpeechSynth synth;
    // The word the take is for; 0 once the take is abandoned (the window closes, the deck
    // changes), so that its result is dropped.
    qint64 key = 0;
    QString deckPath;

    bool busy() const { return recorder.isRecording() || synth.isBusy(); }
    void cancel() {
        key = 0;
        if (recorder.isRecording())
            recorder.stop();
    }
};
