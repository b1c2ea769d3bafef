#pragma once

#include <QWidget>
#include <deckprogress.h>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QPagedPaintDevice;
class QPainter;
class QTabWidget;

// きろく: what the child has learned in the open deck, for a parent. Reads the deck without
// changing it, and again whenever the window becomes active (the child may have practised
// meanwhile). Prints or saves a one-page report of this week or this month.
class ProgressWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressWindow(const QString& deckPath, QWidget* parent = nullptr);

    // Reads the deck again and redraws; false (with a message shown) when it cannot be read.
    bool refresh();
    // Writes the report of the chosen period as a one-page PDF; an error text, empty when done.
    QString savePdf(const QString& file);
    void print();

    const QString& deckPath() const { return path_; }
    const DeckProgress& progress() const { return progress_; }
    const DeckProgress::Period& period() const { return period_; }
    QComboBox* periodChoice() const { return periodChoice_; }
    QComboBox* wordChoice() const { return wordChoice_; }
    QTabWidget* tabs() const { return tabs_; }
    QChart* levelsChart() const;
    QChart* perDayChart() const;
    QChart* perWeekChart() const;
    QChart* wordChart() const;
    QListWidget* hardest() const { return hardest_; }
    QLabel* wordText() const { return wordText_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void createControls();
    void showPeriod();
    void showLevels();
    void showActivity();
    void showWord();
    // The report on one page of device; false when the device could not be written.
    bool paintReport(QPagedPaintDevice& device);

    QString path_;
    DeckProgress progress_;
    DeckProgress::Period period_;
    QTabWidget* tabs_;
    QComboBox* periodChoice_;
    QLabel* periodText_;
    QListWidget* hardest_;
    QComboBox* groupChoice_;
    QChartView* levels_;
    QChartView* perDay_;
    QChartView* perWeek_;
    QComboBox* wordChoice_;
    QChartView* word_;
    QLabel* wordText_;
    bool wordChosen_ = false; // the parent chose a word to look at
};
