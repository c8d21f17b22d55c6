#pragma once
#include <QComboBox>

// A combo box with the forms runtime's habits: filling it selects nothing and raises
// nothing, and selecting an entry from code runs its Click step every time, even for the
// entry that is already selected. The user's choice raises Click too.
namespace plat {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    // Adds an entry without selecting it; returns its position.
    int AddItem(const QString& text, int32_t itemData);
    int32_t ItemData(int index) const;
    // -1 = none. Runs Click, whatever was selected before.
    void SetListIndex(int index);
    int ListIndex() const { return currentIndex(); }
    // Removes every entry; nothing is selected afterwards and Click is not raised.
    void Clear();

signals:
    void Click();
};

}  // namespace plat
