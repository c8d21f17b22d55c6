// DlgMain: its controls, menus and the host-window services for the shared library.
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "ComboBox.h"
#include "DlgAbout.h"
#include "DlgMain.h"
#include "FormsTimer.h"
#include "Glidex.h"
#include "Hintel.h"
#include "KeyedStatusBar.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "Nudgel.h"
#include "Plexaro.h"

namespace {
constexpr int kTopRow = 4;     // pixels from the top of the window's client area
constexpr int kChartTop = 34;  // below the row of group list, legend switch and zoom
}  // namespace

void DlgMain::buildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    Toolbar1 = new plat::KeyedToolbar(this);
    Toolbar1->setObjectName("Toolbar1");
    addToolBar(Toolbar1);
    // Commands that open a dialog this program does not have yet are left out.
    struct Button {
        const char* key;
        const char* tip;
        const char* caption;
    };
    const Button buttons[] = {
        {"Exit", "Exit Application", "Exit"},
        {"Binocular", "Search For Appointment", "Search"},
        {"Write", "Make Appointment", "Write"},
        {"Calendar", "Calendar", "Calendar"},
        {"Config", "Configuration", "Config"},
        {"Group", "Group Definition", "Group"},
        {"Resource", "Resource Definition", "Resource"},
        {"Print", "Print Schedule", "Print"},
        {"Screen", "Schedule resolution", "View"},
        {"Help", "Online Help", "Help"},
    };
    for (const Button& b : buttons) Toolbar1->addButton(b.key, b.key, b.tip, QIcon(), b.caption);
    struct Entry {
        const char* button;
        const char* key;
        const char* text;
    };
    const Entry entries[] = {
        {"Group", "AddGroup", "&Add Group"},
        {"Group", "EditGroup", "&Edit Group"},
        {"Group", "DeleteGroup", "&Delete Group"},
        {"Resource", "AddRes", "&Add Resource"},
        {"Resource", "EditRes", "&Edit Resource"},
        {"Resource", "DeleteRes", "&Delete Resource"},
        {"Screen", "Hours", "Hourly"},
        {"Screen", "Days", "Daily"},
        {"Screen", "Weeks", "Weekly"},
    };
    for (const Entry& e : entries) Toolbar1->addMenuEntry(e.button, e.key, e.key, e.text);
    connect(Toolbar1, &plat::KeyedToolbar::ButtonClick, this,
            [this](const QString& key) { Toolbar1_ButtonClick(key); });
    connect(Toolbar1, &plat::KeyedToolbar::ButtonMenuClick, this,
            [this](const QString&, const QString& entry) { Toolbar1_ButtonMenuClick(entry); });

    CbGroup = new plat::ComboBox(client);
    CbGroup->setObjectName("CbGroup");
    CbGroup->setGeometry(8, kTopRow, 220, 24);
    ChkLegend = new QCheckBox("Legend", client);
    ChkLegend->setObjectName("ChkLegend");
    ChkLegend->setToolTip("Show legend");
    ChkLegend->setChecked(true);
    ChkLegend->setGeometry(240, kTopRow, 90, 24);
    SpinDate = new plat::Nudgel(Qt::Horizontal, client);
    SpinDate->setObjectName("SpinDate");
    SpinDate->setZeroArrow(plat::Nudgel::Arrow::Back);  // 0 steps a day back
    SpinDate->setGeometry(340, kTopRow, 48, 24);
    Scroll = new plat::Glidex(client);
    Scroll->setObjectName("Scroll");
    Scroll->setOrientation(Qt::Horizontal);
    Scroll->setGeometry(400, kTopRow + 4, 200, 16);
    Scroll->setToolTip("Zoom");

    Sched = new plat::Plexaro(client);
    Sched->setObjectName("Sched");
    Sched->move(4, kChartTop);
    LblUpdating = new QLabel("Updating Schedule", client);
    LblUpdating->setObjectName("LblUpdating");
    LblUpdating->setAlignment(Qt::AlignCenter);
    LblUpdating->setAutoFillBackground(true);
    LblUpdating->hide();

    Frame1 = new QGroupBox("Legend", client);
    Frame1->setObjectName("Frame1");
    Frame1->move(0, kChartTop);
    Frame1->resize(150, 300);
    auto* swatch = new QLabel(Frame1);
    swatch->setGeometry(10, 24, 16, 12);
    swatch->setAutoFillBackground(true);
    auto* caption = new QLabel(Frame1);
    caption->setGeometry(32, 22, 110, 16);
    LblColor.push_back(swatch);
    LblLegend.push_back(caption);
    swatch->installEventFilter(this);
    caption->installEventFilter(this);
    swatch->hide();
    caption->hide();

    ToolTips = new plat::Hintel(this);
    ToolTips->setObjectName("ToolTips");

    StatusBar1 = new plat::KeyedStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    setStatusBar(StatusBar1);
    StatusBar1->addPanel("Start", "", 80);
    StatusBar1->addPanel("End", "", 80);
    StatusBar1->addPanel("Task", "", 160, 1);
    StatusBar1->addPanel("Person", "", 160, 1);

    Timer1 = new plat::FormsTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setEnabled(false);
    connect(Timer1, &plat::FormsTimer::Timer, this, [this] { Timer1_Timer(); });
    connect(CbGroup, &plat::ComboBox::Click, this, [this] { CbGroup_Click(); });
    connect(ChkLegend, &QCheckBox::clicked, this, [this] { ChkLegend_Click(); });
    buildMenus();
    connectInteraction();
}

