// The practice screen's controls: what each one is, and where it stands in design twips.
#include "clickablelabel.h"
#include "fittedlabel.h"
#include "layout.h"
#include "levelcaption.h"
#include "picturebox.h"
#include "pictureicons.h"
#include "pmcm000.h"
#include "pml0020.h"
#include "rectangleshape.h"
#include "voiceslider.h"
#include "wordcard.h"

#include <QLabel>
#include <QPushButton>

using namespace PMCM000;
namespace {

// Design positions of the card parts by column and by row (twips of the 1024 x 768 design).
// The cards' own parts stand where WordCard says, from the shape's corner.
constexpr std::array<double, 3> shapeLeft{2315, 5795, 9275};
constexpr std::array<double, 3> shapeTop{600, 3525, 6450};
constexpr std::array<double, 3> okLeft{2535, 6015, 9495};
constexpr std::array<double, 3> ngLeft{3375, 6855, 10335};
constexpr std::array<double, 3> voiceLeft{4215, 7695, 11175};
// The times and number labels start this far right of the voice button, and reach to where
// the next column's card begins.
constexpr double labelOffset = 840, labelWidth = 740;

constexpr double levelLeft = 1950;
constexpr double levelCountHeight = 225; // from under the level buttons to the first card

using Layout::indexedName;
using Layout::named;

} // namespace

void PML0020::createControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);

    for (int level = 0; level < Levels; ++level) {
        BT_level[level] = named(new QPushButton(levelCaption(level), client_),
                                indexedName(QStringLiteral("BT_level"), level));
        WordCard::useFace(BT_level[level]);
        Layout::setFontPoints(BT_level[level], FontSize10);
        connect(BT_level[level], &QPushButton::clicked, this,
                [this, level] { BT_level_Click(level); });
        Lb_level[level] = named(new QLabel(QStringLiteral("999"), client_),
                                indexedName(QStringLiteral("Lb_level"), level));
        Lb_level[level]->setAlignment(Qt::AlignCenter);
        Layout::setFontPoints(Lb_level[level], FontSize10);
    }

    notSaved = named(new QLabel(QStringLiteral("⚠ きろくを ほぞん\nできていません"), client_),
                     QStringLiteral("notSaved"));
    notSaved->setWordWrap(true);
    notSaved->setAlignment(Qt::AlignCenter);
    notSaved->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
    Layout::setFontPoints(notSaved, FontSize9);
    notSaved->hide();

    for (int p = 0; p < Cards; ++p) {
        const WordCard::Parts card = WordCard::create(client_, p, PictureBox::Decoding::ShownSize);
        Sh_word[p] = card.shape;
        Im_word[p] = card.picture;
        connect(Im_word[p], &PictureBox::clicked, this, [this, p] { Im_word_Click(p); });
        LB_word[p] = card.word;
        LB_word[p]->setText(QStringLiteral("Label1"));
        Layout::setFontPoints(LB_word[p], FontSize18);
        connect(LB_word[p], &ClickableLabel::clicked, this, [this, p] { LB_word_Click(p); });
        LB_meaning[p] = card.phrase;
        LB_meaning[p]->setText(QStringLiteral("Label1"));
        Layout::setFontPoints(LB_meaning[p], FontSize12);
        connect(LB_meaning[p], &ClickableLabel::clicked, this, [this, p] { LB_meaning_Click(p); });
        LB_meanings[p] = card.meaning;
        LB_meanings[p]->setText(QString(10, u'あ'));
        Layout::setFontPoints(LB_meanings[p], FontSize9);

        BT_OK[p] = named(new QPushButton(QStringLiteral("OK"), client_),
                         indexedName(QStringLiteral("BT_OK"), p));
        Layout::setFontPoints(BT_OK[p], FontSize9);
        connect(BT_OK[p], &QPushButton::clicked, this, [this, p] { BT_OK_Click(p); });
        BT_NG[p] = named(new QPushButton(QStringLiteral("NG"), client_),
                         indexedName(QStringLiteral("BT_NG"), p));
        Layout::setFontPoints(BT_NG[p], FontSize9);
        connect(BT_NG[p], &QPushButton::clicked, this, [this, p] { BT_NG_Click(p); });
        BT_WAV[p] = named(new QPushButton(client_), indexedName(QStringLiteral("BT_WAV"), p));
        BT_WAV[p]->setAccessibleName(QStringLiteral("こえ"));
        connect(BT_WAV[p], &QPushButton::clicked, this, [this, p] { BT_WAV_Click(p); });

        Lb_kaisu[p] = named(new QLabel(QStringLiteral("999回目"), client_),
                            indexedName(QStringLiteral("Lb_kaisu"), p));
        Layout::setFontPoints(Lb_kaisu[p], FontSize9);
        // A parent's own card code may be longer than the design's "9-99-99".
        Lb_wno[p] = named(new FittedLabel(client_), indexedName(QStringLiteral("Lb_wno"), p));
        Layout::setFontPoints(Lb_wno[p], FontSize9);
        Lb_wno[p]->setDesignFont(Lb_wno[p]->font());
        Lb_wno[p]->setFittedText(QStringLiteral("9-99-99"));
    }

    BT_next = named(new QPushButton(QStringLiteral("Next ⇒"), client_), QStringLiteral("BT_next"));
    Layout::setFontPoints(BT_next, FontSize9);
    connect(BT_next, &QPushButton::clicked, this, &PML0020::BT_next_Click);
    for (int index = 0; index < 2; ++index) {
        BT_mode[index] =
            named(new QPushButton(client_), indexedName(QStringLiteral("BT_mode"), index));
        BT_mode[index]->setAccessibleName(QStringLiteral("ならびかえ"));
        // Hidden in turn under the mouse: keyboard focus must not stay on a hidden button.
        BT_mode[index]->setFocusPolicy(Qt::NoFocus);
        connect(BT_mode[index], &QPushButton::clicked, this,
                [this, index] { BT_mode_Click(index); });
    }
    BT_view = named(new QPushButton(client_), QStringLiteral("BT_view"));
    BT_view->setAccessibleName(QStringLiteral("スライドショー"));
    connect(BT_view, &QPushButton::clicked, this, &PML0020::BT_view_Click);
    BT_exit = named(new QPushButton(client_), QStringLiteral("BT_exit"));
    BT_exit->setAccessibleName(QStringLiteral("もどる"));
    connect(BT_exit, &QPushButton::clicked, this, &PML0020::BT_exit_Click);

    Slider1 = named(new VoiceSlider(client_), QStringLiteral("Slider1"));
    connect(Slider1, &VoiceSlider::released, this, &PML0020::Slider1_MouseUp);
}

