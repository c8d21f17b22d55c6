#include "KeyedStatusBar.h"

#include <QLabel>

namespace plat {

KeyedStatusBar::KeyedStatusBar(QWidget* parent) : QStatusBar(parent) { setSizeGripEnabled(true); }

const KeyedStatusBar::Panel* KeyedStatusBar::find(const QString& key) const {
    for (const Panel& p : m_panels)
        if (p.key.compare(key, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

bool KeyedStatusBar::addPanel(const QString& key, const QString& text, int minimumWidth,
                              int stretch) {
    if (key.isEmpty() || hasPanel(key)) return false;
    auto* label = new QLabel(text, this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setTextFormat(Qt::PlainText);
    addWidget(label, stretch);
    m_panels.push_back({key, label});
    return true;
}

QStringList KeyedStatusBar::panelKeys() const {
    QStringList keys;
    for (const Panel& p : m_panels) keys << p.key;
    return keys;
}

QString KeyedStatusBar::panelText(const QString& key) const {
    const Panel* p = find(key);
    return p ? p->label->text() : QString();
}

bool KeyedStatusBar::setPanelText(const QString& key, const QString& text) {
    const Panel* p = find(key);
    if (!p) return false;
    p->label->setText(text);
    return true;
}

}  // namespace plat
