#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QKeySequence;
class QMimeData;
class QPushButton;
class QTreeWidget;

// One of the maker's three lists (groups, sub-groups, words): rows with a number kept as their
// identity, and the buttons to add, remove and move them. The same from the keyboard (Insert
// or Ctrl+Enter, Delete, Alt+Up, Alt+Down) and by dragging rows: within the list to move them,
// or from another list onto a row (words onto a sub-group).
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
    const QString& name() const { return name_; }
    // Lists whose rows may be dropped here besides this list's own (by title).
    void acceptDropsFrom(const QString& list) { dropSources_ << list; }
    // The drag's data, and a drop of it on row onto (tests drop without a mouse).
    QMimeData* dragData() const;
    bool drop(const QMimeData& data, qint64 onto);
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }

  signals:
    void chosenChanged();
    void addClicked();
    void removeClicked();
    void moveClicked(int step);
    // Rows of list from (the dragging list's title) dropped on the row onto (0: below the
    // last row); the rows are the chosen ones of that list.
    void rowsDropped(const QString& from, qint64 onto);

  private:
    friend class RowTree;
    void updateButtons();
    void addKey(const QList<QKeySequence>& keys, QPushButton* button);
    bool accepts(const QMimeData& data) const;

    QTreeWidget* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* up_;
    QPushButton* down_;
    QString name_;
    QStringList dropSources_;
    bool addEnabled_ = true;
    bool filling_ = false;
};
