// きろく's report: one page of the chosen period, saved as a PDF or printed.
#include "makertexts.h"
#include "progresscharts.h"
#include "progresswindow.h"

#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>

using PMCM000::platform;
using namespace ProgressCharts;

QString ProgressWindow::savePdf(const QString& file) {
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(150);
    writer.setTitle(MakerTexts::ReportTitle.arg(QFileInfo(path_).completeBaseName()));
    // A file that cannot be written (read-only, a folder gone) fails the painter, whatever an
    // earlier report left there.
    return paintReport(writer) ? QString() : QStringLiteral("%1: not written").arg(file);
}

void ProgressWindow::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !paintReport(printer))
        platform().prompter->message(MakerTexts::ReportNotPrinted, windowTitle(),
                                     Prompter::Icon::Warning);
}

bool ProgressWindow::paintReport(QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect page = painter.viewport();
    const int margin = page.width() / 14;
    QRect area = page.adjusted(margin, margin, -margin, -margin);
    QFont font = painter.font();
    font.setPixelSize(area.width() / 26);
    font.setBold(true);
    painter.setFont(font);
    const QString title = MakerTexts::ReportTitle.arg(QFileInfo(path_).completeBaseName());
    painter.drawText(area, Qt::AlignTop | Qt::AlignLeft, title);
    area.setTop(area.top() + font.pixelSize() * 2);
    font.setBold(false);
    font.setPixelSize(area.width() / 42);
    painter.setFont(font);
    const QString text = periodText_->text();
    const QRect textBox = painter.boundingRect(area, Qt::TextWordWrap, text);
    painter.drawText(area, Qt::TextWordWrap, text);
    area.setTop(textBox.bottom() + font.pixelSize());

    // The period's days and every group's levels, each a band of the page, drawn about as
    // wide as the window shows them (so their texts stay large beside the bars).
    QChartView days;
    drawDays(&days, MakerTexts::PeriodPerDayChart, period_.perDay);
    const int bands[]{area.height() / 4, area.height() * 3 / 10};
    // The report shows every group, whichever the levels tab shows now.
    const int groupShown = groupChoice_->currentIndex();
    groupChoice_->setCurrentIndex(0);
    int chartAt = 0;
    for (QChart* chart : {days.chart(), levels_->chart()}) {
        const int band = bands[chartAt++];
        const QRect target(area.left(), area.top(), area.width(), band);
        const QSizeF shown = chart->size();
        // Twice as sharp as drawn.
        const QSizeF drawn(740, 740.0 * band / area.width());
        chart->resize(drawn);
        // Polished and laid out at that size now, not when the event loop next runs: a chart
        // made just now would draw its texts cut.
        QCoreApplication::sendPostedEvents(chart->scene(), QEvent::MetaCall);
        chart->layout()->activate();
        QPixmap picture((drawn * 2).toSize());
        picture.setDevicePixelRatio(2);
        picture.fill(Qt::white);
        {
            QPainter chartPainter(&picture);
            chartPainter.setRenderHint(QPainter::Antialiasing);
            chart->scene()->render(&chartPainter, QRectF(QPointF(0, 0), drawn),
                                   QRectF(chart->pos(), drawn));
        }
        chart->resize(shown);
        painter.drawPixmap(target, picture);
        area.setTop(area.top() + band + font.pixelSize());
    }
    groupChoice_->setCurrentIndex(groupShown);
    painter.drawText(area.topLeft() + QPoint(0, font.pixelSize()), MakerTexts::HardestTitle);
    area.setTop(area.top() + font.pixelSize() * 2);
    // Every hardest word fits: the rows share what is left of the page.
    const int row = std::min(area.height() / DeckProgress::HardestCount,
                             std::max(font.pixelSize() * 2, page.height() / 28));
    int y = area.top();
    for (const DeckProgress::Word& w : period_.hardest) {
        const QRect pictureBox(area.left(), y, row * 172 / 100, row - 4);
        if (!w.picture.isEmpty())
            painter.drawPixmap(pictureBox, QPixmap(w.picture));
        painter.drawText(QRect(pictureBox.right() + font.pixelSize(), y, area.width(), row),
                         Qt::AlignVCenter,
                         MakerTexts::HardestLine.arg(w.word, w.meaning, QString::number(w.count)));
        y += row;
    }
    return painter.end();
}
