#pragma once
#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "ClsBooking.h"

class ClsCustomer;
class ClsTask;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class ReadAgain;
namespace plat {
class ComboBox;
class KeyedToolbar;
class Nudgel;
class Tabrix;
}  // namespace plat

// The day booking editor: the day of one resource as a list of time slots, one row per
// slot of the group's working day, each showing the booking that covers it. A click on a
// slot takes its booking up (or prepares a new one there) in the shared ClsBooking, which
// the spins and commands then change and save; a pending move or copy is placed by the
// next slot click. The editor keeps no date of its own: its date is CalendarState's.
//
// Other windows hand values over through the properties before showing it (GroupId first,
// ApptDate last), and may move its date (setApptDate) and resource (CbResource) while it
// is open and read its rows (LbTimeSlot). The dialogs it opens register in DlgApptHooks.
class DlgAppt : public QDialog {
    Q_OBJECT

public:
    explicit DlgAppt(QWidget* parent = nullptr);
    ~DlgAppt() override;

    // The program-wide instance, made on first use as a child of the main window.
    static DlgAppt& Instance();
    static bool Exists();
    // Makes the main window's hand-over (drop, row double-click, "Write") and its refresh
    // tick reach this editor.
    static void Install();
    static void Uninstall();

    // Hand-over properties.
    int32_t GroupId() const { return m_groupId; }
    // Also points the shared type record at the group (its default times and slot length).
    void setGroupId(int32_t id);
    int16_t StartTime() const { return m_startTime; }  // minutes since midnight
    void setStartTime(int16_t minutes) { m_startTime = minutes; }
    int32_t ResourceId() const { return m_resourceId; }
    void setResourceId(int32_t id) { m_resourceId = id; }
    int32_t TaskId() const { return m_taskId; }  // 0 = none to preselect
    void setTaskId(int32_t id) { m_taskId = id; }
    // The day shown (a day number): stores it as the calendar's date, retitles the list,
    // moves the main window there while the editor is shown, and refills the list. Loads
    // the window first when it is not loaded.
    void setApptDate(int32_t day);
    int32_t CurrentDate() const;

    // Loads the window when needed, shows it modally and unloads it when it has closed.
    void ShowModal();
    // Shows the day of the selected resource and the current date afresh, keeping what the
    // user is editing (see keepEditing); false, with the list as it was, when the day could
    // not be read, which is read again shortly. A failure is told when the user's command
    // asked (as not done, for another day or resource); the tick and the editor's own
    // delayed read tell nobody (and fill empty lists).
    enum class Asker { User, Unattended };
    bool ShowBookings() { return refreshDay(Asker::User); }
    bool RefreshDay() { return refreshDay(Asker::Unattended); }
    // The last read of the day failed: the list is not the day as stored.
    bool Unread() const;
    bool IsLoaded() const { return m_loaded; }

    // The window's steps, also run by the controls' events.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Form_Resize();
    void LbTimeslot_ItemClick(int row, int column);
    void LbTimeslot_RowMoved(int row);
    void BtnTask_Click(int index);
    void SpinDate_Click(int16_t direction);
    // The start and end spins move that edge of the booking being edited (0 = later).
    enum class Edge { Start, End };
    void SpinStart_Click(int16_t direction) { spin(Edge::Start, direction); }
    void SpinEnd_Click(int16_t direction) { spin(Edge::End, direction); }
    // The lists fill with the entry of the id chosen (the resource's: ResourceId). Click
    // runs its Click step, as the user's choice does; Show only shows it, for a list read
    // again whose choice the editor already holds. A fill that fails keeps the list as it
    // was, is told once and is read again shortly, quietly, with what is held then shown;
    // false then.
    enum class Pick { Click, Show };
    bool ShowResources(Pick pick = Pick::Click);
    bool ShowTasks(int32_t taskId, Pick pick = Pick::Click);
    bool ShowCustomers(int32_t customerId, Pick pick = Pick::Click);
    void CbResource_Click();
    void CbTask_Click();
    void CbCustomer_Click();
    void SetupEnabled();
    void EnableMe(bool on);
    void Toolbar1_ButtonClick(const QString& key);
    void Toolbar1_ButtonMenuClick(const QString& entryKey);

