// Build-time tool: speaks one text with flite into a WAV file prepared like every voice of a
// deck (the program's own sample voice).
#include "speechsynth.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: make-voice FLITE OUT.wav TEXT\n");
        return 2;
    }
    const Voice voice = SpeechSynth::synthesiseNow(args.at(3), args.at(1));
    const QString error = voice.ok() ? voice.save(args.at(2)) : voice.error;
    if (!error.isEmpty()) {
        std::fprintf(stderr, "make-voice: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
