#include "pmlp0020.h"

#include "layout.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "settingsfile.h"
#include "singleclick.h"

#include <QDir>

using namespace PMCM000;

namespace {
template <typename Widget, typename... Args>
Widget* make(QWidget* parent, const QString& name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    return widget;
}

using Layout::indexedName;

// The row an index stands for. The settings loader only lets 0..3 through; anything else
// would name no row, so it falls back to the first as the loader does.
int soundRow(const QVariant& index) {
    const qint64 row = index.typeId() == QMetaType::QString
                           ? SettingsFile::toNumber(index.toString()).value_or(0)
                           : index.toInt();
    return row >= 0 && row < PMLP0020::FileRows ? static_cast<int>(row) : 0;
}

const QString SampleButtonText = QStringLiteral(">");

// Design rows of the sound files: 360 high, 420 apart from top 2175.
constexpr double FileRowTop = 2175, FileRowPitch = 420, RowHeight = 360;
} // namespace

PMLP0020::PMLP0020()
    : PreferenceDialog(QStringLiteral("PMLP0020")) {
    createControls();
    Form_Load();
}

void PMLP0020::createControls() {
    auto slider = [this](const char* name) {
        auto* s = make<QSlider>(this, QString::fromLatin1(name), Qt::Horizontal);
        s->setRange(0, 65535);
        s->setSingleStep(655);
        s->setPageStep(6554);
        return s;
    };
    auto label = [this](const char* name, const QString& text) {
        auto* l = make<QLabel>(this, QString::fromLatin1(name), text);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    auto button = [](QWidget* parent, const QString& name, const QString& text) {
        return make<QPushButton>(parent, name, text);
    };

    Lb_onsei = label("Lb_onsei", QStringLiteral("Listen"));
    Sl_onsei = slider("Sl_onsei");
    Bt_sampleonsei = button(this, QStringLiteral("Bt_sampleonsei"), SampleButtonText);
    Lb_ok = label("Lb_ok", QStringLiteral("OK"));
    Sl_ok = slider("Sl_ok");
    Bt_sampleok = button(this, QStringLiteral("Bt_sampleok"), SampleButtonText);
    Lb_ng = label("Lb_ng", QStringLiteral("NG"));
    Sl_ng = slider("Sl_ng");
    Bt_sampleng = button(this, QStringLiteral("Bt_sampleng"), SampleButtonText);
    Lb_distance = label("Lb_distance", QStringLiteral("distance"));
    Tx_kankak = make<QLineEdit>(this, QStringLiteral("Tx_kankak"));
    // Typed text would never be read: only the arrow buttons change the interval.
    Tx_kankak->setReadOnly(true);
    Tx_kankak->setAlignment(Qt::AlignCenter);
    Cm_up = button(this, QStringLiteral("Cm_up"), QStringLiteral("▲"));
    Cm_down = button(this, QStringLiteral("Cm_down"), QStringLiteral("▼"));
    Lb_not = label("Lb_not", QStringLiteral("Mute"));
    Ck_okng = make<QCheckBox>(this, QStringLiteral("Ck_okng"));
    Ck_okng->setAccessibleName(QStringLiteral("Mute"));
    countDoubleClickAsOne(Ck_okng);
    Frame1 = make<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral("OK"));
    Frame2 = make<QGroupBox>(this, QStringLiteral("Frame2"), QStringLiteral("NG"));
    Frame1->setAlignment(Qt::AlignHCenter);
    Frame2->setAlignment(Qt::AlignHCenter);
    for (int i = 0; i < FileRows; ++i) {
        const auto row = static_cast<size_t>(i);
        Op_ok[row] = make<QRadioButton>(Frame1, indexedName("Op_ok", i));
        Op_ng[row] = make<QRadioButton>(Frame2, indexedName("Op_ng", i));
        Tx_file[row] = make<QLineEdit>(this, indexedName("Tx_file", i));
        // The files are chosen with "...", never typed.
        Tx_file[row]->setReadOnly(true);
        Bt_sample[row] = button(this, indexedName("Bt_sample", i), SampleButtonText);
        // The rows have no captions of their own: the names say which row is which.
        const QString file = QStringLiteral("ファイル %1").arg(i + 1);
        Tx_file[row]->setAccessibleName(file);
        Bt_sample[row]->setAccessibleName(file + QStringLiteral(" を きく"));
        Op_ok[row]->setAccessibleName(QStringLiteral("OK: ") + file);
        Op_ng[row]->setAccessibleName(QStringLiteral("NG: ") + file);
        connect(Op_ok[row], &QRadioButton::clicked, this, [this, i] { Op_ok_Click(i); });
        connect(Op_ng[row], &QRadioButton::clicked, this, [this, i] { Op_ng_Click(i); });
        connect(Bt_sample[row], &QPushButton::clicked, this, [this, i] { Bt_sample_Click(i); });
    }
    Bt_2 = button(this, QStringLiteral("Bt_2"), QStringLiteral("..."));
    Bt_3 = button(this, QStringLiteral("Bt_3"), QStringLiteral("..."));
    BT_OK = button(this, QStringLiteral("BT_OK"), QStringLiteral("OK"));
    BT_can = button(this, QStringLiteral("BT_can"), QStringLiteral("ｷｬﾝｾﾙ"));

    // ">" plays a sample at the volume beside it.
    Bt_sampleonsei->setAccessibleName(QStringLiteral("こえの おおきさを きく"));
    Bt_sampleok->setAccessibleName(QStringLiteral("OK の おとを きく"));
    Bt_sampleng->setAccessibleName(QStringLiteral("NG の おとを きく"));
    Sl_onsei->setAccessibleName(QStringLiteral("こえの おおきさ"));
    Sl_ok->setAccessibleName(QStringLiteral("OK の おと"));
    Sl_ng->setAccessibleName(QStringLiteral("NG の おと"));
    Tx_kankak->setAccessibleName(QStringLiteral("distance"));

    connect(Sl_onsei, &QSlider::valueChanged, this, &PMLP0020::Sl_onsei_Change);
    connect(Sl_ok, &QSlider::valueChanged, this, &PMLP0020::Sl_ok_Change);
    connect(Sl_ng, &QSlider::valueChanged, this, &PMLP0020::Sl_ng_Change);
    connect(Cm_up, &QPushButton::clicked, this, &PMLP0020::Cm_up_Click);
    connect(Cm_down, &QPushButton::clicked, this, &PMLP0020::Cm_down_Click);
    connect(Bt_2, &QPushButton::clicked, this, &PMLP0020::Bt_2_Click);
    connect(Bt_3, &QPushButton::clicked, this, &PMLP0020::Bt_3_Click);
    connect(Bt_sampleok, &QPushButton::clicked, this, &PMLP0020::Bt_sampleok_Click);
    connect(Bt_sampleng, &QPushButton::clicked, this, &PMLP0020::Bt_sampleng_Click);
    connect(Bt_sampleonsei, &QPushButton::clicked, this, &PMLP0020::Bt_sampleonsei_Click);
    connect(BT_OK, &QPushButton::clicked, this, &PMLP0020::BT_OK_Click);
    connect(BT_can, &QPushButton::clicked, this, &PMLP0020::BT_can_Click);
}

