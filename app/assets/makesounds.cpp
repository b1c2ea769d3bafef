// Build-time tool: writes the program's own OK and NG effect sounds into a music folder.
#include "platform/synthesizedsound.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sounds MUSIC_FOLDER\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    QDir().mkpath(folder);
    const std::pair<const char*, SynthesizedSound> sounds[] = {{"ok.wav", SynthesizedSound::Ok},
                                                               {"ng.wav", SynthesizedSound::Ng}};
    for (const auto& [name, sound] : sounds) {
        QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
        const QByteArray wav = synthesizeWav(sound);
        if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) {
            std::fprintf(stderr, "make-sounds: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
