#pragma once
#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;
class QRadioButton;
class ReadAgain;
namespace plat {
class ComboBox;
class Tabrix;
}  // namespace plat

// The repeat-series dialog: one booking repeated over a series of dates. It lists 50
// dates from the booking's date in the chosen pattern, greys out those on which the
// chosen resource is already booked at that time, and on Save books every ticked free
// date as one new series. The booking it was opened for is left as it is.
class DlgRepeat : public QDialog {
    Q_OBJECT

public:
    // What the booking editor hands over: the booking to repeat.
    struct Appointment {
        int32_t ApptDate = 0;    // first date of the list (day number)
        int32_t GroupId = 0;     // group whose resources are offered
        int32_t ResourceId = 0;  // resource to book, until the user picks another
        int16_t StartTime = 0;   // minutes since midnight
        int16_t EndTime = 0;     // minutes since midnight, not included
        int32_t TaskId = 0;
        int32_t CustomerId = 0;  // 0 = none
        QString Ref01, Ref02, Ref03, Comments;
    };
    static constexpr int kDates = 50;
    // The colour of a row whose date is taken: the button face.
    static constexpr uint32_t kTakenColour = 0x8000000F;

    explicit DlgRepeat(QWidget* parent = nullptr);

    // Loads the window for the booking and shows it modally over owner (the editor).
    static void ShowModal(QWidget* owner, const Appointment& appointment);

    void Form_Load();
    void Option1_Click(int index);
    void CbResource_Click();
    // 0 "Select All", 1 "Clear All": free rows only.
    void BtnSelect_Click(int index);
    // 0 Save, 1 Cancel, 2 Help.
    void BtnRepeat_Click(int index);
    // Lists the 50 dates with their clash marks. Dates whose clashes cannot be read are
    // not listed: the list, the pattern and the resource stay as they were shown.
    void ShowDates();
    // Books every ticked free date; false when it refused and saved nothing.
    bool SaveAppointments();

    Appointment Appt;
    int16_t RepeatType = 0;  // the chosen pattern, 0..7
    bool Loading = false;    // the load step runs: nothing is listed yet

    plat::ComboBox* CbResource = nullptr;  // item data ResourceId
    std::array<QRadioButton*, 8> Option1{};
    plat::Tabrix* LbTimeSlot = nullptr;  // row data: the day number, 0 when taken
    std::array<QPushButton*, 2> BtnSelect{};
    std::array<QLabel*, 4> Label1{};
    QLabel* LblStartTime = nullptr;
    QLabel* LblEndTime = nullptr;
    QLabel* LblTask = nullptr;
    QLabel* LblCustomer = nullptr;
    std::array<QPushButton*, 3> BtnRepeat{};
    // The dates shown, read again shortly when a read of them failed.
    ReadAgain* Shown = nullptr;

private:
    void buildControls();
    bool fillResources();
    // The dates of a pattern for a resource; false, with nothing changed, when unread.
    bool showDates(int16_t type, int32_t resourceId);
    // The pattern and the resource that the dates shown are of.
    void showShown();
};
