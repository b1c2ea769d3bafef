#include "progresswindow.h"

#include "makertexts.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cstdio>
#include <dataerror.h>
#include <platform/platform.h>
#include <platform/prompter.h>
#include <pmcm000.h>

using PMCM000::platform;

namespace {

QChartView* chartView(QWidget* parent) {
    auto* view = new QChartView(new QChart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    view->setMinimumSize(300, 220);
    return view;
}

// A fresh chart in view, titled; the old one and its series go.
QChart* freshChart(QChartView* view, const QString& title) {
    QChart* old = view->chart();
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    view->setChart(chart);
    delete old;
    return chart;
}

// Whole numbers on a value axis from 0.
QValueAxis* countAxis(int highest) {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setRange(0, std::max(4, highest));
    axis->applyNiceNumbers();
    return axis;
}

// Bars along x with a count axis from 0 beside them.
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

// Each level's colour, the learned ones green and the hard ones red; a word not seen yet grey.
const QColor levelColours[6] = {QColor(0xcf, 0xd8, 0xdc), QColor(0x2e, 0x9d, 0x4a),
                                QColor(0x9c, 0xcc, 0x65), QColor(0xff, 0xca, 0x28),
                                QColor(0xff, 0x8f, 0x00), QColor(0xe5, 0x39, 0x35)};

// Where a level stands on the word chart's axis: learned (1) at the top, then 2..5, and a
// word set back to not seen (0) at the bottom.
int levelRow(int level) {
    return level == 0 ? 6 : level;
}

// One bar for each count along x.
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

// Gradings per day: a week's days each named, a month's by its Mondays, so the names stay
// large and apart whatever the chart's width.
void drawDays(QChartView* view, const QString& title, const QList<DeckProgress::Count>& days) {
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setRange(-0.5, qreal(days.size()) - 0.5);
    for (qsizetype at = 0; at < days.size(); ++at)
        if (days.size() <= 10 || days[at].date.dayOfWeek() == Qt::Monday)
            x->append(days[at].date.toString(QStringLiteral("M/d")), qreal(at));
    drawCounts(view, title, days, QColor(0x4a, 0x90, 0xd9), x);
}

// The chosen period's days: the last 30 days, this week from Monday, or this month from the
// 1st, to today.
std::pair<QDate, QDate> periodDays(int choice, const QDate& today) {
    switch (choice) {
    case 1:
        return {today.addDays(1 - today.dayOfWeek()), today};
    case 2:
        return {QDate(today.year(), today.month(), 1), today};
    default:
        return {today.addDays(1 - DeckProgress::Days), today};
    }
}

} // namespace

ProgressWindow::ProgressWindow(const QString& deckPath, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , path_(deckPath)
    , tabs_(new QTabWidget(this))
    , periodChoice_(new QComboBox(this))
    , periodText_(new QLabel(this))
    , hardest_(new QListWidget(this))
    , groupChoice_(new QComboBox(this))
    , levels_(chartView(this))
    , perDay_(chartView(this))
    , perWeek_(chartView(this))
    , wordChoice_(new QComboBox(this))
    , word_(chartView(this))
    , wordText_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(MakerTexts::ProgressTitle.arg(QFileInfo(deckPath).completeBaseName()));
    createControls();
    refresh();
    resize(900, 640);
}

void ProgressWindow::createControls() {
    periodChoice_->addItems({MakerTexts::Last30Days, MakerTexts::ThisWeek, MakerTexts::ThisMonth});
    periodText_->setWordWrap(true);
    hardest_->setIconSize(QSize(86, 50));
    auto* pdf = new QPushButton(MakerTexts::SavePdf, this);
    auto* print = new QPushButton(MakerTexts::PrintReport, this);

    auto* summary = new QWidget;
    auto* summaryLayout = new QVBoxLayout(summary);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(MakerTexts::PeriodLabel));
    top->addWidget(periodChoice_);
    top->addStretch();
    top->addWidget(pdf);
    top->addWidget(print);
    summaryLayout->addLayout(top);
    summaryLayout->addWidget(periodText_);
    summaryLayout->addWidget(new QLabel(MakerTexts::HardestTitle));
    summaryLayout->addWidget(hardest_, 1);

    auto* levels = new QWidget;
    auto* levelsLayout = new QVBoxLayout(levels);
    levelsLayout->addWidget(groupChoice_);
    levelsLayout->addWidget(levels_, 1);

    auto* activity = new QWidget;
    auto* activityLayout = new QVBoxLayout(activity);
    activityLayout->addWidget(perDay_, 1);
    activityLayout->addWidget(perWeek_, 1);

    auto* word = new QWidget;
    auto* wordLayout = new QVBoxLayout(word);
    auto* wordTop = new QHBoxLayout;
    wordTop->addWidget(new QLabel(MakerTexts::WordChoice));
    wordTop->addWidget(wordChoice_, 1);
    wordLayout->addLayout(wordTop);
    wordLayout->addWidget(word_, 1);
    wordLayout->addWidget(wordText_);

