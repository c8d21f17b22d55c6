#pragma once
#include <QAbstractScrollArea>
#include <QString>
#include <cstdint>
#include <functional>

#include "HintArea.h"
#include "PlexaroModel.h"
#include "PlexaroPainter.h"
#include "PlexaroView.h"

class QPrinter;

// The schedule chart: a title bar, a resource column, a ruler and a time area in which
// each resource row shows its time bars over the days firstDay..lastDay and, of each day,
// the minutes dayStart..dayEnd. Rows are numbered 1..N in the order added; the row count
// is N + 1 (row 0 is the ruler) and -1 means no row. Bars are numbered 1..M per row.
// Colours are 0x00BBGGRR. The user selects rows, scrolls and pulls the name column wider;
// bars never move and are never selected. Only drops of kDragMimeType are taken.
namespace plat {

class Plexaro : public QAbstractScrollArea, public HintArea {
    Q_OBJECT

public:
    // The chart's operation numbers, as the calling code knows them.
    enum class Op {
        BackColor = -501,
        Handle = -515,  // the widget itself: what Hintel::attach takes
        ListWidth = 4,
        TitleBackColor = 11,
        Title = 15,
        RulerBackColor = 16,
        ListBackColor = 21,
        SelectBackColor = 25,
        TimeScale = 30,
        TimeZoom = 33,
        DayStart = 34,
        DayEnd = 35,
        StartDate = 36,
        EndDate = 37,
        Use24Hour = 43,
        DateFormat = 48,
        Use12Hour = 49,
        FiveMinuteWidth = 58,
        RowCount = 74,
        PrintTitle = 78,
        PrintFooter = 79,
        WeekendColor = 86,
        SelectedRow = 89,
        PrintColourBackgrounds = 107,
        PrintColourBars = 108,
        Clear = 110,
        AddRow = 111,
        AddBar = 120,
        CancelBarSelect = 121,
        Print = 123,
        CancelBarDrop = 127,
        ScrollTo = 139,
        HitTest = 145,
        BarColor = 156,
        BarText = 168,
        BarData = 187,
        RowData = 189,
    };
    enum TimeScaleKind { Hours = 0, Days = 1, Weeks = 2 };
    static constexpr int kNoRow = -1;
    // The program's own drag: a task taken from the legend.
    static constexpr const char* kDragMimeType = "application/x-rostima-task";

    explicit Plexaro(QWidget* parent = nullptr);

    // Colours (0x00BBGGRR).
    uint32_t backColor() const { return m_view.colours.back; }  // -501, time area
    void setBackColor(uint32_t c);
    uint32_t titleBackColor() const { return m_view.colours.titleBack; }  // 11
    void setTitleBackColor(uint32_t c);
    uint32_t rulerBackColor() const { return m_view.colours.rulerBack; }  // 16
    void setRulerBackColor(uint32_t c);
    uint32_t listBackColor() const { return m_view.colours.listBack; }  // 21
    void setListBackColor(uint32_t c);
    uint32_t selectBackColor() const { return m_view.colours.selectBack; }  // 25
    void setSelectBackColor(uint32_t c);
    uint32_t weekendColor() const { return m_view.colours.weekend; }  // 86
    void setWeekendColor(uint32_t c);

    // Layout and range.
    int listWidth() const { return m_view.listWidth; }  // 4: resource column, pixels
    void setListWidth(int pixels);                      // 0..32767
    QString title() const { return m_view.title; }      // 15
    void setTitle(const QString& text);
    // 30: 0 hours, 1 days, 2 weeks. Other values are kept and read back (so a caller can
    // tell it set one), and are laid out as days.
    int timeScale() const { return m_view.scale.kind; }
    void setTimeScale(int kind);
    // 33: pixels per hour (hours), per day (days) or per week (weeks), 1..1000; values
    // outside are clamped. The time at the left edge stays where it is.
    int timeZoom() const { return m_view.scale.zoom; }
    void setTimeZoom(int zoom);
    int fiveMinuteWidth() const { return m_view.fiveMinuteWidth; }  // 58, see PlexaroView
    void setFiveMinuteWidth(int pixels);
    int dayStart() const { return m_view.scale.dayStart; }  // 34, minutes since midnight
    void setDayStart(int minute);
    int dayEnd() const { return m_view.scale.dayEnd; }  // 35
    void setDayEnd(int minute);
    int32_t startDate() const { return m_view.scale.firstDay; }  // 36, day number
    void setStartDate(int32_t day);
    int32_t endDate() const { return m_view.scale.lastDay; }  // 37
    void setEndDate(int32_t day);
    bool use24Hour() const { return m_view.use24Hour; }  // 43
    void setUse24Hour(bool on);
    bool use12Hour() const { return !m_view.use24Hour; }  // 49, the same switch
    void setUse12Hour(bool on) { setUse24Hour(!on); }
    QString dateFormat() const { return m_view.dateFormat; }  // 48, PlexaroCalendar codes
    void setDateFormat(const QString& format);