void PMLP0020::placeControls() {
    setDesignClientSize(4455, 10740);

    const std::array<double, 3> volumeTops{240, 870, 1500};
    const std::array<QLabel*, 3> volumeLabels{Lb_onsei, Lb_ok, Lb_ng};
    const std::array<QSlider*, 3> sliders{Sl_onsei, Sl_ok, Sl_ng};
    const std::array<QPushButton*, 3> tryButtons{Bt_sampleonsei, Bt_sampleok, Bt_sampleng};
    for (size_t i = 0; i < volumeTops.size(); ++i) {
        Layout::place(volumeLabels[i], 345, 1485, volumeTops[i], 1380);
        Layout::place(sliders[i], 345, 4815, volumeTops[i], 2925);
        Layout::place(tryButtons[i], 360, 360, volumeTops[i], 7755);
    }

    Layout::place(Lb_distance, 345, 915, 240, 8310);
    Layout::place(Cm_up, 315, 315, 240, 9225);
    Layout::place(Cm_down, 315, 315, 555, 9225);
    Layout::place(Tx_kankak, 630, 585, 240, 9540);
    Layout::place(Lb_not, 345, 915, 1500, 8310);
    Layout::place(Ck_okng, 345, 345, 1500, 9330);

    // The frames stand beside the four file rows, each option on its row. A frame's caption
    // is drawn inside its top edge, so the frame reaches up by the caption's height to keep
    // the caption above the first option instead of across it.
    const double frameTop = 2055, frameHeight = 1815, frameWidth = 500;
    for (QGroupBox* frame : {Frame1, Frame2}) {
        Layout::setFontPoints(frame, FontSize9);
        Layout::place(frame, frameHeight, frameWidth, frameTop, frame == Frame1 ? 1770 : 2430);
        const int raise = frame->fontMetrics().height() + 2 - Layout::pxV(FileRowTop - frameTop);
        if (raise > 0)
            frame->setGeometry(frame->geometry().adjusted(0, -raise, 0, 0));
    }
    for (size_t row = 0; row < FileRows; ++row) {
        const double top = FileRowTop + FileRowPitch * static_cast<double>(row);
        for (QRadioButton* option : {Op_ok[row], Op_ng[row]}) {
            // The indicator alone, centred across the frame.
            QWidget* frame = option->parentWidget();
            const QRect onRow = Layout::designRect(RowHeight, frameWidth, top, 0);
            const int width = option->sizeHint().width();
            option->setGeometry((frame->width() - width) / 2, onRow.top() - frame->y(), width,
                                onRow.height());
        }
        Layout::place(Tx_file[row], RowHeight, 6150, top, 2925);
        Layout::place(Bt_sample[row], RowHeight, 360, top, 9135);
    }
    Layout::place(Bt_2, RowHeight, 360, FileRowTop + 2 * FileRowPitch, 9555);
    Layout::place(Bt_3, RowHeight, 360, FileRowTop + 3 * FileRowPitch, 9555);
    Layout::place(BT_OK, 495, 855, 3795, 8715);
    Layout::place(BT_can, 495, 855, 3795, 9690);

    for (QWidget* text :
         std::initializer_list<QWidget*>{Lb_onsei, Lb_ok, Lb_ng, Lb_distance, Lb_not})
        Layout::setFontPoints(text, FontSize9);
    for (QLineEdit* file : Tx_file)
        Layout::setFontPoints(file, FontSize9);
    for (QPushButton* b : findChildren<QPushButton*>())
        Layout::setFontPoints(b, FontSize8);
    Layout::setFontPoints(Tx_kankak, FontSize18);
}

