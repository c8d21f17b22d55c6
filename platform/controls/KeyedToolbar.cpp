#include "KeyedToolbar.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace plat {
namespace {

bool sameKey(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

KeyedToolbar::KeyedToolbar(QWidget* parent) : QToolBar(parent) {
    setMovable(false);
    setFloatable(false);
}

const KeyedToolbar::Button* KeyedToolbar::find(const QString& key) const {
    for (const Button& b : m_buttons)
        if (sameKey(b.key, key)) return &b;
    return nullptr;
}

KeyedToolbar::Button* KeyedToolbar::find(const QString& key) {
    return const_cast<Button*>(std::as_const(*this).find(key));
}

const KeyedToolbar::Entry* KeyedToolbar::Button::entry(const QString& entryKey) const {
    for (const Entry& e : entries)
        if (sameKey(e.key, entryKey)) return &e;
    return nullptr;
}

bool KeyedToolbar::addButton(const QString& key, const QString& tag, const QString& tip,
                             const QIcon& icon, const QString& caption) {
    if (key.isEmpty() || hasButton(key)) return false;
    QAction* action = addAction(icon, caption.isEmpty() ? key : caption);
    action->setToolTip(tip);
    m_buttons.push_back({key, tag, action, nullptr, {}});
    connect(action, &QAction::triggered, this, [this, key] { emit ButtonClick(key); });
    return true;
}

bool KeyedToolbar::addMenuEntry(const QString& buttonKey, const QString& entryKey,
                                const QString& tag, const QString& text) {
    Button* b = find(buttonKey);
    if (!b || entryKey.isEmpty() || b->entry(entryKey)) return false;
    if (!b->menu) {
        b->menu = new QMenu(this);
        b->action->setMenu(b->menu);
        if (auto* tb = qobject_cast<QToolButton*>(widgetForAction(b->action)))
            tb->setPopupMode(QToolButton::MenuButtonPopup);
    }
    QAction* action = b->menu->addAction(text);
    b->entries.push_back({entryKey, tag, action});
    const QString key = b->key;
    connect(action, &QAction::triggered, this,
            [this, key, entryKey] { emit ButtonMenuClick(key, entryKey); });
    return true;
}

QStringList KeyedToolbar::buttonKeys() const {
    QStringList keys;
    for (const Button& b : m_buttons) keys << b.key;
    return keys;
}

QString KeyedToolbar::tag(const QString& key) const {
    const Button* b = find(key);
    return b ? b->tag : QString();
}

void KeyedToolbar::setTag(const QString& key, const QString& tag) {
    if (Button* b = find(key)) b->tag = tag;
}

QString KeyedToolbar::tip(const QString& key) const {
    const Button* b = find(key);
    return b ? b->action->toolTip() : QString();
}

void KeyedToolbar::setTip(const QString& key, const QString& tip) {
    if (Button* b = find(key)) b->action->setToolTip(tip);
}

bool KeyedToolbar::isButtonVisible(const QString& key) const {
    const Button* b = find(key);
    return b && b->action->isVisible();
}

void KeyedToolbar::setButtonVisible(const QString& key, bool visible) {
    if (Button* b = find(key)) b->action->setVisible(visible);
}

bool KeyedToolbar::isButtonEnabled(const QString& key) const {
    const Button* b = find(key);
    return b && b->action->isEnabled();
}

void KeyedToolbar::setButtonEnabled(const QString& key, bool enabled) {
    if (Button* b = find(key)) b->action->setEnabled(enabled);
}

void KeyedToolbar::setButtonsEnabled(bool enabled) {
    for (Button& b : m_buttons) b.action->setEnabled(enabled);
}

QStringList KeyedToolbar::menuKeys(const QString& buttonKey) const {
    QStringList keys;
    if (const Button* b = find(buttonKey))
        for (const Entry& e : b->entries) keys << e.key;
    return keys;
}

QString KeyedToolbar::menuTag(const QString& buttonKey, const QString& entryKey) const {
    const Button* b = find(buttonKey);
    const Entry* e = b ? b->entry(entryKey) : nullptr;
    return e ? e->tag : QString();
}

QString KeyedToolbar::menuText(const QString& buttonKey, const QString& entryKey) const {
    const Button* b = find(buttonKey);
    const Entry* e = b ? b->entry(entryKey) : nullptr;
    return e ? e->action->text() : QString();
}

void KeyedToolbar::press(const QString& key) {
    const Button* b = find(key);
    if (b && b->action->isVisible() && b->action->isEnabled()) b->action->trigger();
}

void KeyedToolbar::choose(const QString& buttonKey, const QString& entryKey) {
    const Button* b = find(buttonKey);
    const Entry* e = b ? b->entry(entryKey) : nullptr;
    if (e && b->action->isVisible() && b->action->isEnabled()) e->action->trigger();
}

}  // namespace plat
