#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

// The start-up form: a borderless splash that prepares the settings, asks for a word-data file
// on first use and hands over to the main menu at the first 5-second tick after it is ready.
class PML0000 : public QWidget {
    Q_OBJECT
  public:
    explicit PML0000(QWidget* parent = nullptr);

    // A deck named on the command line becomes the data file, as choosing it would.
    void setCommandLineDeck(const QString& path) { commandLineDeck_ = path; }
    // A deck to open when no data file is remembered yet (the bundled sample).
    void setFirstDeck(const QString& path) { firstDeck_ = path; }

    // Runs the start-up sequence. False when the program cannot run (it has reported why).
    bool Form_Load();
    void Timer1_Timer();

    bool ready() const { return ready_; }

    QLabel* Image1;
    QTimer* Timer1;

  private:
    void askForDataFile();
    QString writableCopyOf(const QString& deck);

    bool ready_ = false;
    QString commandLineDeck_;
    QString firstDeck_;
};
