#pragma once
#include <QDialog>
#include <QList>
#include <QSet>
#include <QString>
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
    // Reads the marks of the page and ticks asked for and shows them with that page and
    // those ticks; what cannot be read is not shown, and is read again shortly.
    void ShowAppointments();
    // The date the user selected is the date asked for; the marks follow their page.
    void Cal_DateChange();
    void Cal_PageChange();
    // n: the day of the month hit; below 1 nothing was hit.
    void Cal_DateDblClick(int16_t n);
    // Asks for the box's resource ticked if it is not, else unticked.
    void ChkResource_Click(int index);
    // 0 Select, 1 Today, 2 Cancel, 3 Help.
    void BtnCalendar_Click(int index);

    plat::Kalvo* Cal = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::vector<QCheckBox*> ChkResource;  // element 0 is always there
    std::array<QPushButton*, 4> BtnCalendar{};
    // The boxes and marks shown, read again shortly when a read of them failed.
    ReadAgain* Shown = nullptr;

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
    // What a read found for a request: the group's resources (id, name) and the days
    // marked on its page for the ticked ones among them.
    struct Read {
        Asked asked;
        QList<std::pair<int32_t, QString>> resources;
        QList<int32_t> days;
    };
    QCheckBox* addResourceBox();
    // The request read whole; none when the database could not be read. The resources are
    // read until they were shown once.
    std::optional<Read> read() const;
    // Takes a read as what is shown: the boxes and their ticks at once, the page and its
    // marks through move() (or through the page turn that asked for it).
    void take(Read found);
    void move();
    void markShown();
    // Reads the request and shows it when it could be read; false when it could not.
    bool readAndShow();
    // The page turn the calendar asks for: true when its marks could be read.
    bool askPage(int32_t page, int32_t value);

    QWidget* m_boxes = nullptr;  // holds the resource boxes inside Frame1
    Asked m_asked;
    std::optional<Read> m_shown;  // none until the boxes and the marks were read once
};
