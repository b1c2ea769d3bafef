#pragma once

#include <QLabel>
#include <QMouseEvent>

// A picture control: shows an image stretched to its size and reports clicks.
class PictureBox : public QLabel {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr)
        : QLabel(parent) {
        setScaledContents(true);
    }

    // Loads a picture file; false (and an empty picture) when it cannot be read.
    bool loadPicture(const QString& path);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit clicked();
        QLabel::mouseReleaseEvent(event);
    }
};