    // Where the frames and lists go for a window size, all in twips.
    struct Geometry {
        int frame0Width, frame0Height, listWidth, listHeight, moveLabelTop, frame1Left;
    };
    static Geometry Layout(int widthTw, int heightTw, bool movePending);

    // Editor state.
    int32_t MoveSourceId = 0;                        // booking chosen for a move or copy
    int16_t MoveSourceStart = 0, MoveSourceEnd = 0;  // its times when it was chosen
    bool MilitaryMode = false;                       // 24-hour slot labels
    bool MovePending = false;                        // a move or copy waits for its slot
    bool CopyRequested = false;                      // that pending one is a copy
    bool ReadOnlyMode = false;                       // the workstation is read-only
    bool Activated = false;                          // the first activation has run

    // The controls, named as the program knows them.
    plat::Tabrix* LbTimeSlot = nullptr;
    plat::ComboBox* CbResource = nullptr;
    plat::ComboBox* CbTask = nullptr;
    plat::ComboBox* CbCustomer = nullptr;
    QLineEdit* TxtRef01 = nullptr;
    QLineEdit* TxtRef02 = nullptr;
    QLineEdit* TxtRef03 = nullptr;
    QLineEdit* TxtComments = nullptr;
    QLabel* LblStart = nullptr;
    QLabel* LblEnd = nullptr;
    QLabel* LblMove = nullptr;
    std::array<QGroupBox*, 2> Frame1{};
    std::array<QPushButton*, 6> BtnTask{};
    plat::Nudgel* SpinStart = nullptr;
    plat::Nudgel* SpinEnd = nullptr;
    plat::Nudgel* SpinDate = nullptr;
    plat::KeyedToolbar* Toolbar1 = nullptr;
    QMenuBar* MenuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuAppt = nullptr;
    QMenu* mnuType = nullptr;
    QMenu* mnuCustomer = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuApptSubmit = nullptr;
    QAction* mnuApptDelete = nullptr;
    QAction* mnuApptMove = nullptr;
    QAction* mnuApptCopy = nullptr;
    QAction* mnuApptChangeDate = nullptr;

    // Move and copy buttons, and the entering one's caption while the mode is pending. No
    // mnemonic: Alt+C belongs to the Customer menu, and the Appointment menu offers both
    // commands (and their cancel) from the keyboard.
    static constexpr const char* kMoveCaption = "Move";
    static constexpr const char* kCopyCaption = "Copy";
    static constexpr const char* kCancelCaption = "Cancel";

    static constexpr int kLastMinute = 1440;  // the close of the day, minutes
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kMinWidthTw = 9600, kMinHeightTw = 6450;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    enum class Submitted { Saved, NoSlot, Refused, Nothing };

    // What the user is editing: the start minute of the slot taken up, on which day and
    // resource, and the shared record as edited (times from the spins, and the stored row
    // it was loaded from). The typed boxes stay in their controls meanwhile.
    struct Editing {
        int slot = -1;
        int32_t day = 0, resourceId = 0;
        ClsBooking record;
    };

