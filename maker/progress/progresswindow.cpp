#include "progresswindow.h"

#include "makertexts.h"
#include "progresscharts.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QComboBox>
#include <QCompleter>
#include <QDateTimeAxis>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
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
using namespace ProgressCharts;

namespace {

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
