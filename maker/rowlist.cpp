#include "rowlist.h"

#include "makertexts.h"

#include <QAction>
#include <QDropEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString RowsMime = QStringLiteral("application/x-pimlotan-maker-rows");
}

// The list with rows as drag data (the list's name; the window knows which rows are chosen),
// and drops turned into the list's signal instead of Qt moving items itself: the window moves
// the rows in the deck and shows them again.
class RowTree : public QTreeWidget {
  public:
    explicit RowTree(RowList* owner)
        : QTreeWidget(owner)
        , owner_(owner) {}

  protected:
    QStringList mimeTypes() const override { return {RowsMime}; }
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override {
        return items.isEmpty() ? nullptr : owner_->dragData();
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (owner_->accepts(*event->mimeData()))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        QTreeWidget::dragMoveEvent(event);
        if (owner_->accepts(*event->mimeData()))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent* event) override {
        const QTreeWidgetItem* item = itemAt(event->position().toPoint());
        const qint64 onto = item ? item->data(0, Qt::UserRole).toLongLong() : 0;
        // Accepted as a copy: a move would make the view remove the dragged items itself, from
        // the rows the window has just shown again.
        if (owner_->drop(*event->mimeData(), onto)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

  private:
    RowList* owner_;
};

RowList::RowList(const QString& title, const QStringList& columns, bool manyAtOnce, QWidget* parent)
    : QGroupBox(title, parent)
    , list_(new RowTree(this))
    , add_(new QPushButton(MakerTexts::Add, this))
    , remove_(new QPushButton(MakerTexts::Remove, this))
    , up_(new QPushButton(QStringLiteral("↑"), this))
    , down_(new QPushButton(QStringLiteral("↓"), this)) {
    list_->setHeaderLabels(columns);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(manyAtOnce ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < columns.size(); ++column)
        list_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    up_->setToolTip(MakerTexts::Up);
    down_->setToolTip(MakerTexts::Down);
    up_->setAccessibleName(MakerTexts::UpName.arg(title));
    down_->setAccessibleName(MakerTexts::DownName.arg(title));
    add_->setAccessibleName(MakerTexts::AddName.arg(title));
    remove_->setAccessibleName(MakerTexts::RemoveName.arg(title));

    // Two by two, so that three lists and the fields fit side by side on a 1024-pixel screen.
    auto* buttons = new QGridLayout;
    buttons->addWidget(add_, 0, 0);
    buttons->addWidget(remove_, 0, 1);
    buttons->addWidget(up_, 1, 0);
    buttons->addWidget(down_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    name_ = title;
    list_->setDragEnabled(true);
    list_->setAcceptDrops(true);
    list_->setDropIndicatorShown(true);
    list_->setDragDropMode(QAbstractItemView::DragDrop);
    list_->setDefaultDropAction(Qt::CopyAction);
    addKey({QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_Return),
            QKeySequence(Qt::CTRL | Qt::Key_Enter)},
           add_);
    addKey({QKeySequence(Qt::Key_Delete)}, remove_);
    addKey({QKeySequence(Qt::ALT | Qt::Key_Up)}, up_);
    addKey({QKeySequence(Qt::ALT | Qt::Key_Down)}, down_);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        updateButtons();
        if (!filling_)
            emit chosenChanged();
    });
    connect(add_, &QPushButton::clicked, this, &RowList::addClicked);
    connect(remove_, &QPushButton::clicked, this, &RowList::removeClicked);
    connect(up_, &QPushButton::clicked, this, [this] { emit moveClicked(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { emit moveClicked(+1); });
    updateButtons();
}

// A key works while the list (or its buttons) has the focus, and only when its button would.
void RowList::addKey(const QList<QKeySequence>& keys, QPushButton* button) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, button, [button] {
        if (button->isEnabled())
            button->click();
    });
    addAction(action);
}

QMimeData* RowList::dragData() const {
    auto* data = new QMimeData;
    data->setData(RowsMime, name_.toUtf8());
    return data;
}

bool RowList::accepts(const QMimeData& data) const {
    if (!data.hasFormat(RowsMime))
        return false;
    const QString from = QString::fromUtf8(data.data(RowsMime));
    return from == name_ || dropSources_.contains(from);
}

bool RowList::drop(const QMimeData& data, qint64 onto) {
    if (!accepts(data))
        return false;
    emit rowsDropped(QString::fromUtf8(data.data(RowsMime)), onto);
    return true;
}

void RowList::setRows(const QList<Row>& rows, const QList<qint64>& chosen) {
    filling_ = true;
    list_->clear();
    QTreeWidgetItem* current = nullptr;
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(list_, row.cells);
        item->setData(0, Qt::UserRole, row.id);
        // A long word is cut short in its column; the whole of it shows under the mouse.
        for (int column = 0; column < row.cells.size(); ++column)
            item->setToolTip(column, row.cells.at(column));
        if (chosen.contains(row.id)) {
            item->setSelected(true);
            if (!current || row.id == chosen.first())
                current = item;
        }
    }
    if (!current && list_->topLevelItemCount() > 0) {
        current = list_->topLevelItem(0);
        current->setSelected(true);
    }
    if (current)
        list_->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    filling_ = false;
    updateButtons();
}

QList<qint64> RowList::chosen() const {
    QList<qint64> ids;
    const QTreeWidgetItem* current = list_->currentItem();
    if (current && current->isSelected())
        ids << current->data(0, Qt::UserRole).toLongLong();
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->isSelected() && item != current)
            ids << item->data(0, Qt::UserRole).toLongLong();
    }
    return ids;
}

qint64 RowList::current() const {
    const QList<qint64> ids = chosen();
    return ids.isEmpty() ? 0 : ids.first();
}

void RowList::choose(qint64 id) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toLongLong() == id) {
            filling_ = true;
            // ClearAndSelect on the row that is already current leaves nothing selected: the
            // selection is made by hand.
            list_->clearSelection();
            item->setSelected(true);
            list_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            filling_ = false;
            updateButtons();
            list_->scrollToItem(item);
            return;
        }
    }
}

void RowList::setAddEnabled(bool enabled) {
    addEnabled_ = enabled;
    updateButtons();
}

void RowList::updateButtons() {
    const QList<qint64> ids = chosen();
    add_->setEnabled(addEnabled_);
    remove_->setEnabled(!ids.isEmpty());
    const bool one = ids.size() == 1;
    const int row = one ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    up_->setEnabled(one && row > 0);
    down_->setEnabled(one && row >= 0 && row + 1 < list_->topLevelItemCount());
}
