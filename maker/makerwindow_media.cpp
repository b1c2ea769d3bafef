// The pictures and voices of the chosen row: stored as the deck's own files (a JPEG under
// images/, a WAV under voice/), then named in the row.
#include "deckeditor.h"
#include "deckforms.h"
#include "makertexts.h"
#include "makerwindow.h"
#include "mediapanels.h"
#include "voicework.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <cardpreview.h>
#include <cstdio>
#include <dataerror.h>
#include <mediapath.h>
#include <pictureimport.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>
#include <settingsfile.h>
#include <voice.h>

using PMCM000::platform;

namespace {
void warn(const QString& text) {
    platform().prompter->message(text, MakerTexts::Title, Prompter::Icon::Warning);
}

// Why a take gave no voice, as a parent can act on it; the voice library's own words go to
// stderr.
QString voiceProblem(const Voice& take) {
    std::fprintf(stderr, "pimlotan-maker: %s\n", qPrintable(take.error));
    return MakerTexts::voiceProblem(take.reason);
}
} // namespace

void MakerWindow::connectMedia() {
    for (PicturePanel* panel :
         {groupForm_->picture(), subGroupForm_->picture(), wordForm_->picture()}) {
        // Pictures come from a folder of their own (downloads, photos), not the decks' one:
        // the dialog starts where the last picture was chosen.
        connect(panel, &PicturePanel::fileClicked, this, [this] {
            const QString start = settings_.pictureFolder.isEmpty() ? PMCM000::DocumentsFolder
                                                                    : settings_.pictureFolder;
            const QString file = platform().prompter->openPicture(MakerTexts::PictureFilter, start,
                                                                  MakerTexts::ChoosePicture);
            if (file.isEmpty())
                return;
            settings_.pictureFolder = QFileInfo(file).absolutePath();
            saveSettings();
            storePictureFile(file);
        });
        connect(panel, &PicturePanel::pasteClicked, this, [this] {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            if (data && PictureImport::canStore(*data))
                storePictureData(*data);
            else
                warn(MakerTexts::NoPictureToPaste);
        });
        connect(panel, &PicturePanel::dropped, this, &MakerWindow::storePictureData);
    }
    VoicePanel* voice = wordForm_->voice();
    connect(voice, &VoicePanel::recordClicked, this, &MakerWindow::toggleRecording);
    connect(voice, &VoicePanel::speakClicked, this, &MakerWindow::speakWord);
    connect(voice, &VoicePanel::playClicked, this, &MakerWindow::playVoice);
    connect(voice, &VoicePanel::fileClicked, this, [this] {
        const QString file = platform().prompter->openFile(
            MakerTexts::VoiceFilter, PMCM000::DocumentsFolder, MakerTexts::ChooseVoice);
        if (!file.isEmpty())
            storeVoiceFile(file);
    });
    connect(&voiceWork_->recorder, &VoiceRecorder::levelChanged, voice, &VoicePanel::setLevel);
    const auto taken = [this](const Voice& take) {
        const qint64 key = session_.endTake();
        wordForm_->voice()->setRecording(false);
        wordForm_->voice()->setBusy(false);
        if (!key)
            return; // abandoned
        if (!take.ok()) {
            wordForm_->voice()->setStatus(voiceProblem(take));
            return;
        }
        setVoice(key, take);
    };
    connect(&voiceWork_->recorder, &VoiceRecorder::finished, this, taken);
    connect(&voiceWork_->synth, &SpeechSynth::finished, this, taken);
}

bool MakerWindow::voiceBusy() const {
    return voiceWork_->busy();
}

void MakerWindow::storePicture(
    const std::function<PictureImport::Result(const QString& folder, const QString& name)>& store) {
    if (!editor() || deckGone())
        return;
    const MakerSession::PictureTarget target = session_.pictureTarget();
    if (target.name.isEmpty())
        return;
    editor()->keepForUndo(PictureImport::storedPath(editor()->folder(), target.name));
    if (const PictureImport::Result stored = store(editor()->folder(), target.name); !stored.ok()) {
        editor()->dropKept();
        warn(stored.error);
        return;
    }
    changing([&] { session_.setPicture(target); });
}