    void buildControls();
    void buildMenus();
    Submitted submit();
    void showAsStored(int32_t bookingId);
    void repeat();
    void deleteBooking();
    void moveOrCopy(int index);
    void leaveMode();
    void placeBooking(int row);
    ClsBooking::Refusal place(int row);
    ClsBooking::Refusal placeOn(int row, int32_t resourceId);
    void selectBookingRow();
    void spin(Edge edge, int16_t direction);
    // The row of a slot (its start minute) or of a booking (its id, 0 = none) in the day
    // shown; kNoRow when there is none.
    int slotRow(int minute) const;
    int bookingRow(int32_t bookingId) const;
    void takeUp(int row);
    void showStored(const ClsBooking& stored, const ClsTask& type, const ClsCustomer& customer);
    void prepareNew(int row);
    void forgetDeleted();
    void showTimes();
    void noteEditing();
    // One read of the day (Day: the group's slot grid, the bookings of the resource and
    // the booking taken up as stored now); none when it could not be read.
    struct Day;
    [[nodiscard]] std::optional<Day> readDay(int32_t day, int32_t resourceId) const;
    // What a refill does with the booking being edited: keeps it, held without a highlight
    // when the day no longer shows it (Held), keeps it only where the day still shows it
    // (Shown: its own type or customer was deleted here), or lets it go (None: it was
    // saved or deleted).
    enum class Keep { Held, Shown, None };
    // Shows a day read (the date becomes the program's), keeping what is edited as asked.
    void showDay(const Day& day, Keep keep, Asker asker);
    // Every refill of the day: read, and shown only when read; told as the asker says.
    bool refreshDay(Asker asker, Keep keep = Keep::Held);
    bool refreshDay(Asker asker, Keep keep, int32_t day, int32_t resourceId);
    void keepEditing(bool holdGone);
    // The day or resource shown is not the one of the booking being edited.
    bool editingElsewhere() const;
    void endEditing() { m_editing.reset(); }
    // The record is what is edited now, taken up where the day shown holds it.
    void editAgain(const ClsBooking& record);
    bool showResourceDay(Asker asker);
    bool choose(plat::ComboBox& box, bool read, int32_t id, Pick pick, ReadAgain& again);
    // A customer read is listed, also when not linked to the group (a booking keeps its own).
    void listCustomer(const ClsCustomer& customer);
    void showPicks(const ClsTask& type, const ClsCustomer& customer);
    void refillCustomers(int32_t customerId);
    bool bookingTakenUp() const;
    int32_t ownCustomer() const;  // the customer of the booking taken up, else 0
    int32_t ownTask() const;      // the type of the booking taken up, else 0
    bool refuse(const QString& message);
    bool checkBeforeSave();
    void buttonsOn(bool on);
    void refreshMainChart();
    QString slotLabel(int minute, int interval) const;
    int slotInterval() const;

    int32_t m_groupId = 0;
    int32_t m_resourceId = 0;
    int32_t m_taskId = 0;
    int16_t m_startTime = 0;
    bool m_loaded = false;
    bool m_inResize = false;
    bool m_placing = false;  // a move or copy is being placed: slot clicks wait
    // Start minute of the slot of the booking being edited when a refill of its day no
    // longer shows it there (deleted, moved or its slot taken elsewhere); -1 = none. Save
    // then still tries it, so that the user is told why it cannot be stored.
    int m_heldSlot = -1;
    // The boxes hold what was typed for a booking deleted elsewhere meanwhile.
    bool m_typedForGone = false;
    // The booking being edited, noted at each refill while the day shows it and kept
    // while another day or resource is shown, so that coming back finds it as it was
    // left; none until a slot is taken up, and after a save or a delete.
    std::optional<Editing> m_editing;
    // The booking as Move or Copy found it: placing it refuses a change made since.
    ClsBooking m_moveSource;
    int32_t m_shownDay = 0, m_shownResource = 0;  // the day and resource the list shows
    ReadAgain* m_day = nullptr;                   // the day, when its last read failed
    // Each list, when its last fill failed.
    ReadAgain* m_resourcesRead = nullptr;
    ReadAgain* m_tasksRead = nullptr;
    ReadAgain* m_customersRead = nullptr;
    int m_windowState = 0;  // [DlgAppt] WindowState as loaded: 0 normal, 1 min, 2 max
    QWidget* m_client = nullptr;
};
