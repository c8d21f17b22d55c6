#pragma once
#include <QDateTime>
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

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
    // The user's requests: a kind (its first entry), an entry of the kind shown, the other
    // value of the box. Each is shown once it could be read.
    void BtnSearchBy_Click(int index);
    void CbSearch_Click();
    void ChkSelection_Click();
    // 0 Goto Appointment, 1 Print (the list as it stands), 2 Help, 3 Cancel.
    void BtnSearch_Click(int index);
    void LbResults_DblClick();
    // Lists the bookings of the kind and entry asked for, read again.
    void DoSearch();
    // Switches every control off while the printout is built.
    void EnableMe(bool enabled);
    // The statement the search runs for the kind, the entry's id and the present moment.
    static QString SearchStatement(int kind, int32_t id, bool futureOnly, const QDateTime& now);

    std::array<QRadioButton*, 3> BtnSearchBy{};
    plat::ComboBox* CbSearch = nullptr;  // item data: the id of the customer, type or resource
    QCheckBox* ChkSelection = nullptr;
    plat::Tabrix* LbResults = nullptr;  // row data: BookingId
    std::array<QPushButton*, 4> BtnSearch{};
    plat::ViewPro* ViewPro1 = nullptr;  // the printout's target, never shown
    // The choices and results asked for, read again shortly when a read of them failed.
    ReadAgain* ListsRead = nullptr;

public slots:
    // While the lists fill, closing waits until they are done.
    void done(int result) override;

private:
    // A search: the kind, the id of its entry chosen (-1: its first), and whether only the
    // bookings from the present minute on count.
    struct Query {
        int kind = ByContact;
        int32_t entry = -1;
        bool futureOnly = false;
        bool operator==(const Query&) const = default;
    };
    // Lists what was asked for and any request that arrives while the lists yield, until
    // the lists show the last one; false when one could not be read. IfChanged reads only a
    // request the lists do not show yet; Always reads the first once more.
    enum class Reading { IfChanged, Always };
    bool listAsked(Reading reading);
    // The choices and the results of a query, all read before any is shown; false when
    // they could not be read.
    bool showQuery(Query query);
    void fillResults(ClsRecordset& rs);

    Query m_asked;                 // the user's last request
    std::optional<Query> m_shown;  // what the lists show; none before the first read
    bool m_working = false;
    int m_deferredResult = -1;  // a close asked for while working
};