void PML0020::placeControls() {
    client_->setFixedSize(Layout::px(FormScaleWidth), Layout::px(FormScaleHeight));

    for (int level = 0; level < Levels; ++level) {
        // Each button starts where the one before it ends.
        const double left = levelLeft * WidthFactor + level * LevelButtonWidth;
        Layout::placeScaled(BT_level[level], LevelButtonHeight, LevelButtonWidth, 0, left);
        Layout::placeScaled(Lb_level[level], levelCountHeight * HeightFactor, LevelButtonWidth,
                            LevelButtonHeight, left);
    }

    // Right of the sixth level button, over its count, to the form's edge.
    const double notSavedLeft = levelLeft * WidthFactor + Levels * LevelButtonWidth;
    Layout::placeScaled(notSaved, LevelButtonHeight + levelCountHeight * HeightFactor,
                        FormScaleWidth - notSavedLeft, 0, notSavedLeft);

    for (int p = 0; p < Cards; ++p) {
        const int row = p / 3, column = p % 3;
        const double left = shapeLeft[column], shapeTopRow = shapeTop[row];
        const auto put = [&](QWidget* widget, const QRectF& part) {
            Layout::place(widget, part.height(), part.width(), shapeTopRow + part.top(),
                          left + part.left());
        };
        Layout::place(Sh_word[p], WordCard::Shape.height(), WordCard::Shape.width(), shapeTopRow,
                      left);
        put(Im_word[p], WordCard::Picture);
        put(LB_word[p], WordCard::Word);
        put(LB_meaning[p], WordCard::Phrase);

        // The button row and what hangs on it, in scaled twips.
        const double top = (shapeTopRow + WordCard::ButtonsTop) * HeightFactor;
        const double half = SmallButtonHeight / 2;
        const double labelLeft = (voiceLeft[column] + labelOffset) * WidthFactor;
        Layout::placeScaled(LB_meanings[p], SmallButtonHeight,
                            WordCard::Picture.width() * WidthFactor, top - SmallButtonHeight,
                            (left + WordCard::Picture.left()) * WidthFactor);
        Layout::placeScaled(BT_OK[p], SmallButtonHeight, SmallButtonWidth, top,
                            okLeft[column] * WidthFactor);
        Layout::placeScaled(BT_NG[p], SmallButtonHeight, SmallButtonWidth, top,
                            ngLeft[column] * WidthFactor);
        Layout::placeScaled(BT_WAV[p], SmallButtonHeight, SmallButtonWidth, top,
                            voiceLeft[column] * WidthFactor);
        Layout::placeScaled(Lb_kaisu[p], half, labelWidth * WidthFactor, top, labelLeft);
        Layout::placeScaled(Lb_wno[p], half, labelWidth * WidthFactor, top + half, labelLeft);
        BT_WAV[p]->setIcon(PictureIcons::icon(PictureIcons::Speaker, BT_WAV[p]->size()));
        BT_WAV[p]->setIconSize(PictureIcons::iconSize(BT_WAV[p]->size()));
    }

    const auto placeSquare = [](QPushButton* button, double left, double top) {
        Layout::placeScaled(button, SquareButtonHeight, SquareButtonWidth, top * HeightFactor,
                            left * WidthFactor);
    };
    placeSquare(BT_exit, 284, 705);
    placeSquare(BT_view, 1000, 705);
    placeSquare(BT_mode[0], 1000, 8720);
    placeSquare(BT_mode[1], 1000, 8720);
    placeSquare(BT_next, 13174, 4098);
    Layout::placeScaled(Slider1, SliderHeight, SliderWidth, 9645 * HeightFactor,
                        12000 * WidthFactor);

    const std::array<std::pair<QPushButton*, PictureIcons::Picture>, 4> pictures{{
        {BT_exit, PictureIcons::ExitDoor},
        {BT_view, PictureIcons::Projector},
        {BT_mode[0], PictureIcons::FourSquares},
        {BT_mode[1], PictureIcons::CirclingArrows},
    }};
    for (const auto& [button, picture] : pictures) {
        button->setIcon(PictureIcons::icon(picture, button->size()));
        button->setIconSize(PictureIcons::iconSize(button->size()));
    }
}
