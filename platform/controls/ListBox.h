#pragma once
#include <QListWidget>
#include <cstdint>

// A list with the forms runtime's habits: filling it selects nothing and raises nothing;
// setting the current entry from code runs Click every time. Entries can also be marked
// selected one by one (check lists), apart from the current entry.
namespace plat {

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    int AddItem(const QString& text, int32_t itemData);
    int32_t ItemData(int index) const;
    // -1 = none. Runs Click, whatever was current before.
    void SetListIndex(int index);
    int ListIndex() const { return currentRow(); }
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    void Clear();

signals:
    // The user clicked an entry or moved to another one with the keyboard, or code set
    // the current entry.
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace plat
