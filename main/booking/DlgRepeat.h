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
        int32_t ResourceId = 0;  // resource chosen first in the list
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
    // Reads what the window shows and the dates asked for (Asked), showing each part once
    // its read succeeded; a part that cannot be read is told once and read again shortly.
    void ShowDates();
    // Books every ticked free date; false when it refused and saved nothing.
    bool SaveAppointments();

    Appointment Appt;
    // A list of dates: a pattern's 50 dates from the booking's with one resource's clashes.
    struct Listing {
        int16_t pattern = 0;      // 0..7
        int32_t resourceId = -1;  // -1 = none
        bool operator==(const Listing&) const = default;
    };
    // What the user chose last, as the pattern buttons and the resource list show it.
    Listing Asked;
    // What the dates shown are of: it becomes Asked only when the dates of Asked were read.
    Listing Listed;
    bool Loading = false;  // the load step runs: nothing is listed yet

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
    // The labels, the resources and the dates asked for, read again shortly when a read of
    // them failed.
    ReadAgain* DatesRead = nullptr;

private:
    void buildControls();
    // Each shows its part only once all of it was read; false, with nothing changed, when
    // it could not be read.
    bool readShown();
    bool showLabels();
    bool showResources();
    bool showDates(const Listing& listing);

    bool m_labelsRead = false;
    bool m_resourcesRead = false;
};
