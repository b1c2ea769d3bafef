#pragma once

#include <QGroupBox>
#include <cardpreview.h>

class PictureChoices;
class QLabel;
class QMimeData;
class QProgressBar;
class QPushButton;

// The picture of a group, sub-group or word: a preview of how the screens show it, and the
// ways to give a new one (a suggestion, a file, the clipboard, a drop anywhere on the panel).
class PicturePanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit PicturePanel(CardPreview::Place place, QWidget* parent = nullptr);

    // The preview of the stored picture (empty path: none yet) with the card's texts, or the
    // group's or sub-group's title.
    void show(const QString& picturePath, const QString& word, const QString& meaning = {});
    CardPreview* preview() const { return preview_; }
    QPushButton* fileButton() const { return file_; }
    QPushButton* pasteButton() const { return paste_; }
    PictureChoices* choices() const { return choices_; }

  signals:
    void fileClicked();
    void pasteClicked();
    void dropped(const QMimeData& data);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    CardPreview* preview_;
    QPushButton* file_;
    QPushButton* paste_;
    PictureChoices* choices_;
};

// The voice of a word: record from the microphone with a level meter, speak the word with the
// speech synthesiser, or choose a WAV file; and play what is stored.
class VoicePanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit VoicePanel(QWidget* parent = nullptr);

    void setStored(bool stored);
    void setRecording(bool recording);
    void setBusy(bool busy);
    void setLevel(double level); // 0..1
    void setStatus(const QString& text);

    QPushButton* recordButton() const { return record_; }
    QPushButton* speakButton() const { return speak_; }
    QPushButton* fileButton() const { return file_; }
    QPushButton* playButton() const { return play_; }
    QLabel* status() const { return status_; }
    QProgressBar* meter() const { return meter_; }

  signals:
    void recordClicked();
    void speakClicked();
    void fileClicked();
    void playClicked();

  private:
    QPushButton* record_;
    QPushButton* speak_;
    QPushButton* file_;
    QPushButton* play_;
    QProgressBar* meter_;
    QLabel* status_;
    bool stored_ = false;
    bool recording_ = false;
    bool busy_ = false;
    void updateButtons();
};
