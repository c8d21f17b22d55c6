#pragma once
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QToolButton;

// The month calendar: one page of six weeks, Monday first, over day numbers (days since
// 1 January 1900, which is day 0 and a Monday). The page shows the month of its title
// with the end of the month before and the start of the month after. One date is
// selected; days of the page can be marked (drawn in the mark style and colour).
//
// Events: PageChange when another page is shown (by the arrows, the keyboard or a
// selected date that the page does not show), then DateChange when the selected date
// changes; DateDblClick with the day of the month of the day hit, 0 when no day was hit.
// Setting a value to itself raises nothing. Marks belong to the page: a new page starts
// unmarked. Clicking a day the page shows never turns the page, so a double-click always
// lands on the day under the pointer. An owner may be asked before another page is shown.
namespace plat {

class Kalvo : public QWidget {
    Q_OBJECT

public:
    // The control's operation numbers, as the calling code knows them.
    enum class Op {
        Value = 10,         // the selected date (day number)
        Day = 11,           // day of the month of the selected date, 1..31
        MarkStyle = 94,     // MarkStyle bits of marked days
        MarkColor = 95,     // colour of marked day numbers, 0x00BBGGRR
        VisibleDays = 115,  // index 1: first date shown; 2: last date shown
        DayBold = 124,      // mark of a day by its position on the page, 1..42
    };
    enum MarkStyle : int16_t { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };
    static constexpr int kDaysShown = 42;

    explicit Kalvo(QWidget* parent = nullptr);

    // 10: the selected date; a date the page does not show turns the page to its month.
    int32_t value() const { return m_value; }
    void setValue(int32_t day);
    // 11: day of the month of the selected date.
    int16_t day() const;
    // 115: index 1 the first date shown, 2 the last; 0 for any other index.
    int32_t visibleDay(int index) const;
    // 124: mark of the day at a position (1 = first shown date); 0 = not marked. A
    // position off the page reads 0 and is not written.
    int16_t dayMark(int position) const;
    void setDayMark(int position, int16_t mark);
    // 94 and 95.
    int16_t markStyle() const { return m_markStyle; }
    void setMarkStyle(int16_t style);
    uint32_t markColor() const { return m_markColor; }
    void setMarkColor(uint32_t color);

    // The first day of the month the page shows.
    int32_t pageMonth() const { return m_month; }
    // Turns the page by whole months, as the arrows do.
    void turnPage(int months);
    // Shows the page of the month of a day, as the arrows would; the selected date stays.
    void setPage(int32_t day);
    // The first day of the month of a day, and the first date its page shows.
    static int32_t pageOf(int32_t day);
    static int32_t firstShownOf(int32_t page);
    // Asked before another page is shown, by the arrows, the keys or a date: with the
    // page (its month's first day) and the date that would be selected on it. False keeps
    // the page and the selected date as they are. Unset: every page is shown.
    using PageAsk = std::function<bool(int32_t page, int32_t value)>;
    void setPageAsk(PageAsk ask) { m_ask = std::move(ask); }

    // Where each day is drawn, and the day position (1..42) under a point, 0 for none.
    QRect cellRect(int position) const;
    int positionAt(const QPoint& point) const;
    QSize sizeHint() const override;

signals:
    void DateChange();
    void PageChange();
    void DateDblClick(int16_t day);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int32_t firstShown() const { return firstShownOf(m_month); }
    // Whether the page of that month may be shown with that date selected.
    bool mayShow(int32_t page, int32_t value) const;
    void showMonth(int32_t firstOfMonth);
    void layoutHeader();
    QRect gridRect() const;

    int32_t m_value = 0;
    int32_t m_month = 0;  // first day of the month of the page
    std::array<int16_t, kDaysShown> m_marks{};
    int16_t m_markStyle = Bold;
    uint32_t m_markColor = 0;
    QToolButton* m_back;
    QToolButton* m_forward;
    QLabel* m_title;
    PageAsk m_ask;
};

}  // namespace plat
