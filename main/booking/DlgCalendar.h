#pragma once
#include <QDialog>
#include <QSet>
#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QShowEvent;
class QWidget;
class ReadAgain;
namespace plat {
class Kalvo;
}

// The month calendar: the user picks the schedule date on a month page whose booked days
// are marked for the resources ticked beside it (the resources of the group the main
// window shows). The date it keeps is the program's current schedule date, which lives
// in CalendarState and outlives the window.
class DlgCalendar : public QDialog {
    Q_OBJECT

public:

    explicit DlgCalendar(QWidget* parent = nullptr);

    // The calling order of every caller: set the resource to tick (optional), show, then
    // read CalDate(), which after a cancel is the date it was.
    static int32_t CalDate();
    static void setCalDate(int32_t day);
    static void setResourceId(int32_t resourceId);
    // Loads the window and shows it modally over owner.
    static void ShowModal(QWidget* owner);

    void Form_Load();
    void Form_Activate();
    // Marks the days of the shown page on which a ticked resource has a booking. Marks
    // that cannot be read are not shown: the page and the boxes go back to the marks shown.
    void ShowAppointments();
    void Cal_DateChange();
    void Cal_PageChange();
    // n: the day of the month hit; below 1 nothing was hit.
    void Cal_DateDblClick(int16_t n);
    void ChkResource_Click(int index);
    // 0 Select, 1 Today, 2 Cancel, 3 Help.
    void BtnCalendar_Click(int index);

    plat::Kalvo* Cal = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::vector<QCheckBox*> ChkResource;  // element 0 is always there
    std::array<QPushButton*, 4> BtnCalendar{};
    // The boxes and marks shown, read again shortly when a read of them failed.
    ReadAgain* Shown = nullptr;

    bool Loading = false;      // the load step is adding the resource boxes
    bool Activated = false;    // the first activation after the load has run
    bool PageChanged = false;  // the page turned since the days were last marked

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* addResourceBox();
    // The group's resources as boxes, then the marks; Loading stays set when unread.
    bool loadResources();
    bool showMarks();
    // The page, the date and the boxes as the marks shown were read for.
    void showShown();
    // Ticks the box of the resource the caller asked for, and no other.
    void tickPreset();
    QWidget* m_boxes = nullptr;  // holds the resource boxes inside Frame1
    // What the marks shown were read for: the page (its month's first day), the date
    // selected, the boxes ticked; and the days marked.
    int32_t m_shownPage = 0, m_shownValue = 0;
    QSet<int> m_shownTicks;
    QList<int32_t> m_shownMarks;
    bool m_reverting = false;  // the page goes back: its events read nothing
};
