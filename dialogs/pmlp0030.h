#pragma once

#include "preferencedialog.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>

// The data-file information dialog: the word-data file's full path, its size and when it was
// last changed, read once when the dialog opens.
class PMLP0030 : public PreferenceDialog {
    Q_OBJECT
  public:
    PMLP0030();

    // "2048 Byte".
    static QString sizeText(qint64 bytes);
    // The short date, a blank and H:mm:ss; a time stamp of exactly midnight shows the date alone.
    static QString timeText(const QDateTime& time);

    QLabel* Lb_Dir;
    QLabel* Lb_FileSize;
    QLabel* Lb_Time;
    QLabel* Lb_F_Dir;
    QLabel* Lb_F_Size;
    QLabel* Lb_F_Time;
    QPushButton* BT_OK;

  public slots:
    void BT_OK_Click() { close(); }

  private:
    void Form_Load();
};
