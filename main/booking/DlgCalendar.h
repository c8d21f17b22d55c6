#pragma once
#include <QDialog>
#include <QList>
#include <QSet>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
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
    // Shows the page and ticks asked for with their marks once these could be read.
    void ShowAppointments();
    // n: the day of the month hit; below 1 nothing was hit.
    void Cal_DateDblClick(int16_t n);
    // Asks for the box's resource ticked when it is not, else unticked.
    void ChkResource_Click(int index);
    // 0 Select, 1 Today, 2 Cancel, 3 Help.
    void BtnCalendar_Click(int index);

    plat::Kalvo* Cal = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::vector<QCheckBox*> ChkResource;  // element 0 is always there
    std::array<QPushButton*, 4> BtnCalendar{};
    // The boxes and marks asked for, read again shortly when a read of them failed.
    ReadAgain* MarksRead = nullptr;

    bool Activated = false;  // the first activation after the load has run

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the user asked for last: a page (its month's first day), the date selected on
    // it, the resources ticked (ResourceIds).
    struct Asked {
        int32_t page = 0, value = 0;
        QSet<int32_t> ticked;
    };
    // A request read: the group's resources (id, name), the days marked on its page.
    struct Read {
        Asked asked;
        QList<std::pair<int32_t, QString>> resources;
        QList<int32_t> days;
    };
    QCheckBox* addResourceBox();
    // The request read whole (the resources until shown once); none when it could not be.
    [[nodiscard]] std::optional<Read> read() const;
    // Keeps a read as shown and shows its boxes and ticks; its marks follow on its page
    // (markShown).
    void showBoxes(Read found);
    void markShown();
    // Reads the request and shows it; false when it could not be read.
    bool readAndShow();
    // A page the calendar would turn to: true once its marks were read.
    bool askPage(int32_t page, int32_t value);

    QWidget* m_boxes = nullptr;  // holds the resource boxes inside Frame1
    Asked m_asked;
    std::optional<Read> m_shown;  // none until the boxes and the marks were read once
};
