#pragma once
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QToolBar>
#include <vector>

class QAction;
class QMenu;

// The common controls' toolbar: buttons found by key, each with a tag (the command the
// program dispatches on), a tip, and visible and enabled switches; a button may carry a
// drop-down menu whose entries have their own keys and tags. Keys are compared without
// regard to case, as the forms runtime's collections do; tags are the caller's text.
// Asking about a key that is not there gives "" or false, and changing it does nothing.
namespace plat {

class KeyedToolbar : public QToolBar {
    Q_OBJECT

public:
    explicit KeyedToolbar(QWidget* parent = nullptr);

    // Adds a button at the end; false when the key is empty or taken.
    bool addButton(const QString& key, const QString& tag, const QString& tip,
                   const QIcon& icon = QIcon(), const QString& caption = QString());
    // Adds an entry to the button's drop-down menu, which the button then gets: pressing
    // the button raises ButtonClick, its arrow opens the menu. False when the button is
    // not there or the entry key is empty or taken in that menu.
    bool addMenuEntry(const QString& buttonKey, const QString& entryKey, const QString& tag,
                      const QString& text);

    bool hasButton(const QString& key) const { return find(key) != nullptr; }
    QStringList buttonKeys() const;  // in toolbar order
    QString tag(const QString& key) const;
    void setTag(const QString& key, const QString& tag);
    QString tip(const QString& key) const;
    void setTip(const QString& key, const QString& tip);
    bool isButtonVisible(const QString& key) const;
    void setButtonVisible(const QString& key, bool visible);
    bool isButtonEnabled(const QString& key) const;
    void setButtonEnabled(const QString& key, bool enabled);
    // Every button at once (a command in progress switches them all off).
    void setButtonsEnabled(bool enabled);

    QStringList menuKeys(const QString& buttonKey) const;  // in menu order
    QString menuTag(const QString& buttonKey, const QString& entryKey) const;
    QString menuText(const QString& buttonKey, const QString& entryKey) const;

    // As the user would: nothing happens for a hidden or disabled button.
    void press(const QString& key);
    void choose(const QString& buttonKey, const QString& entryKey);

signals:
    void ButtonClick(const QString& key);
    void ButtonMenuClick(const QString& buttonKey, const QString& entryKey);

private:
    struct Entry {
        QString key;
        QString tag;
        QAction* action;
    };
    struct Button {
        QString key;
        QString tag;
        QAction* action;
        QMenu* menu = nullptr;
        std::vector<Entry> entries;
        const Entry* entry(const QString& entryKey) const;
    };
    const Button* find(const QString& key) const;
    Button* find(const QString& key);

    std::vector<Button> m_buttons;
};

}  // namespace plat