void MakerWindow::storePictureFile(const QString& file) {
    storePicture([&](const QString& folder, const QString& name) {
        return PictureImport::storeFile(file, folder, name);
    });
}

void MakerWindow::storePictureData(const QMimeData& data) {
    storePicture([&](const QString& folder, const QString& name) {
        return PictureImport::storeMimeData(data, folder, name);
    });
}

void MakerWindow::setVoice(qint64 key, const Voice& take) {
    if (!editor() || deckGone())
        return;
    const QString name = session_.voiceNameFor(key);
    editor()->keepForUndo(MediaPath::voice(editor()->folder(), name));
    if (const QString error = take.save(MediaPath::voice(editor()->folder(), name));
        !error.isEmpty()) {
        editor()->dropKept();
        std::fprintf(stderr, "pimlotan-maker: %s\n", qPrintable(error));
        warn(MakerTexts::VoiceNotSaved);
        return;
    }
    if (changing([&] { editor()->setWordVoice(key, name); }))
        wordForm_->voice()->setStatus(MakerTexts::VoiceStored.arg(take.seconds(), 0, 'f', 1));
}

void MakerWindow::storeVoiceFile(const QString& file) {
    const QList<qint64> keys = session_.chosenWords();
    if (keys.isEmpty())
        return;
    const Voice take = Voice::fromFile(file);
    if (!take.ok()) {
        warn(voiceProblem(take));
        return;
    }
    setVoice(keys.first(), take);
}

void MakerWindow::speakWord() {
    const QList<qint64> keys = session_.chosenWords();
    if (keys.isEmpty() || voiceWork_->busy())
        return;
    const DeckWord* w = editor()->word(keys.first());
    if (w->word.trimmed().isEmpty()) {
        warn(MakerTexts::WordFirst);
        return;
    }
    session_.beginTake(w->key);
    wordForm_->voice()->setBusy(true);
    wordForm_->voice()->setStatus(MakerTexts::Speaking.arg(w->word));
    voiceWork_->synth.synthesise(w->word);
}

void MakerWindow::speakIfVoiceless() {
    const QList<qint64> keys = session_.chosenWords();
    if (!settings_.speakNewWords || keys.size() != 1 || voiceWork_->busy())
        return;
    const DeckWord* w = editor()->word(keys.first());
    if (!w->word.trimmed().isEmpty() &&
        !QFileInfo(MediaPath::findVoice(editor()->folder(), w->voice)).isFile())
        speakWord();
}

void MakerWindow::toggleRecording() {
    if (voiceWork_->recorder.isRecording()) {
        voiceWork_->recorder.stop();
        return;
    }
    const QList<qint64> keys = session_.chosenWords();
    if (keys.isEmpty() || voiceWork_->busy())
        return;
    session_.beginTake(keys.first());
    wordForm_->voice()->setRecording(true);
    wordForm_->voice()->setStatus(MakerTexts::Recording);
    voiceWork_->recorder.start();
}

void MakerWindow::playVoice() {
    const QList<qint64> keys = session_.chosenWords();
    if (keys.isEmpty())
        return;
    // Read each time: the volume may have been changed in the program's sound settings. A
    // parent who has not started the program yet has none: full volume.
    if (SettingsFile::exists(PMCM000::SettingsFolder + PMCM000::SoundSettings))
        PMCM000::LoadSoundSettings();
    else
        PMCM000::VoiceVolume = 0xFFFF;
    PMCM000::PlaySoundFile(
        MediaPath::findVoice(editor()->folder(), editor()->word(keys.first())->voice),
        PMCM000::SoundMode::AtVolume, PMCM000::VoiceVolume);
}
