#pragma once
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <vector>

// Pop-up hints over widgets: attach a widget, and while the pointer rests on it the
// pop-up shows that widget's own text or, when it has none, the shared pop-up text that
// the program sets as the pointer moves (the chart: the booking under the pointer). An
// empty text shows nothing. Over a widget that is a HintArea the pop-up shows only where
// the widget says there is something to hint at. The pop-up is this label itself.
namespace plat {

class Hintel : public QLabel {
    Q_OBJECT

public:
    // The control's operation numbers, as the calling code knows them.
    enum class Op { ShowDelay = 9, Margin = 15, Text = 17, Attach = 28 };

    explicit Hintel(QWidget* parent = nullptr);

    // 9: tenths of a second the pointer rests before the pop-up shows (0..100).
    int showDelay() const { return m_delayTenths; }
    void setShowDelay(int tenths);
    // 15: pixels between the pop-up's border and its text (0..50).
    int popupMargin() const { return margin(); }
    void setPopupMargin(int pixels);
    // 17: the shared pop-up text; lines are separated by "\n" or "\r\n".
    QString popupText() const { return m_text; }
    void setPopupText(const QString& text);
    // 28: hints over the widget (a scroll area's viewport included) with its own text,
    // "" for the shared one. Attaching again changes the text.
    void attach(QWidget* widget, const QString& text);
    // Whether the widget is attached.
    bool isAttached(const QWidget* widget) const { return widget && toolOf(widget); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool {
        QPointer<QWidget> widget;
        QString text;
    };
    const Tool* toolOf(const QObject* watched) const;
    void refresh();
    void popUp();
    void hidePopup();

    std::vector<Tool> m_tools;
    QString m_text;
    int m_delayTenths = 5;
    QTimer m_delay;
    QPointer<QWidget> m_over;  // the attached widget the pointer is over
    QPoint m_globalPos;        // where the pointer was last seen
};

}  // namespace plat
