#pragma once
#include <QStatusBar>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;

// The common controls' status bar: text panels found by key (the main window's "Start",
// "End", "Task" and "Person"). Keys are compared without regard to case. A window may
// lack a panel that shared code writes to: such writes do nothing.
namespace plat {

class KeyedStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit KeyedStatusBar(QWidget* parent = nullptr);

    // Adds a panel at the right end; false when the key is empty or taken. A stretch
    // above 0 lets the panel take a share of the spare width.
    bool addPanel(const QString& key, const QString& text = QString(), int minimumWidth = 0,
                  int stretch = 0);
    bool hasPanel(const QString& key) const { return find(key) != nullptr; }
    QStringList panelKeys() const;
    QString panelText(const QString& key) const;  // "" when there is no such panel
    // False, and nothing changes, when there is no such panel.
    bool setPanelText(const QString& key, const QString& text);

private:
    struct Panel {
        QString key;
        QLabel* label;
    };
    const Panel* find(const QString& key) const;

    std::vector<Panel> m_panels;
};

}  // namespace plat
