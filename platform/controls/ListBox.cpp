#include "ListBox.h"

#include <QSignalBlocker>

namespace plat {

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, [this] { emit Click(); });
}

void ListBox::SetCheckList(bool on) {
    m_checkList = on;
    if (!on) return;
    // The highlight only shows where the user is; the ticks are the choice.
    setSelectionMode(QAbstractItemView::SingleSelection);
    const QSignalBlocker quiet(this);
    for (int i = 0; i < count(); ++i) giveTickBox(*item(i));
}

void ListBox::giveTickBox(QListWidgetItem& entry) const {
    entry.setFlags(entry.flags() | Qt::ItemIsUserCheckable);
    if (entry.data(Qt::CheckStateRole).isNull()) entry.setCheckState(Qt::Unchecked);
}

int ListBox::AddItem(const QString& text, int32_t itemData) {
    const QSignalBlocker quiet(this);
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, itemData);
    if (m_checkList) giveTickBox(*item);
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
        // A list of several selections keeps them; a plain list, and a check list, whose
        // marks are its ticks, highlight what becomes current.
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
    if (!it) return false;
    return m_checkList ? it->checkState() == Qt::Checked : it->isSelected();
}

void ListBox::SetSelected(int index, bool on) {
    QListWidgetItem* it = item(index);
    if (!it) return;
    if (m_checkList)
        it->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    else
        it->setSelected(on);
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
