#pragma once
#include <QListWidget>
#include <cstdint>

// A list with the forms runtime's habits: filling it selects nothing and raises nothing;
// setting the current entry from code runs Click every time. A check list draws a tick
// box on every entry: the tick is the entry's selected state, apart from the current
// (highlighted) entry.
namespace plat {

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    // Every entry gets a tick box (also those already there), unticked when added.
    void SetCheckList(bool on);
    bool CheckList() const { return m_checkList; }

    int AddItem(const QString& text, int32_t itemData);
    int32_t ItemData(int index) const;
    // -1 = none. Runs Click, whatever was current before.
    void SetListIndex(int index);
    int ListIndex() const { return currentRow(); }
    // A check list: the entry's tick; otherwise its highlight.
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    void Clear();

signals:
    // The user clicked an entry or moved to another one with the keyboard, or code set
    // the current entry.
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void giveTickBox(QListWidgetItem& entry) const;
    bool m_checkList = false;
};

}  // namespace plat