    tabs_->addTab(summary, MakerTexts::ProgressSummaryTab);
    tabs_->addTab(levels, MakerTexts::ProgressLevelsTab);
    tabs_->addTab(activity, MakerTexts::ProgressActivityTab);
    tabs_->addTab(word, MakerTexts::ProgressWordTab);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);

    connect(periodChoice_, &QComboBox::currentIndexChanged, this, &ProgressWindow::showPeriod);
    connect(groupChoice_, &QComboBox::currentIndexChanged, this, &ProgressWindow::showLevels);
    connect(wordChoice_, &QComboBox::currentIndexChanged, this, &ProgressWindow::showWord);
    connect(wordChoice_, &QComboBox::activated, this, [this] { wordChosen_ = true; });
    // Many words: the parent may type part of one instead of scrolling.
    wordChoice_->setEditable(true);
    wordChoice_->setInsertPolicy(QComboBox::NoInsert);
    wordChoice_->completer()->setFilterMode(Qt::MatchContains);
    wordChoice_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    // Ctrl+W closes the window, as in other programs.
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    // A word of the hardest list shows its own record.
    connect(hardest_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int at = wordChoice_->findData(item->data(Qt::UserRole));
        if (at >= 0) {
            wordChosen_ = true;
            wordChoice_->setCurrentIndex(at);
            tabs_->setCurrentIndex(3);
        }
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        const QString file = platform().prompter->saveFile(MakerTexts::PdfFilter,
                                                           QFileInfo(path_).absolutePath() + u'/' +
                                                               QFileInfo(path_).completeBaseName() +
                                                               QStringLiteral("-きろく.pdf"),
                                                           MakerTexts::SavePdf);
        if (file.isEmpty())
            return;
        const QString error = savePdf(file);
        platform().prompter->message(
            error.isEmpty() ? MakerTexts::ReportSaved.arg(file)
                            : MakerTexts::ReportNotSaved.arg(file),
            windowTitle(), error.isEmpty() ? Prompter::Icon::Information : Prompter::Icon::Warning);
    });
    connect(print, &QPushButton::clicked, this, &ProgressWindow::print);
}

bool ProgressWindow::refresh() {
    try {
        progress_ = DeckProgress::read(path_);
    } catch (const DataError& error) {
        std::fprintf(stderr, "pimlotan-maker: %s\n", qPrintable(error.message()));
        periodText_->setText(MakerTexts::ProgressNotRead);
        return false;
    }
    const QVariant group = groupChoice_->currentData();
    groupChoice_->blockSignals(true);
    groupChoice_->clear();
    groupChoice_->addItem(MakerTexts::AllGroups, 0);
    for (const DeckProgress::Place& place : progress_.groups)
        groupChoice_->addItem(QStringLiteral("%1 %2").arg(place.group).arg(place.title),
                              place.group);
    groupChoice_->setCurrentIndex(std::max(0, groupChoice_->findData(group)));
    groupChoice_->blockSignals(false);

    // The word the parent chose stays; until then, the word the child answered last.
    const QVariant key = wordChosen_ ? wordChoice_->currentData() : QVariant(progress_.lastGraded);
    wordChoice_->blockSignals(true);
    wordChoice_->clear();
    for (const DeckWord& w : progress_.deck.words)
        wordChoice_->addItem(QStringLiteral("%1（%2）").arg(w.word, w.meaning), w.key);
    wordChoice_->setCurrentIndex(std::max(0, wordChoice_->findData(key)));
    wordChoice_->blockSignals(false);

    showPeriod();
    showLevels();
    showActivity();
    showWord();
    return true;
}

void ProgressWindow::showPeriod() {
    const auto [first, last] = periodDays(periodChoice_->currentIndex(), QDate::currentDate());
    try {
        period_ = progress_.period(first, last);
    } catch (const DataError& error) {
        std::fprintf(stderr, "pimlotan-maker: %s\n", qPrintable(error.message()));
        period_ = {first, last, 0, 0, 0, 0, {}, {}};
    }
    QString text = MakerTexts::PeriodDates.arg(QLocale().toString(first, QLocale::LongFormat),
                                               QLocale().toString(last, QLocale::LongFormat)) +
                   u'\n';
    text += progress_.hasHistory ? MakerTexts::PeriodSummary.arg(period_.gradings)
                                       .arg(period_.wordsGraded)
                                       .arg(period_.movedUp)
                                       .arg(period_.learned)
                                 : MakerTexts::ProgressNoHistory;
    periodText_->setText(text);
    hardest_->clear();
    for (const DeckProgress::Word& w : period_.hardest) {
        auto* item = new QListWidgetItem(
            QIcon(QPixmap(w.picture)),
            MakerTexts::HardestLine.arg(w.word, w.meaning, QString::number(w.count)), hardest_);
        item->setData(Qt::UserRole, w.key);
    }
    if (period_.hardest.isEmpty() && progress_.hasHistory)
        hardest_->addItem(MakerTexts::HardestNone);
}