    // Rows and bars.
    int rowCount() const { return m_model.rowCount(); }     // 74: N + 1
    int selectedRow() const { return m_view.selectedRow; }  // 89: 1..N, -1 = none
    // Anything but a resource row clears the selection. A selected row is scrolled into
    // view.
    void setSelectedRow(int row);
    void clear();                     // 110: every row and bar, and the selection
    int addRow(const QString& text);  // 111: the new row's number, -1 when full
    // 120: the new bar's number within the row, -1 for no such row or a full one.
    int addBar(int row, int startMinute, int endMinute, int32_t startDay, int32_t endDay,
               const QString& key);
    uint32_t barColor(int row, int bar) const;            // 156; rows and bars that do not exist
    void setBarColor(int row, int bar, uint32_t colour);  // read neutral, ignore writes
    QString barText(int row, int bar) const;              // 168
    void setBarText(int row, int bar, const QString& text);
    int32_t barData(int row, int bar) const;  // 187
    void setBarData(int row, int bar, int32_t data);
    QString barKey(int row, int bar) const;
    int32_t rowData(int row) const { return m_model.rowData(row); }  // 189
    void setRowData(int row, int32_t data);
    QString rowText(int row) const { return m_model.rowText(row); }

    // 121, 127: the chart never selects or moves a bar, so there is nothing to cancel.
    void cancelBarSelect() {}
    void cancelBarDrop() {}

    // 139: scrolls the time area so the minute of that day is at its left edge (as far
    // as the range allows).
    void scrollTo(int32_t day, int minute);
    // 145: raises DropItem with the row, minute and day under the point (pixels in the
    // chart). A point that is not over a resource row's time raises nothing: false.
    bool hitTest(int x, int y);

    // Printing.
    QString printTitle() const { return m_printTitle; }  // 78
    void setPrintTitle(const QString& text) { m_printTitle = text; }
    QString printFooter() const { return m_printFooter; }  // 79
    void setPrintFooter(const QString& text) { m_printFooter = text; }
    bool printColourBackgrounds() const { return m_printColourBackgrounds; }  // 107
    void setPrintColourBackgrounds(bool on) { m_printColourBackgrounds = on; }
    bool printColourBars() const { return m_printColourBars; }  // 108
    void setPrintColourBars(bool on) { m_printColourBars = on; }
    // 123: every row over the whole range, with the print title and footer; false when
    // the printer could not be painted on.
    bool print(QPrinter& printer);

    bool hasHintAt(const QPoint& p) const override;

    // For tests and measurements.
    const PlexaroModel& model() const { return m_model; }
    const PlexaroView& view() const { return m_view; }
    int64_t lastPaintNanoseconds() const { return m_painter.lastPaintNanoseconds(); }
    int lastPaintBarCount() const { return m_painter.lastBarCount(); }

signals:
    // The time scale (Hours, Days, Weeks) became another one.
    void timeScaleChanged(int kind);
    // A hit test (145) found a resource row's time under its point.
    void DropItem(int row, int minute, int32_t day);
    // A resource row was double-clicked, or Enter pressed on the selected row.
    void ListDblClick(int row);
    // The pointer came onto a bar; raised once each time another bar is entered.
    void ItemMove(int row, int bar);
    // The pointer left the bar it was over for a place without one, or left the chart.
    void ItemLeave();
    // The user scrolled: the day and minute now at the left edge, the first row shown.
    void ScrollTrack(int32_t day, int minute, int row);
    // A press on a bar; the chart selects nothing.
    void BarPreSelect(int row, int bar);
    // A bar was pulled elsewhere and let go over the target; the chart moves nothing.
    void BarPreDrop(int row, int bar, int targetRow, int32_t targetDay, int targetMinute);
    // Something of kDragMimeType was dropped at this point (pixels in the chart).
    void DragDrop(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void relayout();
    void takeFont();
    void keepLeftEdge(const std::function<void()>& change);
    void setColour(uint32_t& slot, uint32_t c);
    bool nearDivider(const QPoint& viewportPoint) const;
    void userScrolled();
    void leaveBar();

    PlexaroModel m_model;
    PlexaroView m_view;
    PlexaroPainter m_painter;
    QString m_printTitle;
    QString m_printFooter;
    bool m_printColourBackgrounds = true;
    bool m_printColourBars = true;

    int m_hoverRow = kNoRow;  // the bar the pointer is over; -1 = none
    int m_hoverBar = kNoRow;
    int m_pressedRow = kNoRow;  // the bar a press began on; -1 = none
    int m_pressedBar = kNoRow;
    QPoint m_pressPoint;
    bool m_resizingList = false;
};

}  // namespace plat
