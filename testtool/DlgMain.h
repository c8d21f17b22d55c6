#pragma once
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>

#include "ClsCustomer.h"
#include "ClsGroup.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "IHostWindow.h"
#include "RecordCollection.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class RunRandom;
namespace plat {
class FormsTimer;
class Kalvo;
class KeyedStatusBar;
class ListBox;
}  // namespace plat

// The test utility's one window. It collects a run's inputs (a date range on two month
// calendars, the groups to fill, whether their bookings in the range go first), asks
// before it starts, runs the random schedule generator and shows its progress. It is the
// host window the database layer expects: Timer1 (which never ticks here) and StatusBar1.
class DlgMain : public QMainWindow, public IHostWindow {
    Q_OBJECT

public:
    explicit DlgMain(QWidget* parent = nullptr);
    ~DlgMain() override;

    // Registers the window with the log and the database layer, opens the database of
    // [Config] DbName in the program folder's Rostima.ini and lists its groups. False, having
    // told the user and opened nothing, when that file is there but cannot be read: the
    // program then ends.
    bool Form_Load();
    // 0: Test (asks, then runs), or Cancel Test during a run; 1: Exit.
    void BtnTest_Click(int Index);
    // Keeps the end date from lying before the start date: the calendar the user did not
    // change follows the one that changed (Index 0 start, 1 end).
    void Kalvo1_Changed(int Index);
    // One run over the ticked groups; returns when it finished, was cancelled or failed.
    void RunTest();

    // The group's members, each a record object of its own loaded by id.
    RecordCollection<ClsResource> GetGroupResources(int32_t GroupId);
    RecordCollection<ClsTask> GetGroupTasks(int32_t GroupId);
    RecordCollection<ClsCustomer> GetGroupCustomers(int32_t GroupId);
    RecordCollection<ClsGroup> GetGroups();

    // IHostWindow.
    bool TimerEnabled() const override;
    void SetTimerEnabled(bool on) override;
    void SetPanelText(const QString& key, const QString& text) override;
    void SetInputEnabled(bool on) override;
    bool Confirm(const QString& message) override;
    void ShowWaiting(bool on) override;

    // The run's pauses (milliseconds, blocking the window's thread); only tests and the
    // benchmark replace them. An empty function restores the real pause.
    using Pause = std::function<void(int milliseconds)>;
    static void SetPauseForTest(Pause pause);

    bool Running = false;
    bool CancelRequested = false;
    // The counts of the last run, as its summary showed them.
    int32_t Booked() const { return m_booked; }
    int32_t Unbooked() const { return m_unbooked; }

    std::array<QGroupBox*, 4> Frame1{};
    std::array<plat::Kalvo*, 2> Kalvo1{};  // 0 start date, 1 end date
    std::array<QPushButton*, 2> BtnTest{};
    plat::KeyedStatusBar* StatusBar1 = nullptr;
    plat::ListBox* LbGroups = nullptr;  // ticked entries are the groups to fill
    QCheckBox* Check1 = nullptr;
    plat::FormsTimer* Timer1 = nullptr;
    std::array<QLabel*, 7> Label1{};

    static constexpr int kTwipsPerPixel = 15;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void lockInputs(bool locked);
    void fillGroup(ClsGroup& group, RunRandom& random);
    bool attempt(ClsGroup& group, RunRandom& random, int16_t remaining);
    void showSummary();
    template <typename T>
    RecordCollection<T> collect(const QString& sql, const char* keyLetter);

    int32_t m_booked = 0;
    int32_t m_unbooked = 0;
    bool m_closeAfterRun = false;  // the window was closed during a run
};
