#include "pml0010.h"

#include "countformat.h"
#include "dataerror.h"
#include "fittedlabel.h"
#include "forms.h"
#include "mediapath.h"
#include "picturebox.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "screentexts.h"
#include "textfit.h"
#include "worddatafile.h"

#include <QApplication>
#include <QCloseEvent>
#include <cstdio>

using namespace PMCM000;

namespace {
// A picture that the word-data file names but that is not beside it.
struct PictureMissing {
    QString path;
};

} // namespace

Pml0010::Pml0010(DeckChooser chooseDeck, QWidget* parent)
    : QMainWindow(parent)
    , ActivatableForm(this)
    , chooseDeck_(std::move(chooseDeck)) {
    setObjectName(QStringLiteral("Pml0010"));
    SelectedBigGroup = 0;
    createControls();
    createMenus();
    placeControls();
    setWindowTitle(FormCaption());
    HideGroupColumn();
    HideSubGroupArea();
    applyColours();
}

void Pml0010::Form_Activate() {
    applyColours();
    LevelChosen = false;
    if (DialogOpen) {
        // Back from a dialog: keep the groups, the page and the marks as they are.
        DialogOpen = false;
        return;
    }
    setWindowTitle(FormCaption());
    if (DataFilePath.isEmpty()) {
        platform().prompter->message(
            QStringLiteral("「ファイル」→「ひらく」でたんごデータをえらんでください"), AppTitle);
        return;
    }
    HideGroupColumn();
    HideSubGroupArea();
    guarded("Form_Activate", [this] {
        // A deck rebuilt or copied over meanwhile (also by ひらく of the same path) is read anew.
        WordDataFile::closeIfReplaced(DataFilePath);
        browser_.setDataFile(DataFilePath);
        for (const GroupBrowser::Group& group : browser_.groups()) {
            const int i = group.group - 1;
            // Shown before the picture is read: a missing one is reported, and its place
            // keeps the group's title.
            Im_big[i]->setAccessibleName(group.title);
            Im_big[i]->setPlaceholderText(group.title);
            Im_big[i]->show();
            // The title gives way to the count.
            Lb_groupno[i]->setFittedText(
                group.title, QStringLiteral("  ") + countText(group.total) + QStringLiteral("個"));
            Lb_groupno[i]->show();
            loadPicture(Im_big[i], group.pictureName);
        }
        if (SelectedBigGroup != 0)
            GroupClick(SelectedBigGroup - 1);
    });
}

void Pml0010::Im_big_Click(int index) {
    guarded("Im_big_Click", [this, index] { GroupClick(index); });
}

void Pml0010::GroupClick(int index) {
    for (QWidget* bar : Sh_bar)
        bar->hide();
    HideSubGroupArea();
    SelectedBigGroup = static_cast<qint16>(index + 1);
    Sh_bar[index]->show();
    Lb_setumei->show();
    const auto text = browser_.chooseGroup(index + 1);
    if (!text) {
        platform().prompter->message(
            QStringLiteral("該当するグループがありません PML0010 im_big_click"), AppTitle);
        return;
    }
    groupTitle_ = text->title;
    // The frame's title is elided, not shrunk: its type is the whole frame's.
    Fr_1->setTitle(
        TextFit::line(groupTitle_, Fr_1->font(), Fr_1->width() - FrameTitleMargin, QString(), 1.0)
            .text);
    Lb_setumei->setFittedText(text->description);
    PageDisplay();
}

void Pml0010::Im_syo_Click(int index) {
    // Flipping the tick box runs its own click reaction.
    Ch_syo[index]->click();
}

void Pml0010::Ch_syo_Click(int index) {
    if (SuppressFlag == 1) {
        SuppressFlag = 0;
        return;
    }
    guarded("Ch_syo_Click", [this, index] { browser_.toggleMark(index); });
    // The box shows what the file holds, also when the write was refused.
    Ch_syo[index]->setChecked(browser_.RowMark[static_cast<size_t>(index)] == 1);
    ShowActionButtons();
}

void Pml0010::Bt_down_Click() {
    guarded("Bt_down_Click", [this] {
        browser_.pageDown();
        PageDisplay();
    });
}

void Pml0010::Bt_up_Click() {
    guarded("Bt_up_Click", [this] {
        browser_.pageUp();
        PageDisplay();
    });
}

void Pml0010::Bt_down1_Click() {
    guarded("Bt_down1_Click", [this] {
        browser_.lineDown();
        PageDisplay();
    });
}

void Pml0010::Bt_up1_Click() {
    guarded("Bt_up1_Click", [this] {
        browser_.lineUp();
        PageDisplay();
    });
}

void Pml0010::Bt_syokika_Click() {
    guarded("Bt_syokika_Click", [this] {
        browser_.reset();
        PageDisplay();
    });
}

void Pml0010::loadPicture(PictureBox* picture, const QString& name) {
    const QString path = MediaPath::findPicture(DataFolder, name);
    if (!picture->loadPicture(path))
        throw PictureMissing{path.isEmpty() ? name : path};
}

// The main menu's own guard, not one shared with the practice and the slide show: each screen
// does something different on a failure (here three kinds of message and the screen stays as it
// is; the show stops; the drill keeps grading and marks the failed write), so a shared guard
// would only wrap a try/catch.
void Pml0010::guarded(const char* handler, const std::function<void()>& work) {
    const QString title = QStringLiteral("PML0010") + QString::fromLatin1(handler);
    try {
        work();
    } catch (const GroupBrowser::WriteRefused& error) {
        std::fprintf(stderr, "pimlotan: %s: %s\n", qPrintable(title), error.what());
        platform().prompter->message(ScreenTexts::NotSaved, title);
    } catch (const DataError& error) {
        std::fprintf(stderr, "pimlotan: %s: %s\n", qPrintable(title), error.what());
        platform().prompter->message(ScreenTexts::WrongData, title);
    } catch (const PictureMissing& missing) {
        // Tell the parent which picture to put back.
        std::fprintf(stderr, "pimlotan: %s: missing or unreadable picture %s\n", qPrintable(title),
                     qPrintable(missing.path.isEmpty() ? QStringLiteral("(no picture named)")
                                                       : missing.path));
        platform().prompter->message(ScreenTexts::WrongData, title);
    }
}

void Pml0010::Bt_rensyu_Click() {
    if (Forms::show(Forms::Id::Practice))
        hide();
}

void Pml0010::Bt_sraid_Click() {
    if (Forms::show(Forms::Id::SlideShow))
        hide();
}

void Pml0010::closeEvent(QCloseEvent* event) {
    // Keeps the voice volume set with the sliders and gives the wave volume back.
    if (!SaveSoundSettings())
        std::fprintf(stderr, "pimlotan: could not write %s\n",
                     qPrintable(SettingsFolder + SoundSettings));
    event->accept();
    Forms::unloadAll();
    QApplication::quit();
}
