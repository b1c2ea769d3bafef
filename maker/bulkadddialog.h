#pragma once

#include <QDialog>

class QPlainTextEdit;

// Asks for the words to add at once (BulkWords' form), for the chosen sub-group.
class BulkAddDialog : public QDialog {
    Q_OBJECT
  public:
    BulkAddDialog(qint64 group, qint64 sgroup, QWidget* parent = nullptr);
    QPlainTextEdit* editor() const { return text_; }
    QString text() const;

  private:
    QPlainTextEdit* text_;
};
