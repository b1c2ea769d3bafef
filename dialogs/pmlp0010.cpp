#include "pmlp0010.h"

#include "layout.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "wincolor.h"
#include "wrapbutton.h"

using namespace PMCM000;

namespace {
ClickableLabel* makeSwatch(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new ClickableLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

QLabel* makeGroupCaption(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long caption takes a second line of its two-line-high design box.
    label->setWordWrap(true);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new WrapButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

PMLP0010::PMLP0010()
    : PreferenceDialog(QStringLiteral("PMLP0010"))
    , Label1(makeGroupCaption(this, "Label1", QStringLiteral("メインのいろ")))
    , Label2(makeGroupCaption(this, "Label2", QStringLiteral("れんしゅうがめんのいろ")))
    , Label3(makeGroupCaption(this, "Label3", QStringLiteral("スライドがめんのいろ")))
    , Lb_main_fm(makeSwatch(this, "Lb_main_fm", QStringLiteral("画面の色")))
    , Lb_main_sh(makeSwatch(this, "Lb_main_sh", QStringLiteral("選択時の色")))
    , Lb_rensyu_fm(makeSwatch(this, "Lb_rensyu_fm", QStringLiteral("画面の色")))
    , Lb_rensyu_ok(makeSwatch(this, "Lb_rensyu_ok", QStringLiteral("OK時の色")))
    , Lb_rensyu_ng(makeSwatch(this, "Lb_rensyu_ng", QStringLiteral("NG時の色")))
    , Lb_sr_fm(makeSwatch(this, "Lb_sr_fm", QStringLiteral("画面の色")))
    , BT_OK(makeButton(this, "BT_OK", QStringLiteral("OK")))
    , BT_can(makeButton(this, "BT_can", QStringLiteral("ｷｬﾝｾﾙ")))
    , BT_def(makeButton(this, "BT_def", QStringLiteral("初期設定に戻す"))) {
    connect(Lb_main_fm, &ClickableLabel::clicked, this, &PMLP0010::Lb_main_fm_Click);
    connect(Lb_main_sh, &ClickableLabel::clicked, this, &PMLP0010::Lb_main_sh_Click);
    connect(Lb_rensyu_fm, &ClickableLabel::clicked, this, &PMLP0010::Lb_rensyu_fm_Click);
    connect(Lb_rensyu_ok, &ClickableLabel::clicked, this, &PMLP0010::Lb_rensyu_ok_Click);
    connect(Lb_rensyu_ng, &ClickableLabel::clicked, this, &PMLP0010::Lb_rensyu_ng_Click);
    connect(Lb_sr_fm, &ClickableLabel::clicked, this, &PMLP0010::Lb_sr_fm_Click);
    connect(BT_def, &QPushButton::clicked, this, &PMLP0010::BT_def_Click);
    connect(BT_OK, &QPushButton::clicked, this, &PMLP0010::BT_OK_Click);
    connect(BT_can, &QPushButton::clicked, this, &PMLP0010::BT_can_Click);
    Form_Load();
}

qint32 PMLP0010::defaultColour(Swatch swatch) {
    switch (swatch) {
    case MainSelect:
    case PracticeNg:
        return 0x0000FF; // red
    case PracticeOk:
        return 0xFF0000; // blue
    case MainBack:
    case PracticeBack:
    case SlideBack:
        break;
    }
    return WinColor::ButtonFace;
}

QString& PMLP0010::sharedColour(Swatch swatch) {
    switch (swatch) {
    case MainBack:
        return MainBackColor;
    case MainSelect:
        return MainSelectColor;
    case PracticeBack:
        return PracticeBackColor;
    case PracticeOk:
        return OkColor;
    case PracticeNg:
        return NgColor;
    case SlideBack:
        break;
    }
    return SlideBackColor;
}

ClickableLabel* PMLP0010::swatch(Swatch swatch) const {
    const std::array<ClickableLabel*, SwatchCount> swatches{
        Lb_main_fm, Lb_main_sh, Lb_rensyu_fm, Lb_rensyu_ok, Lb_rensyu_ng, Lb_sr_fm};
    return swatches.at(swatch);
}

void PMLP0010::Form_Load() {
    setDesignClientSize(5325, 7710);

    // Group captions 645 x 2175 at left 315, each 495 below the one above.
    const double captionHeight = 645, captionWidth = 2175, captionLeft = 315, gap = 495;
    const std::array<QLabel*, 3> captions{Label1, Label2, Label3};
    double top = 735;
    std::array<double, 3> rowTops{};
    for (size_t i = 0; i < captions.size(); ++i) {
        Layout::place(captions[i], captionHeight, captionWidth, top, captionLeft);
        Layout::setFontPoints(captions[i], FontSize12);
        rowTops[i] = top;
        top += captionHeight + gap;
    }

    // Each group's swatches in one row, the first right of its caption.
    const std::array<std::vector<Swatch>, 3> rows{std::vector{MainBack, MainSelect},
                                                  std::vector{PracticeBack, PracticeOk, PracticeNg},
                                                  std::vector{SlideBack}};
    const double swatchHeight = 645, swatchWidth = 1080;
    for (size_t row = 0; row < rows.size(); ++row) {
        double left = captionLeft + captionWidth;
        for (Swatch s : rows[row]) {
            Layout::place(swatch(s), swatchHeight, swatchWidth, rowTops[row], left);
            Layout::setFontPoints(swatch(s), FontSize9);
            left += swatchWidth;
        }
    }

    const std::array<std::pair<QPushButton*, double>, 3> buttons{
        {{BT_OK, 4620}, {BT_can, 5580}, {BT_def, 6540}}};
    for (const auto& [button, left] : buttons) {
        Layout::place(button, 495, 855, 4620, left);
        Layout::setFontPoints(button, FontSize8);
    }

    // A stored text that is not a colour number shows the swatch's default (and is saved so).
    for (int i = 0; i < SwatchCount; ++i) {
        const auto s = static_cast<Swatch>(i);
        values_.at(s) = WinColor::parse(sharedColour(s)).value_or(defaultColour(s));
        paintSwatch(s);
    }
}

void PMLP0010::paintSwatch(Swatch s) {
    ClickableLabel* label = swatch(s);
    const QColor colour = WinColor::toQColor(values_.at(s), palette());
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, colour);
    // The caption stays readable on a dark colour.
    const double luminance =
        0.299 * colour.redF() + 0.587 * colour.greenF() + 0.114 * colour.blueF();
    pal.setColor(QPalette::WindowText, luminance < 0.5 ? Qt::white : Qt::black);
    label->setPalette(pal);
}

void PMLP0010::chooseColour(Swatch s) {
    const QColor current = swatch(s)->palette().color(QPalette::Window);
    const std::optional<QColor> chosen = platform().prompter->chooseColor(current);
    // Cancelled: the swatch keeps its value, a system colour included.
    if (!chosen)
        return;
    values_.at(s) = WinColor::fromQColor(*chosen);
    paintSwatch(s);
}

void PMLP0010::BT_def_Click() {
    for (int i = 0; i < SwatchCount; ++i) {
        const auto s = static_cast<Swatch>(i);
        values_.at(s) = defaultColour(s);
        paintSwatch(s);
    }
}

void PMLP0010::BT_OK_Click() {
    for (int i = 0; i < SwatchCount; ++i) {
        const auto s = static_cast<Swatch>(i);
        sharedColour(s) = WinColor::toText(values_.at(s));
    }
    if (!SaveColourSettings())
        reportWriteFailure(QStringLiteral("BT_OK_Click"));
    close();
}

void PMLP0010::BT_can_Click() {
    close();
}
