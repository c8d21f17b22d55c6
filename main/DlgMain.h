#pragma once
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "IHostWindow.h"
#include "Loaded.h"

class QActionGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
namespace plat {
class ComboBox;
class FormsTimer;
class Glidex;
class Hintel;
class KeyedStatusBar;
class KeyedToolbar;
class Nudgel;
class Plexaro;
}  // namespace plat

// The main window: the schedule chart of one group, its legend of appointment types, the
// refresh timer that follows other workstations' changes, the toolbar and the menus.
class DlgMain : public QMainWindow, public IHostWindow {
    Q_OBJECT

public:
    explicit DlgMain(QWidget* parent = nullptr);
    ~DlgMain() override;

    // Start-up: help, the program-wide objects, the remembered state. False when the
    // program cannot run (the window has then closed itself).
    bool Form_Load();

    // IHostWindow: the database layer switches the refresh timer off around its work and
    // backup and restore report progress in the status bar.
    bool TimerEnabled() const override;
    void SetTimerEnabled(bool on) override;
    void SetPanelText(const QString& key, const QString& text) override;
    void SetInputEnabled(bool on) override;
    bool Confirm(const QString& message) override;
    // The busy pointer over every window of the program while the database is waited for.
    void ShowWaiting(bool on) override;

    // The schedule's position, also set by other windows. A date whose rows cannot be read
    // is not shown (false, the user told once): the chart and the date stay as they were.
    int32_t CurrentDate() const;
    bool setCurrentDate(int32_t day);
    void setCurrentTime(int32_t minute);
    void setCurrentResource(int32_t resourceId);

    void SetupDefaults();
    void SetScheduleEndDate();
    // Fills the group list and chooses the group (entry 0 when it is not listed), whose
    // click loads it; false, with the list as it was, when the groups could not be read.
    bool ShowGroups(int32_t groupId);
    // Rows and bars of the group chosen; false, with the chart as it was and the user
    // told once, when they could not be read.
    bool ShowResources(int32_t resourceId);
    // The appointment types of the group chosen; false, with the legend as it was, as above.
    bool ShowLegends();
    void Timer1_Timer();
    void CbGroup_Click();
    void ChkLegend_Click();
    void Form_Resize();

    // Chart interaction.
    void LblColor_MouseDown(int index);
    void Sched_DragDrop(int x, int y);
    void Sched_DropItem(int row, int minute, int32_t day);
    void Sched_ListDblClick(int row);
    void Sched_ItemMove(int row, int bar);
    void Scroll_Change();
    void SpinDate_Click(int16_t direction);

    // Commands: the toolbar's two dispatchers (menu-bar entries forward to them).
    void Toolbar1_ButtonClick(const QString& key);
    void Toolbar1_ButtonMenuClick(const QString& entryKey);
    void mnuTransferBackup_Click();
    void mnuTransferRestore_Click();
    void mnuTransferExport_Click();
    void mnuResourceSaveTemplate_Click();
    void mnuResourceLoadTemplate_Click();
    // The chart's print title for a day: "Rostima - Monday 1 January 1900".
    static QString PrintTitle(int32_t day);
    static QString PrintFooter();

    // The controls, named as the program knows them.
    plat::Plexaro* Sched = nullptr;
    plat::Glidex* Scroll = nullptr;
    plat::Nudgel* SpinDate = nullptr;
    plat::Hintel* ToolTips = nullptr;
    plat::ComboBox* CbGroup = nullptr;
    QCheckBox* ChkLegend = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::vector<QLabel*> LblColor;
    std::vector<QLabel*> LblLegend;
    QLabel* LblUpdating = nullptr;
    plat::KeyedToolbar* Toolbar1 = nullptr;
    plat::KeyedStatusBar* StatusBar1 = nullptr;
    plat::FormsTimer* Timer1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileConfiguration = nullptr;
    QMenu* mnuResource = nullptr;
    QMenu* mnuTransfer = nullptr;

    // Members other parts of the program read.
    bool FirstActivated = false;
    bool Closing = false;
    int16_t AutoscrollCountdown = 0;  // ticks left before the chart returns to the present
    int32_t LastBookingCheck = 0;     // fingerprint of the bookings the last load showed
    int32_t DraggedTaskId = 0;  // TaskId of the legend entry dragged last

    static constexpr int kTwipsPerPixel = 15;
    static QString WebAddress() { return "https://www.rostima.example"; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void tickScaleShown();  // the View menu's tick on the chart's time scale
    void Form_Activate();
    // The close request: reason 0 is the user's close box; anything else unloads.
    bool Form_QueryUnload(int reason);
    void Form_Unload();
    void unloadFromProgram();
    // What the chart is to show: a group's rows over the days from the first one (a day
    // number) in a time scale (0 hours, 1 days, 2 weeks).
    struct ChartView {
        int32_t group = -1;
        int32_t first = 0;
        int scale = 0;
    };
    struct LegendEntry {
        QString tag;  // the TaskId, as text
        QString name;
        uint32_t colour = 0;
    };
    struct ChartRows;
    // The group list's group, the schedule date and [Config] TimeType.
    ChartView currentView() const;
    // What the user (or a window) asked the chart to show: a view, the resource row to
    // select (0 = none), whether the group, the date or the time scale is a new one.
    struct ChartRequest {
        ChartView view;
        int32_t resourceId = 0;
        bool newGroup = false;
        bool newDate = false;
        bool newScale = false;
    };
    // Reads the view's rows and bars (with newGroup also the group and its legend), and
    // only then shows them; false, with everything as it was and the user told once, when
    // a read failed. The group list shows the group on the chart until the new one is read.
    bool loadChart(const ChartRequest& request);
    // NoRow: the group is not there (deleted elsewhere), and nothing is to be shown.
    Loaded readChart(const ChartView& view, bool newGroup, ChartRows& rows);
    void showChart(const ChartView& view, ChartRows& rows, int32_t resourceId);
    [[nodiscard]] std::optional<std::vector<LegendEntry>> readLegend(int32_t groupId);
    void showLegend(const std::vector<LegendEntry>& legend);
    // The last day a chart from first shows in a scale; its time scale, dates and ruler.
    int32_t lastDay(int scale, int32_t first) const;
    void showRange(int scale, int32_t first);
    void followChanges(bool dialogOpen);
    void clearChart();
    void connectInteraction();
    void buttonsOn(bool on);
    void rearmTimer();
    void exitProgram();
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool editingDialogOpen() const;
    [[nodiscard]] std::optional<QString> SetupCheck(int32_t groupId);
    void clearPanels();
    // The set-up commands and their dialogs (DlgMainAdmin.cpp).
    void showConfig();
    void addGroup();
    void editGroup(int32_t groupId);
    void addResource(int32_t groupId);
    void editResource(int row);
    void afterGroupDialog();

    bool m_inResize = false;
    bool m_unloading = false;  // the program itself is closing the window
    bool m_unloaded = false;
    bool m_started = false;  // the load step completed: there is a state worth keeping
    // A reload is owed: a changed schedule waits for a dialog to close, or a read of the
    // chart failed and the next tick tries again. The one read-again that is not a
    // ReadAgain: the chart's is the refresh tick itself, which runs unattended and already
    // reads the chart whenever it changed, so a second timer would only read it twice.
    bool m_deferredReload = false;
    int32_t m_shownGroup = 0;          // the group whose rows the chart shows (0 = none yet)
    QActionGroup* m_scales = nullptr;  // the View menu's time scales, one ticked

    QString m_setupCheck;  // SetupCheck as the start or the last tick found it
};
