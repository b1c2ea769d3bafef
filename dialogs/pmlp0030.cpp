#include "pmlp0030.h"

#include "layout.h"
#include "pmcm000.h"

#include <QFileInfo>

using namespace PMCM000;

namespace {
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}
} // namespace

PMLP0030::PMLP0030()
    : PreferenceDialog(QStringLiteral("PMLP0030"))
    , Lb_Dir(makeLabel(this, "Lb_Dir", QStringLiteral("ディレクトリ")))
    , Lb_FileSize(makeLabel(this, "Lb_FileSize", QStringLiteral("サイズ")))
    , Lb_Time(makeLabel(this, "Lb_Time", QStringLiteral("更新日時")))
    , Lb_F_Dir(makeLabel(this, "Lb_F_Dir"))
    , Lb_F_Size(makeLabel(this, "Lb_F_Size"))
    , Lb_F_Time(makeLabel(this, "Lb_F_Time"))
    , BT_OK(new QPushButton(QStringLiteral("OK"), this)) {
    BT_OK->setObjectName(QStringLiteral("BT_OK"));
    connect(BT_OK, &QPushButton::clicked, this, &PMLP0030::BT_OK_Click);
    Form_Load();
}

QString PMLP0030::sizeText(qint64 bytes) {
    return QString::number(bytes) + QStringLiteral(" Byte");
}

QString PMLP0030::timeText(const QDateTime& time) {
    // The Japanese short date whatever the system's locale: the screens are Japanese.
    const QString date = time.date().toString(QStringLiteral("yyyy/MM/dd"));
    const QTime clock = time.time();
    if (clock.hour() == 0 && clock.minute() == 0 && clock.second() == 0)
        return date;
    return date + u' ' + clock.toString(QStringLiteral("H:mm:ss"));
}

void PMLP0030::Form_Load() {
    setDesignClientSize(2265, 9300);

    // Three rows of 250 twips from top 240: the caption at left 360, its value right of it.
    const std::array<std::pair<QLabel*, QLabel*>, 3> rows{
        {{Lb_Dir, Lb_F_Dir}, {Lb_FileSize, Lb_F_Size}, {Lb_Time, Lb_F_Time}}};
    const double rowHeight = 250, captionWidth = 975, captionLeft = 360, valueWidth = 7000;
    double top = 240;
    for (const auto& [caption, value] : rows) {
        Layout::place(caption, rowHeight, captionWidth, top, captionLeft);
        Layout::place(value, rowHeight, valueWidth, top, captionLeft + captionWidth);
        Layout::setFontPoints(caption, FontSize9);
        Layout::setFontPoints(value, FontSize9);
        // A caption shrunk to its width would touch its value: it keeps a gap of 90 twips.
        caption->setContentsMargins(0, 0, Layout::pxH(90), 0);
        shrinkToFit(caption);
        top += rowHeight;
    }
    Layout::place(BT_OK, 495, 855, 1560, 7800);
    Layout::setFontPoints(BT_OK, FontSize8);

    // Without a data file, or when it has vanished, only the path as known is shown.
    Lb_F_Dir->setText(DataFilePath);
    Lb_F_Dir->setToolTip(DataFilePath);
    const QFileInfo file(DataFilePath);
    if (DataFilePath.isEmpty() || !file.isFile())
        return;
    Lb_F_Size->setText(sizeText(file.size()));
    Lb_F_Time->setText(timeText(file.lastModified()));
}
