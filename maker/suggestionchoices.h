#pragma once

#include <QList>
#include <QWidget>
#include <suggestions.h>

class QLineEdit;
class QPushButton;
class QToolButton;

// The pictures suggested for the shown row, a click each: emoji from the library and pictures
// the deck already has; and a box to look pictures up by another word.
class PictureChoices : public QWidget {
    Q_OBJECT
  public:
    static constexpr int MaxShown = 8;
    explicit PictureChoices(QWidget* parent = nullptr);

    // Shows pictures (deck pictures are read from imagesFolder); none hides the row of buttons.
    void show(const QList<Suggestions::Picture>& pictures, const QString& imagesFolder);
    const QList<Suggestions::Picture>& shown() const { return shown_; }
    QList<QToolButton*> buttons() const { return buttons_; }
    QLineEdit* search() const { return search_; }

  signals:
    void chosen(const Suggestions::Picture& picture);
    void searchEdited(const QString& text);

  private:
    QList<QToolButton*> buttons_;
    QLineEdit* search_;
    QList<Suggestions::Picture> shown_;
};

// The meanings suggested for the English word, a click each.
class MeaningChoices : public QWidget {
    Q_OBJECT
  public:
    static constexpr int MaxShown = 5;
    explicit MeaningChoices(QWidget* parent = nullptr);

    void show(const QStringList& meanings);
    QList<QPushButton*> buttons() const { return buttons_; }

  signals:
    void chosen(const QString& meaning);

  private:
    QList<QPushButton*> buttons_;
    QStringList shown_;
};
