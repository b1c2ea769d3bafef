#pragma once

#include "voice.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QProcess;
class QTemporaryDir;

// Speaks English text with flite's "rms" voice (a clear male American voice) into a prepared
// Voice. flite runs as a separate process, so a window stays responsive while it speaks.
class SpeechSynth : public QObject {
    Q_OBJECT

  public:
    explicit SpeechSynth(QObject* parent = nullptr);
    ~SpeechSynth() override;

    // flite from the PATH unless set (the build passes the one it found).
    void setProgram(const QString& flite) { m_program = flite; }

    // Starts speaking; finished() follows from the event loop, also for an empty text or a
    // missing flite. A take still running is abandoned without a signal.
    void synthesise(const QString& text);
    bool isBusy() const { return m_process != nullptr; }

    // The same, waiting for flite (for command-line tools, not for a window).
    static Voice synthesiseNow(const QString& text, const QString& flite = {});

  signals:
    void finished(const Voice& voice);

  private:
    void deliver(const Voice& voice);
    void cancel();

    QString m_program;
    QProcess* m_process = nullptr;
    QTimer m_timeout;
    std::unique_ptr<QTemporaryDir> m_folder;
};
