// DlgMain: start-up, first activation, layout and shut-down of the main window.
#include "DlgMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWindow>

#include "CalendarState.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DlgSplash.h"
#include "EventYield.h"
#include "FormsTimer.h"
#include "Glidex.h"
#include "KeyedStatusBar.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "Plexaro.h"
#include "SharedObjects.h"

namespace {
constexpr int kTw = DlgMain::kTwipsPerPixel;
ClsIni& ini() { return SharedObjects::Ini(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
}  // namespace

DlgMain::DlgMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("DlgMain");
    setMinimumSize(9600 / kTw, 6450 / kTw);
    resize(12000 / kTw, 8400 / kTw);
    buildControls();
}

DlgMain::~DlgMain() { SharedObjects::SetHost(nullptr); }

bool DlgMain::Form_Load() {
    ContextIDs::SetHelpFile(this);
    if (!ModMain::Initialise()) {
        unloadFromProgram();
        return false;
    }
    SharedObjects::SetHost(this);
    SharedObjects::Log().setHwnd(static_cast<int32_t>(winId() & 0xFFFFFFFF));
    SharedObjects::Forms().CentreForm(*this, nullptr);
    FirstActivated = Closing = false;
    AutoscrollCountdown = 0;
    SetupDefaults();
    setWindowTitle("Rostima! (" + ModMain::VersionNumber() + ")");
    clearPanels();
    setCurrentDate(static_cast<int32_t>(ini().GetNumber("Config", "LastDate", 0)));
    setCurrentDate(CurrentDate() == 0 ? SharedObjects::Date().DateToLong(QDate::currentDate())
                                      : CurrentDate());
    Sched->setTitle("");
    Sched->setListWidth(static_cast<int>(ini().GetNumber("Sched", "ListWidth", 100)));
    Scroll->setPosition(
        static_cast<int>(ini().GetNumber("Sched", "TimeDistance", Scroll->position())));
    Sched->setTimeZoom(Scroll->position());
    const auto lastGroup = static_cast<int32_t>(ini().GetNumber("Group", "CbGroup", 0));
    // Before the load, so that a change meanwhile is seen; unread, the first tick reads it.
    m_setupCheck = SetupCheck(lastGroup).value_or(QString());
    ShowGroups(lastGroup);
    const bool legend = ini().GetNumber("Config", "ChkLegend", ChkLegend->isChecked() ? 1 : 0) != 0;
    if (legend != ChkLegend->isChecked()) {
        ChkLegend->setChecked(legend);
        ChkLegend_Click();
    }
    if (ini().GetNumber("Options", "IsReadOnly", 0) != 0) {
        for (const char* key : {"Config", "Group", "Resource"})
            Toolbar1->setButtonVisible(key, false);
        if (mnuFileConfiguration) mnuFileConfiguration->setVisible(false);
        mnuResource->menuAction()->setVisible(false);
        mnuTransfer->menuAction()->setVisible(false);
        // Into the room the hidden buttons leave, but never partly off the window.
        CbGroup->move(std::max(0, CbGroup->x() - 1100 / kTw), CbGroup->y());
    }
    Form_Resize();
    m_started = true;
    return true;
}

void DlgMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The user started the program: what its first activation cannot read is told.
    if (!FirstActivated) ModMain::ActivateLater(*this, [this] { Form_Activate(); });
}

void DlgMain::Form_Activate() {
    if (FirstActivated || m_unloaded) return;
    FirstActivated = true;
    const int64_t state = ini().GetNumber("DlgMain", "WindowState", 0);
    if (state == 1)
        setWindowState(Qt::WindowMinimized);
    else if (state == 2)
        setWindowState(Qt::WindowMaximized);
    if (state == 0) {
        const QRect g = geometry();
        const int left = static_cast<int>(ini().GetNumber("DlgMain", "Left", g.x() * kTw));
        const int top = static_cast<int>(ini().GetNumber("DlgMain", "Top", g.y() * kTw));
        const int width = static_cast<int>(ini().GetNumber("DlgMain", "Width", g.width() * kTw));
        const int height = static_cast<int>(ini().GetNumber("DlgMain", "Height", g.height() * kTw));
        setGeometry(left / kTw, top / kTw, width / kTw, height / kTw);
        EventYield::Run();
    }
    // The conditions of use, and the first start of a new version, come before the
    // schedule starts refreshing; refusing the terms ends the program.
    bool firstStart = false;
    if (!DlgSplash::ShowIfNeeded(this, &firstStart)) {
        unloadFromProgram();
        return;
    }
    if (firstStart) {
        // The display options the form has just switched on apply now, as at a start;
        // and bookings may have moved onto today.
        AutoscrollCountdown = 0;
        SetupDefaults();
        if (AutoscrollCountdown < 1) ShowResources(0);
    }
    Timer1->setInterval(5000);
    Timer1->setEnabled(true);
}

void DlgMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void DlgMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void DlgMain::Form_Resize() {
    if (m_inResize || !Sched) return;
    m_inResize = true;
    if (isMinimized()) {
        setWindowTitle("Rostima!");
    } else {
        setWindowTitle("Rostima! (" + ModMain::VersionNumber() + ") - " + WebAddress());
        // Twips of the window less the room the other controls take.
        const int w = width() * kTw, h = height() * kTw;
        const int chartWidth = w - (ChkLegend->isChecked() ? 2625 : 345);
        Sched->resize(std::max(chartWidth / kTw, 50), std::max((h - 1515) / kTw, 50));
        Frame1->move((w - 2400) / kTw, Frame1->y());
        Frame1->resize(Frame1->width(), std::max((h - 1515) / kTw, 50));
        if (LblUpdating->isVisible()) LblUpdating->setGeometry(Sched->geometry());
    }
    m_inResize = false;
}

void DlgMain::closeEvent(QCloseEvent* event) {
    // The user's close box (reason 0) is deferred to the next tick; the program's own
    // unload goes through at once.
    if (Form_QueryUnload(m_unloading ? 1 : 0)) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void DlgMain::unloadFromProgram() {
    m_unloading = true;
    if (isVisible())
        close();
    else if (!Form_QueryUnload(1))
        Form_Unload();
}

bool DlgMain::Form_QueryUnload(int reason) {
    if (m_unloaded) return false;
    Timer1->setEnabled(false);
    if (reason == 0) {
        Closing = true;
        Timer1->setInterval(100);
        Timer1->setEnabled(true);
        return true;  // cancelled: the window stays until the tick
    }
    // A start that failed has shown nothing and moved no date: the stored placement and
    // date stay as the last real run left them.
    if (m_started) {
        const QRect g = geometry();
        ini().WriteValue("DlgMain", "Left", g.x() * kTw);
        ini().WriteValue("DlgMain", "Top", g.y() * kTw);
        ini().WriteValue("DlgMain", "Width", g.width() * kTw);
        ini().WriteValue("DlgMain", "Height", g.height() * kTw);
        ini().WriteValue("DlgMain", "WindowState", isMinimized() ? 1 : isMaximized() ? 2 : 0);
        ini().WriteValue("Config", "LastDate", CalendarState::CalDate());
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName().isEmpty() || (!w->isVisible() && w != this)) continue;
        log(w->objectName());
        if (w != this) w->close();
    }
    ModMain::Terminate();
    return false;
}

void DlgMain::Form_Unload() {
    m_unloaded = true;
    ContextIDs::CloseHelp();
    Timer1->setEnabled(false);
    SharedObjects::SetHost(nullptr);
}
