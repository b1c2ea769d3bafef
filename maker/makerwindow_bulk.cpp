// Many words at once: each line a word of the chosen sub-group, filled with the first picture
// and meaning the library suggests and a spoken voice; what could not be filled is listed.
#include "bulkadddialog.h"
#include "bulkwords.h"
#include "deckeditor.h"
#include "makertexts.h"
#include "makerwindow.h"

#include <QProgressDialog>
#include <cstdio>
#include <dataerror.h>
#include <mediapath.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>
#include <speechsynth.h>

using PMCM000::platform;

void MakerWindow::chooseManyWords() {
    const qint64 group = session_.chosenGroup();
    const qint64 sgroup = session_.chosenSubGroup();
    if (!editor() || deckGone())
        return;
    if (!sgroup) {
        platform().prompter->message(MakerTexts::ChooseSubGroupFirst, MakerTexts::Title,
                                     Prompter::Icon::Information);
        return;
    }
    BulkAddDialog dialog(group, sgroup, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ManyWords done = addManyWords(dialog.text());
    if (done.added == 0)
        return;
    QString report = MakerTexts::AddedMany.arg(done.added);
    if (!done.unfinished.isEmpty())
        report += MakerTexts::AddedUnfinished + done.unfinished.join(u'\n');
    platform().prompter->message(report, MakerTexts::Title, Prompter::Icon::Information);
}

MakerWindow::ManyWords MakerWindow::addManyWords(const QString& text) {
    ManyWords done;
    const QList<BulkWords::Entry> entries = BulkWords::parse(text);
    const qint64 group = session_.chosenGroup();
    const qint64 sgroup = session_.chosenSubGroup();
    if (entries.isEmpty() || !editor() || !sgroup)
        return done;
    const QString folder = editor()->folder();
    QProgressDialog progress(MakerTexts::AddingMany.arg(entries.size()), MakerTexts::Cancel, 0,
                             int(entries.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QList<qint64> added;
    // One step to take back, whatever was done before a cancel.
    changing([&] {
        editor()->asOneChange([&] {
            for (qsizetype i = 0; i < entries.size() && !progress.wasCanceled(); ++i) {
                progress.setValue(int(i));
                const BulkWords::Entry& entry = entries.at(i);
                QStringList missing;
                QString meaning = entry.meaning;
                if (meaning.isEmpty() && suggestions_)
                    meaning = suggestions_->meanings(entry.word, 1).value(0);
                if (meaning.isEmpty())
                    missing << MakerTexts::NoMeaningFound;
                const qint64 key = editor()->addWord(group, sgroup, {entry.word, meaning, {}, {}});
                added << key;
                if (!addSuggestedPicture(key, entry.word))
                    missing << MakerTexts::NoPictureFound;
                const Voice take = SpeechSynth::synthesiseNow(entry.word);
                const QString name =
                    editor()->mediaNameFor(DeckEditor::Media::Voice, {}, entry.word);
                if (take.ok() && take.save(MediaPath::voice(folder, name)).isEmpty())
                    editor()->setWordVoice(key, name);
                else
                    missing << MakerTexts::NoVoiceMade;
                if (!missing.isEmpty())
                    done.unfinished
                        << MakerTexts::UnfinishedLine.arg(entry.word, missing.join(u'・'));
            }
        });
    });
    progress.setValue(int(entries.size()));
    done.added = int(added.size());
    if (!added.isEmpty()) {
        session_.chooseWords({added.first()});
        session_.show(Kind::Word);
        refresh();
    }
    return done;
}

bool MakerWindow::addSuggestedPicture(qint64 key, const QString& word) {
    if (!suggestions_)
        return false;
    const QString folder = editor()->folder();
    const QList<Suggestions::Picture> pictures =
        suggestions_->pictures(word, folder + QStringLiteral("images"), 1);
    if (pictures.isEmpty())
        return false;
    QString name = pictures.first().deckPicture;
    if (name.isEmpty()) {
        name = editor()->mediaNameFor(DeckEditor::Media::Picture, {}, word);
        const QImage image = drawnSuggestion(pictures.first().emoji, Kind::Word, group(key));
        if (!PictureImport::storeImage(image, folder, name).ok())
            return false;
    }
    editor()->setWordPicture(key, name);
    return true;
}
