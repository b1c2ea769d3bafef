#include "speechsynth.h"

#include "voiceprocessing.h"
#include "wavfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// flite speaks a word in a few tens of milliseconds; this only catches a hung process.
constexpr int timeoutMilliseconds = 20000;

QString programOrDefault(const QString& flite) {
    if (!flite.isEmpty())
        return flite;
    return QStandardPaths::findExecutable(QStringLiteral("flite"));
}

QString missing() {
    return QStringLiteral("flite is not installed (Debian package \"flite\")");
}

// Writes the text into the folder and returns flite's arguments, or an error. The text goes
// through a file named with -f, so that no word (such as "-o") can read as an option.
QString prepareRun(const QString& text, const QTemporaryDir& folder, QStringList& arguments) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("there is no text to speak");
    if (!folder.isValid())
        return QStringLiteral("no temporary folder for the speech: %1").arg(folder.errorString());
    QFile file(folder.filePath(QStringLiteral("text.txt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.trimmed().toUtf8() + '\n') < 0 ||
        !file.flush())
        return QStringLiteral("the text for the speech cannot be written: %1")
            .arg(file.errorString());
    arguments = {QStringLiteral("-voice"), QStringLiteral("rms"),
                 QStringLiteral("-f"),     file.fileName(),
                 QStringLiteral("-o"),     folder.filePath(QStringLiteral("speech.wav"))};
    return {};
}

Voice collect(QProcess& process, const QTemporaryDir& folder) {
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return Voice::failure(Voice::Reason::SpeechFailed,
                              QStringLiteral("flite failed%1")
                                  .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said));
    }
    WavFile::Audio audio = WavFile::read(folder.filePath(QStringLiteral("speech.wav")));
    if (!audio.ok())
        return Voice::failure(Voice::Reason::SpeechFailed,
                              QStringLiteral("flite gave no usable sound: ") + audio.error);
    return VoiceProcessing::prepare(std::move(audio.samples), audio.rate);
}

} // namespace

SpeechSynth::SpeechSynth(QObject* parent)
    : QObject(parent) {
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeoutMilliseconds);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        deliver(Voice::failure(Voice::Reason::SpeechFailed,
                               QStringLiteral("flite did not finish in time")));
    });
}

SpeechSynth::~SpeechSynth() {
    cancel();
}

void SpeechSynth::synthesise(const QString& text) {
    cancel();
    const auto failLater = [this](Voice::Reason reason, const QString& why) {
        QTimer::singleShot(0, this,
                           [this, reason, why] { emit finished(Voice::failure(reason, why)); });
    };
    const QString program = programOrDefault(m_program);
    if (program.isEmpty())
        return failLater(Voice::Reason::NoSpeechEngine, missing());
    m_folder = std::make_unique<QTemporaryDir>();
    QStringList arguments;
    if (const QString error = prepareRun(text, *m_folder, arguments); !error.isEmpty()) {
        m_folder.reset();
        return failLater(Voice::Reason::SpeechFailed, error);
    }

    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    // Queued, so that a start that fails at once still reports after synthesise() returns;
    // the check drops a report for a run that was abandoned meanwhile.
    connect(
        m_process, &QProcess::errorOccurred, this,
        [this, process = m_process](QProcess::ProcessError error) {
            if (process == m_process && error == QProcess::FailedToStart)
                deliver(Voice::failure(Voice::Reason::NoSpeechEngine, missing()));
        },
        Qt::QueuedConnection);
    connect(m_process, &QProcess::finished, this,
            [this] { deliver(collect(*m_process, *m_folder)); });
    m_process->start(program, arguments);
    m_timeout.start();
}

void SpeechSynth::deliver(const Voice& voice) {
    cancel();
    emit finished(voice);
}

void SpeechSynth::cancel() {
    if (m_process) {
        m_process->disconnect(this);
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(1000);
        }
        m_process->deleteLater();
        m_process = nullptr;
    }
    m_timeout.stop();
    m_folder.reset();
}

Voice SpeechSynth::synthesiseNow(const QString& text, const QString& flite) {
    const QString program = programOrDefault(flite);
    if (program.isEmpty())
        return Voice::failure(Voice::Reason::NoSpeechEngine, missing());
    const QTemporaryDir folder;
    QStringList arguments;
    if (const QString error = prepareRun(text, folder, arguments); !error.isEmpty())
        return Voice::failure(Voice::Reason::SpeechFailed, error);
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return Voice::failure(Voice::Reason::NoSpeechEngine, missing());
    if (!process.waitForFinished(timeoutMilliseconds)) {
        process.kill();
        process.waitForFinished(1000);
        return Voice::failure(Voice::Reason::SpeechFailed,
                              QStringLiteral("flite did not finish in time"));
    }
    return collect(process, folder);
}
