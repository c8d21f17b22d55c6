#include "ComboBox.h"

#include <QSignalBlocker>

namespace plat {

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this] { emit Click(); });
}

int ComboBox::AddItem(const QString& text, int32_t itemData) {
    const QSignalBlocker quiet(this);
    const int before = currentIndex();
    addItem(text, itemData);
    // Qt selects the first entry of an empty box; the forms runtime does not.
    if (currentIndex() != before) setCurrentIndex(before);
    return count() - 1;
}

int32_t ComboBox::ItemData(int index) const {
    const QVariant v = itemData(index);
    return v.isValid() ? v.toInt() : -1;
}

void ComboBox::SetListIndex(int index) {
    setCurrentIndex(index < count() ? index : -1);
    emit Click();
}

void ComboBox::Clear() {
    const QSignalBlocker quiet(this);
    clear();
}

}  // namespace plat
