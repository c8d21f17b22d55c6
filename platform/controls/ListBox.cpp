#include "ListBox.h"

#include <QSignalBlocker>

namespace plat {

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, [this] { emit Click(); });
}

int ListBox::AddItem(const QString& text, int32_t itemData) {
    const QSignalBlocker quiet(this);
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, itemData);
    addItem(item);
    return row(item);
}

int32_t ListBox::ItemData(int index) const {
    const QListWidgetItem* it = item(index);
    return it ? it->data(Qt::UserRole).toInt() : -1;
}

void ListBox::SetListIndex(int index) {
    {
        const QSignalBlocker quiet(this);
        // A check list keeps its marks; a plain list selects what becomes current.
        const int row = index < count() ? index : -1;
        if (selectionMode() == QAbstractItemView::SingleSelection)
            setCurrentRow(row);
        else
            setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }
    emit Click();
}

bool ListBox::Selected(int index) const {
    const QListWidgetItem* it = item(index);
    return it && it->isSelected();
}

void ListBox::SetSelected(int index, bool on) {
    if (QListWidgetItem* it = item(index)) it->setSelected(on);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) emit Click();
}

void ListBox::Clear() {
    const QSignalBlocker quiet(this);
    clear();
}

}  // namespace plat
