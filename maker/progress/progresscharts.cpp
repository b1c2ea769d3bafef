#include "progresscharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QValueAxis>
#include <algorithm>

namespace ProgressCharts {

namespace {

// Whole numbers on a value axis from 0.
QValueAxis* countAxis(int highest) {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setRange(0, std::max(4, highest));
    axis->applyNiceNumbers();
    return axis;
}

} // namespace

QChartView* chartView(QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 220);
    return view;
}

QChart* freshChart(QChartView* view, const QString& title) {
    QChart* old = view->chart();
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    view->setChart(chart);
    delete old;
    return chart;
}

void addBars(QChart* chart, QAbstractBarSeries* series, QAbstractAxis* x, int highest) {
    chart->addSeries(series);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    QValueAxis* y = countAxis(highest);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}

QBarCategoryAxis* namedBars(const QStringList& names) {
    auto* x = new QBarCategoryAxis;
    x->append(names);
    return x;
}

int levelRow(int level) {
    return level == 0 ? 6 : level;
}

void drawCounts(QChartView* view, const QString& title, const QList<DeckProgress::Count>& counts,
                const QColor& colour, QAbstractAxis* x) {
    QChart* chart = freshChart(view, title);
    chart->legend()->hide();
    auto* set = new QBarSet(title);
    set->setColor(colour);
    int highest = 0;
    for (const DeckProgress::Count& count : counts) {
        *set << count.count;
        highest = std::max(highest, count.count);
    }
    auto* series = new QBarSeries;
    series->append(set);
    addBars(chart, series, x, highest);
}

void drawDays(QChartView* view, const QString& title, const QList<DeckProgress::Count>& days) {
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setRange(-0.5, qreal(days.size()) - 0.5);
    for (qsizetype at = 0; at < days.size(); ++at)
        if (days.size() <= 10 || days[at].date.dayOfWeek() == Qt::Monday)
            x->append(days[at].date.toString(QStringLiteral("M/d")), qreal(at));
    drawCounts(view, title, days, QColor(0x4a, 0x90, 0xd9), x);
}

} // namespace ProgressCharts
