#pragma once
#include <QDateTime>
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;
class ReadAgain;
class ClsRecordset;
namespace plat {
class ComboBox;
class Tabrix;
class ViewPro;
}  // namespace plat

// The booking search: the bookings of one customer, appointment type or resource of the
// group the main window shows, optionally only those from the present minute on, in date
// and time order. "Goto Appointment" moves the main window's chart to the booking chosen.
class DlgSearch : public QDialog {
    Q_OBJECT

public:
    enum Kind { ByContact = 0, ByType = 1, ByResource = 2 };
    // The list yields to window events after this many rows.
    static constexpr int kRowsPerYield = 256;

    explicit DlgSearch(QWidget* parent = nullptr);

    // Loads the window and shows it modally over owner (the main window).
    static void ShowModal(QWidget* owner);
    // Only tests set this: the present moment the future filter compares with.
    static void setClockForTest(std::function<QDateTime()> clock);

    void Form_Load();
    void BtnSearchBy_Click(int index);
    void CbSearch_Click();
    void ChkSelection_Click();
    // 0 Goto Appointment, 1 Print (the list as it stands), 2 Help, 3 Cancel.
    void BtnSearch_Click(int index);
    void LbResults_DblClick();
    // Lists the bookings of the chosen kind and entry.
    void DoSearch();
    // Switches every control off while the printout is built.
    void EnableMe(bool enabled);
    // The statement the search runs for the kind, the entry's id and the present moment.
    static QString SearchStatement(int kind, int32_t id, bool futureOnly, const QDateTime& now);

    bool Loading = false;  // the load step runs: no search yet

    std::array<QRadioButton*, 3> BtnSearchBy{};
    plat::ComboBox* CbSearch = nullptr;  // item data: the id of the customer, type or resource
    QCheckBox* ChkSelection = nullptr;
    plat::Tabrix* LbResults = nullptr;  // row data: BookingId
    std::array<QPushButton*, 4> BtnSearch{};
    plat::ViewPro* ViewPro1 = nullptr;  // the printout's target, never shown
    // What the window shows, read again shortly when a read of it failed.
    ReadAgain* Shown = nullptr;

public slots:
    // While the lists fill, closing waits until they are done.
    void done(int result) override;

private:
    // Runs the requested refill and search, and any that arrive while they yield; false
    // when one could not be read (the window then shows again what it showed).
    bool work(bool refillChoices);
    // The choices of a kind with the entry of that id chosen (else the first), and its
    // results: all read before any is shown. False when they could not be read.
    bool showKind(int kind, int32_t choose);
    // The results of the kind shown for one of its entries (-1: none).
    bool showResults(int32_t id, bool futureOnly);
    void fillResults(ClsRecordset& rs);
    // The buttons, the choice and the box as the lists show them.
    void showShown();

    // What the lists show: the choices of a kind, and the results of one of its entries
    // (-1: none) from the present on or not.
    int m_kind = ByContact;
    int32_t m_choice = -1;
    bool m_futureOnly = false;
    int m_wantedKind = ByContact;  // the kind whose button was chosen last, and its entry
    int32_t m_wantedChoice = -1;
    bool m_working = false;
    bool m_pendingRefill = false;
    bool m_pendingSearch = false;
    int m_deferredResult = -1;  // a close asked for while working
};
