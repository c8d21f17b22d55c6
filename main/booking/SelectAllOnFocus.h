#pragma once
#include <QObject>

class QLineEdit;

// Makes a text box select its whole text whenever it gets the focus, also when a click
// put the cursor in it: the editing dialogs' step on entering a box.
class SelectAllOnFocus : public QObject {
public:
    // The watcher lives as long as the box.
    static void Install(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SelectAllOnFocus(QLineEdit* box);
    QLineEdit* m_box;
};