void DlgMain::buildMenus() {
    QMenuBar* bar = menuBar();
    // Entries that stand for a toolbar command run it through the toolbar's dispatchers.
    auto button = [this](QMenu* menu, const char* text, const QString& key) {
        menu->addAction(text, this, [this, key] { Toolbar1_ButtonClick(key); });
    };
    auto entry = [this](QMenu* menu, const char* text, const QString& key) {
        return menu->addAction(text, this, [this, key] { Toolbar1_ButtonMenuClick(key); });
    };
    mnuFile = bar->addMenu("&File");
    mnuFileConfiguration =
        mnuFile->addAction("&Configuration", this, [this] { Toolbar1_ButtonClick("Config"); });
    mnuFile->addSeparator();
    button(mnuFile, "&Print", "Print");
    mnuFile->addSeparator();
    button(mnuFile, "E&xit", "Exit");
    QMenu* view = bar->addMenu("&View");
    m_scales = new QActionGroup(this);  // exclusive: one time scale is shown
    for (QAction* a : {entry(view, "&Hours", "Hours"), entry(view, "&Days", "Days"),
                       entry(view, "&Weeks", "Weeks")}) {
        a->setCheckable(true);
        m_scales->addAction(a);
    }
    // The check follows the chart's scale, whichever way it was changed.
    connect(Sched, &plat::Plexaro::timeScaleChanged, this, [this] { tickScaleShown(); });
    tickScaleShown();
    mnuResource = bar->addMenu("&Resource");
    entry(mnuResource, "&New Group", "AddGroup");
    entry(mnuResource, "&Edit Group", "EditGroup");
    entry(mnuResource, "&Delete Group", "DeleteGroup");
    mnuResource->addAction("&Save Group Template", this,
                           [this] { mnuResourceSaveTemplate_Click(); });
    mnuResource->addAction("&Load Group Template", this,
                           [this] { mnuResourceLoadTemplate_Click(); });
    mnuResource->addSeparator();
    entry(mnuResource, "Ne&w Resource", "AddRes");
    entry(mnuResource, "Edi&t Resource", "EditRes");
    entry(mnuResource, "Delet&e Resource", "DeleteRes");
    QMenu* booking = bar->addMenu("&Appointment");
    button(booking, "Change &Date", "Calendar");
    booking->addSeparator();
    button(booking, "&Search For Appointment", "Binocular");
    button(booking, "&Add/Edit Booking", "Write");
    mnuTransfer = bar->addMenu("&Transfer");
    mnuTransfer->addAction("E&xport to CSV file", this, [this] { mnuTransferExport_Click(); });
    mnuTransfer->addSeparator();
    mnuTransfer->addAction("&Backup Database", this, [this] { mnuTransferBackup_Click(); });
    mnuTransfer->addAction("&Restore Database", this, [this] { mnuTransferRestore_Click(); });
    QMenu* help = bar->addMenu("&Help");
    button(help, "&Contents", "Help");
    help->addSeparator();
    help->addAction("&About", this, [this] { DlgAbout::ShowModal(this); });
}

bool DlgMain::TimerEnabled() const { return Timer1 && Timer1->enabled(); }

void DlgMain::SetTimerEnabled(bool on) {
    if (Timer1) Timer1->setEnabled(on);
}

void DlgMain::SetPanelText(const QString& key, const QString& text) {
    if (StatusBar1) StatusBar1->setPanelText(key, text);
}

void DlgMain::SetInputEnabled(bool on) {
    if (centralWidget()) centralWidget()->setEnabled(on);
    if (Toolbar1) Toolbar1->setEnabled(on);
    menuBar()->setEnabled(on);
}

bool DlgMain::Confirm(const QString& message) { return ModMain::Confirm(message); }

void DlgMain::ShowWaiting(bool on) {
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// A scale chosen from the menu is ticked as it is chosen: until the chart shows it (its
// rows may not be read), the tick stays on the scale shown.
void DlgMain::tickScaleShown() {
    if (QAction* a = m_scales->actions().value(Sched->timeScale())) a->setChecked(true);
}
