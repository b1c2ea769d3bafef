#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QPushButton;
class QTreeWidget;

// One of the maker's three lists (groups, sub-groups, words): rows with a number kept as their
// identity, and the buttons to add, remove and move them.
class RowList : public QGroupBox {
    Q_OBJECT
  public:
    RowList(const QString& title, const QStringList& columns, bool manyAtOnce,
            QWidget* parent = nullptr);

    struct Row {
        qint64 id = 0;
        QStringList cells;
    };
    // Shows rows, keeping the chosen ones chosen when they are still there (else the first
    // row). Emits nothing.
    void setRows(const QList<Row>& rows, const QList<qint64>& chosen);
    // The chosen rows in the order shown; the current one first when there are several.
    QList<qint64> chosen() const;
    qint64 current() const; // 0 when none
    // Chooses the row, emitting nothing: the caller shows what follows from it.
    void choose(qint64 id);
    // Adding may be refused (no room, nothing to add to).
    void setAddEnabled(bool enabled);

    QTreeWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }

  signals:
    void chosenChanged();
    void addClicked();
    void removeClicked();
    void moveClicked(int step);

  private:
    void updateButtons();

    QTreeWidget* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* up_;
    QPushButton* down_;
    bool addEnabled_ = true;
    bool filling_ = false;
};