void ProgressWindow::showLevels() {
    QChart* chart = freshChart(levels_, MakerTexts::LevelsChart);
    const qint64 group = groupChoice_->currentData().toLongLong();
    const QList<DeckProgress::Place>& places = group == 0 ? progress_.groups : progress_.subGroups;
    auto* series = new QStackedBarSeries;
    QStringList categories;
    QList<QBarSet*> sets;
    for (int level = 0; level < 6; ++level) {
        sets << new QBarSet(MakerTexts::LevelNames[level]);
        sets.last()->setColor(levelColours[level]);
    }
    int highest = 0;
    for (const DeckProgress::Place& place : places) {
        if (group != 0 && place.group != group)
            continue;
        // A long name goes on two lines at its space rather than being cut (the chart shows
        // its labels as rich text).
        QString label = place.title.toHtmlEscaped().replace(u' ', QStringLiteral("<br>"));
        // Each bar needs a name of its own: two groups may share a title, or have none.
        if (label.isEmpty() || categories.contains(label))
            label += QStringLiteral("（%1）").arg(place.group);
        categories << label;
        int total = 0;
        for (int level = 0; level < 6; ++level) {
            *sets[level] << place.levels[level];
            total += place.levels[level];
        }
        highest = std::max(highest, total);
    }
    // Learned first, at the bottom of each bar; not seen yet on top.
    for (int level : {1, 2, 3, 4, 5, 0})
        series->append(sets[level]);
    addBars(chart, series, namedBars(categories), highest);
}

void ProgressWindow::showActivity() {
    drawDays(perDay_, MakerTexts::PerDayChart, progress_.perDay);
    QStringList mondays;
    for (const DeckProgress::Count& week : progress_.perWeek)
        mondays << week.date.toString(QStringLiteral("M/d"));
    drawCounts(perWeek_, MakerTexts::PerWeekChart, progress_.perWeek, QColor(0x5c, 0xb8, 0x5c),
               namedBars(mondays));
}

void ProgressWindow::showWord() {
    const qint64 key = wordChoice_->currentData().toLongLong();
    // A chart's title is rich text.
    QChart* chart =
        freshChart(word_, MakerTexts::WordChart.arg(wordChoice_->currentText().toHtmlEscaped()));
    chart->legend()->hide();
    QList<DeckProgress::Day> days;
    try {
        days = DeckProgress::levelsOf(path_, key);
    } catch (const DataError& error) {
        std::fprintf(stderr, "pimlotan-maker: %s\n", qPrintable(error.message()));
    }
    if (days.isEmpty()) {
        wordText_->setText(MakerTexts::WordNoHistory);
        return;
    }
    // One point a day (the level the day ended on), so a day of many answers stays readable.
    auto* series = new QLineSeries;
    series->setPointsVisible(true);
    series->setMarkerSize(5);
    series->setPen(QPen(QColor(0x90, 0xa4, 0xae), 2));
    int gradings = 0;
    for (const DeckProgress::Day& day : days) {
        series->append(double(day.date.startOfDay().toMSecsSinceEpoch()), levelRow(day.level));
        // Each day in its level's colour, as the levels chart shows them.
        series->setPointConfiguration(
            int(series->count()) - 1,
            {{QXYSeries::PointConfiguration::Color, levelColours[std::clamp(day.level, 0, 5)]}});
        gradings += day.gradings;
    }
    chart->addSeries(series);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("M/d"));
    const QDate first = days.first().date.addDays(-1), last = days.last().date.addDays(1);
    x->setRange(first.startOfDay(), last.startOfDay());
    // A tick on every day while they fit, so no date is named twice.
    x->setTickCount(int(std::min<qint64>(first.daysTo(last) + 1, 8)));
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    // The levels by their marks, learned at the top.
    auto* y = new QCategoryAxis;
    y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int level : {1, 2, 3, 4, 5, 0})
        y->append(MakerTexts::LevelNames[level], levelRow(level));
    y->setRange(0.5, 6.5);
    y->setReverse(true);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);

    const auto word = std::find_if(progress_.deck.words.cbegin(), progress_.deck.words.cend(),
                                   [key](const DeckWord& w) { return w.key == key; });
    const qint64 level = word != progress_.deck.words.cend() ? word->level : 0;
    wordText_->setText(MakerTexts::WordSummary.arg(gradings)
                           .arg(days.size())
                           .arg(QLocale().toString(days.last().date, QLocale::ShortFormat))
                           .arg(MakerTexts::LevelNames[level >= 0 && level <= 5 ? level : 0]));
}

QChart* ProgressWindow::levelsChart() const {
    return levels_->chart();
}
QChart* ProgressWindow::perDayChart() const {
    return perDay_->chart();
}
QChart* ProgressWindow::perWeekChart() const {
    return perWeek_->chart();
}
QChart* ProgressWindow::wordChart() const {
    return word_->chart();
}

void ProgressWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The child may have practised while the window was in the background.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
}

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
