#pragma once

#include <QColor>
#include <QStringList>
#include <deckprogress.h>

class QAbstractAxis;
class QAbstractBarSeries;
class QBarCategoryAxis;
class QChart;
class QChartView;
class QWidget;

// The charts きろく draws, in its window and on its report.
namespace ProgressCharts {

// Each level's colour, the learned ones green and the hard ones red; a word not seen yet grey.
inline const QColor levelColours[6] = {QColor(0xcf, 0xd8, 0xdc), QColor(0x2e, 0x9d, 0x4a),
                                       QColor(0x9c, 0xcc, 0x65), QColor(0xff, 0xca, 0x28),
                                       QColor(0xff, 0x8f, 0x00), QColor(0xe5, 0x39, 0x35)};

QChartView* chartView(QWidget* parent);
// A fresh chart in view, titled; the old one and its series go.
QChart* freshChart(QChartView* view, const QString& title);
// Bars along x with a count axis from 0 beside them.
void addBars(QChart* chart, QAbstractBarSeries* series, QAbstractAxis* x, int highest);
QBarCategoryAxis* namedBars(const QStringList& names);
// Where a level stands on the word chart's axis: learned (1) at the top, then 2..5, and a
// word set back to not seen (0) at the bottom.
int levelRow(int level);
// One bar for each count along x.
void drawCounts(QChartView* view, const QString& title, const QList<DeckProgress::Count>& counts,
                const QColor& colour, QAbstractAxis* x);
// Gradings per day: a week's days each named, a month's by its Mondays, so the names stay
// large and apart whatever the chart's width.
void drawDays(QChartView* view, const QString& title, const QList<DeckProgress::Count>& days);

} // namespace ProgressCharts
