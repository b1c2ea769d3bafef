#pragma once

#include <QWidget>

class MeaningChoices;
class PicturePanel;
class QLabel;
class QLineEdit;
class QPushButton;
class VoicePanel;

// The fields of the chosen row. Each form shows what the file holds and reports a text the
// user has finished editing (Enter, or leaving the field) when it differs from that.

class GroupForm : public QWidget {
    Q_OBJECT
  public:
    explicit GroupForm(QWidget* parent = nullptr);
    void show(qint64 slot, const QString& title, const QString& description);
    QLineEdit* title() const { return title_; }
    QLineEdit* description() const { return description_; }
    PicturePanel* picture() const { return picture_; }

  signals:
    void textsEdited(const QString& title, const QString& description);

  private:
    QLabel* heading_;
    QLineEdit* title_;
    QLineEdit* description_;
    PicturePanel* picture_;
};

class SubGroupForm : public QWidget {
    Q_OBJECT
  public:
    explicit SubGroupForm(QWidget* parent = nullptr);
    void show(qint64 group, qint64 sgroup, int words);
    PicturePanel* picture() const { return picture_; }

  private:
    QLabel* heading_;
    PicturePanel* picture_;
};

class WordForm : public QWidget {
    Q_OBJECT
  public:
    explicit WordForm(QWidget* parent = nullptr);

    struct Texts {
        QString word, meaning, text1, text2;
        bool operator==(const Texts&) const = default;
    };
    // chosen: how many words are chosen (the fields show the first; もとに もどす acts on all).
    void show(const Texts& texts, qint64 level, qint64 times, int chosen);
    Texts texts() const;
    QLineEdit* word() const { return word_; }
    QLineEdit* meaning() const { return meaning_; }
    MeaningChoices* meaningChoices() const { return meaningChoices_; }
    // Puts a suggested meaning in its field and reports the edit.
    void chooseMeaning(const QString& meaning);
    QLineEdit* text1() const { return text1_; }
    QLineEdit* text2() const { return text2_; }
    QLabel* grading() const { return grading_; }
    QPushButton* resetButton() const { return reset_; }
    PicturePanel* picture() const { return picture_; }
    VoicePanel* voice() const { return voice_; }

  signals:
    void textsEdited(const WordForm::Texts& texts);
    void resetClicked();

  private:
    Texts shown_;
    QLineEdit* word_;
    QLineEdit* meaning_;
    MeaningChoices* meaningChoices_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLabel* grading_;
    QPushButton* reset_;
    PicturePanel* picture_;
    VoicePanel* voice_;
};
