// Shows the drill's state on the practice screen's controls.
#include "background.h"
#include "clickablelabel.h"
#include "countformat.h"
#include "fittedlabel.h"
#include "mediapath.h"
#include "picturebox.h"
#include "pmcm000.h"
#include "pml0020.h"
#include "rectangleshape.h"
#include "voiceslider.h"

#include <QLabel>
#include <QPushButton>
#include <cstdio>

using namespace PMCM000;
namespace {

const QColor levelColour(192, 192, 255);
const QColor chosenLevelColour(255, 0, 0);
const std::array<QColor, 2> modeColours{QColor(192, 255, 255), QColor(128, 255, 128)};

void setButtonColour(QPushButton* button, const QColor& colour) {
    QPalette palette = button->palette();
    if (palette.color(QPalette::Button) == colour)
        return;
    palette.setColor(QPalette::Button, colour);
    button->setPalette(palette);
}

} // namespace

void PML0020::applyBackColour() {
    // A text that is not a colour gives the form's own colour.
    const std::optional<QColor> colour = Background::settingColour(PracticeBackColor, palette());
    Background::paint(client_, colour.value_or(palette().color(QPalette::Window)));
    client_->setAutoFillBackground(true);
}

void PML0020::render() {
    renderTopRow();
    for (int p = 0; p < Cards; ++p)
        renderCard(p);
}

void PML0020::renderTopRow() {
    const PracticeDrill::State& state = drill_.state();
    for (int level = 0; level < Levels; ++level) {
        BT_level[level]->setVisible(topRowShown_);
        BT_level[level]->setEnabled(state.LevelEnabled[level]);
        setButtonColour(BT_level[level],
                        level == state.HighlightedLevel ? chosenLevelColour : levelColour);
        Lb_level[level]->setText(state.LevelCountShown[level] ? countText(state.LevelCounts[level])
                                                              : QString());
    }
    for (int index = 0; index < 2; ++index) {
        BT_mode[index]->setVisible(topRowShown_ && drill_.modeButton() == index);
        setButtonColour(BT_mode[index], modeColours[index]);
    }
    BT_view->setVisible(topRowShown_);
    Slider1->setVisible(topRowShown_);
    BT_next->setVisible(state.NextShown);
    notSaved->setVisible(state.SaveFailing);
}

void PML0020::renderCard(int p) {
    const PracticeDrill::CardView view = drill_.cardView(p);
    const PracticeCard& card = drill_.state().ScreenCards[p];

    const QString shown =
        DataFolder + u'\n' + card.images + u'\n' + card.word + u'\n' + card.meaning;
    if (view.present && shownPicture_[p] != shown) {
        shownPicture_[p] = shown;
        Im_word[p]->setPlaceholderText(card.meaning.isEmpty() ? card.word : card.meaning);
        // The placeholder shows instead; the parent learns which file to put back.
        const QString picture = MediaPath::findPicture(DataFolder, card.images);
        if (!Im_word[p]->loadPicture(picture))
            std::fprintf(
                stderr, "pimlotan: picture missing or unreadable: %s\n",
                qPrintable(picture.isEmpty() ? QStringLiteral("(no plain file name)") : picture));
        // What the picture shows, for assistive technology.
        Im_word[p]->setAccessibleName(card.meaning.isEmpty() ? card.word : card.meaning);
    }
    Im_word[p]->setVisible(view.picture);
    // The word side is filled only while it is up.
    LB_word[p]->setText(view.wordLabels ? card.word : QString());
    LB_meaning[p]->setText(view.wordLabels ? card.text1 : QString());
    LB_word[p]->setVisible(view.wordLabels);
    LB_meaning[p]->setVisible(view.wordLabels);

    LB_meanings[p]->setText(view.present ? card.meaning : QString());
    Lb_kaisu[p]->setText(view.present
                             ? QString::number(qint64(card.times) + 1) + QStringLiteral("回目")
                             : QString());
    Lb_wno[p]->setFittedText(view.present ? card.text2 : QString());
    LB_meanings[p]->setVisible(view.details);
    Lb_kaisu[p]->setVisible(view.details);
    Lb_wno[p]->setVisible(view.details);

    BT_OK[p]->setVisible(view.okButton);
    BT_NG[p]->setVisible(view.ngButton);
    BT_WAV[p]->setVisible(view.voiceButton);

    // OkColor and NgColor are read now, so a change in the colour dialog shows on the next
    // card coloured.
    std::optional<QColor> fill;
    if (view.fill == PracticeDrill::Fill::Ok)
        fill = Background::settingColour(OkColor, palette());
    else if (view.fill == PracticeDrill::Fill::Ng)
        fill = Background::settingColour(NgColor, palette());
    Sh_word[p]->setFill(fill);
    Sh_word[p]->setVisible(view.present);
}