void PMLP0020::Form_Load() {
    placeControls();

    voiceVolume_ = VoiceVolume;
    okVolume_ = OkSoundVolume;
    ngVolume_ = NgSoundVolume;
    sounds_ = SoundChoices;
    okIndex_ = OkSoundIndex;
    ngIndex_ = NgSoundIndex;
    interval_ = SlideInterval;

    // Setting the sliders reports back the same values to the copies.
    Sl_onsei->setValue(voiceVolume_);
    Sl_ok->setValue(okVolume_);
    Sl_ng->setValue(ngVolume_);

    // The built-in sounds show their file names, the user's own files their full paths.
    for (size_t row = 0; row < FileRows; ++row)
        Tx_file[row]->setText(row < 2 ? SettingsFile::fileNameOf(sounds_[row]) : sounds_[row]);

    Op_ok[static_cast<size_t>(soundRow(okIndex_))]->setChecked(true);
    Op_ng[static_cast<size_t>(soundRow(ngIndex_))]->setChecked(true);
    Ck_okng->setChecked(!EffectSoundsOn);
    showInterval();
}

QString PMLP0020::okSoundPath() const {
    return sounds_.at(static_cast<size_t>(soundRow(okIndex_)));
}

QString PMLP0020::ngSoundPath() const {
    return sounds_.at(static_cast<size_t>(soundRow(ngIndex_)));
}

void PMLP0020::showInterval() {
    Tx_kankak->setText(QString::number(interval_));
}

// The arrows keep the hold time within 1..10 ticks; a value outside it read from the file
// is shown as it is and only moves towards the range.
void PMLP0020::Cm_up_Click() {
    if (interval_ < 10)
        ++interval_;
    showInterval();
}

void PMLP0020::Cm_down_Click() {
    if (interval_ > 1)
        --interval_;
    showInterval();
}

void PMLP0020::chooseFile(int row) {
    const auto entry = static_cast<size_t>(row);
    QString startFolder = SettingsFile::folderOf(sounds_[entry]);
    if (startFolder.isEmpty() || !QDir(startFolder).exists())
        startFolder = AppFolder + QStringLiteral("music/");
    const QString chosen = platform().prompter->openFile(
        QStringLiteral("Wavデータ|*.wav"), startFolder, QStringLiteral("おとを えらぶ"));
    if (chosen.isEmpty())
        return;
    sounds_[entry] = chosen;
    Tx_file[entry]->setText(chosen);
}

void PMLP0020::Bt_sample_Click(int index) {
    PlaySoundFile(sounds_.at(static_cast<size_t>(index)), SoundMode::StartupVolume, 0);
}

void PMLP0020::Bt_sampleok_Click() {
    PlaySoundFile(okSoundPath(), SoundMode::AtVolume, okVolume_);
}

void PMLP0020::Bt_sampleng_Click() {
    PlaySoundFile(ngSoundPath(), SoundMode::AtVolume, ngVolume_);
}

void PMLP0020::Bt_sampleonsei_Click() {
    PlaySoundFile(AppFolder + QStringLiteral("music/sample.wav"), SoundMode::AtVolume,
                  voiceVolume_);
}

void PMLP0020::BT_OK_Click() {
    VoiceVolume = voiceVolume_;
    OkSoundVolume = okVolume_;
    NgSoundVolume = ngVolume_;
    SoundChoices = sounds_;
    OkSoundIndex = okIndex_;
    NgSoundIndex = ngIndex_;
    EffectSoundsOn = !Ck_okng->isChecked();
    // The paths follow the chosen rows, so a file just chosen for the selected row plays
    // from now on, not only after the next start.
    OkSoundPath = okSoundPath();
    NgSoundPath = ngSoundPath();
    SlideInterval = interval_;
    const bool soundsSaved = SaveSoundSettings();
    const bool choicesSaved = SaveEffectSoundChoices();
    if (!soundsSaved || !choicesSaved)
        reportWriteFailure(QStringLiteral("BT_OK_Click"));
    close();
}

void PMLP0020::BT_can_Click() {
    close();
}
