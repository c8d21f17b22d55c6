// DlgMain: layout, load step, commands and the date-pair guard of the test utility.
#include "DlgMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <optional>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "FormsTimer.h"
#include "Kalvo.h"
#include "KeyedStatusBar.h"
#include "ListBox.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
constexpr int kTw = DlgMain::kTwipsPerPixel;
QRect twips(int left, int top, int width, int height) {
    return {left / kTw, top / kTw, width / kTw, height / kTw};
}

// A note's text as the forms runtime draws it: "&" underlines the letter after it (the
// mnemonic), "&&" is one "&". The note takes no shortcut of its own: the button has it.
QString withMnemonic(const QString& text) {
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            const QString letter = QString(text[i]).toHtmlEscaped();
            html += text[i] == '&' ? letter : "<u>" + letter + "</u>";
        } else {
            html += QString(text[i]).toHtmlEscaped();
        }
    }
    return html;
}
}  // namespace

DlgMain::DlgMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("DlgMain");
    setWindowTitle("Rostima Test (UNSUPPORTED SOFTWARE)");
    buildControls();
}

DlgMain::~DlgMain() {
    if (SharedObjects::Host() == this) SharedObjects::SetHost(nullptr);
}

void DlgMain::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(9540 / kTw, 6090 / kTw);
    setCentralWidget(client);
    const char* frames[] = {"Start Date", "End Date", "Include Groups", "Options"};
    const QRect frameAt[] = {twips(120, 120, 3255, 2895), twips(120, 3120, 3255, 2895),
                             twips(3480, 120, 3255, 3735), twips(3480, 3960, 3255, 615)};
    for (int i = 0; i < 4; ++i) {
        Frame1[i] = new QGroupBox(frames[i], client);
        Frame1[i]->setGeometry(frameAt[i]);
    }
    // The calendars start at today's date: a range near now is what a run usually wants.
    const int32_t today = SharedObjects::Date().DateToLong(QDate::currentDate());
    for (int i = 0; i < 2; ++i) {
        Kalvo1[i] = new plat::Kalvo(Frame1[i]);
        Kalvo1[i]->setObjectName(QString("Kalvo1%1").arg(i));
        Kalvo1[i]->setGeometry(twips(120, 240, 3015, 2535));
        Kalvo1[i]->setValue(today);
        connect(Kalvo1[i], &plat::Kalvo::DateChange, this, [this, i] { Kalvo1_Changed(i); });
    }
    const char* buttons[] = {"&Test", "E&xit"};
    for (int i = 0; i < 2; ++i) {
        BtnTest[i] = new QPushButton(buttons[i], client);
        BtnTest[i]->setObjectName(QString("BtnTest%1").arg(i));
        BtnTest[i]->setGeometry(twips(3480, 4680 + i * 720, 3255, 615));
        connect(BtnTest[i], &QPushButton::clicked, this, [this, i] { BtnTest_Click(i); });
    }
    // Esc is Exit; while a run has Exit disabled, a click on it does nothing.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, BtnTest[1],
            &QPushButton::click);
    LbGroups = new plat::ListBox(Frame1[2]);
    LbGroups->setObjectName("LbGroups");
    LbGroups->SetCheckList(true);
    LbGroups->setGeometry(twips(120, 240, 3015, 3435));
    Check1 = new QCheckBox("Delete current appointments", Frame1[3]);
    Check1->setObjectName("Check1");
    Check1->setGeometry(twips(120, 240, 3015, 255));
    QWidget* const order[] = {Kalvo1[0], Kalvo1[1], BtnTest[0], BtnTest[1], LbGroups, Check1};
    for (int i = 0; i + 1 < 6; ++i) setTabOrder(order[i], order[i + 1]);
    const struct {
        int top, height;
        const char* text;
    } labels[] = {
        {240, 615,
         "This utility will automatically create random appointments within the currently "
         "defined schedule."},
        {960, 855,
         "Use this utility with care - it will permanently erase existing data from the "
         "database, no recovery is possible."},
        {1920, 255, "Usage:"},
        {2280, 615,
         "1) Set the start and end date for which you wish to create a random schedule."},
        {3000, 615, "2) Tick the resource group(s) you wish to schedule random appointments for."},
        {3720, 855,
         "3) If you wish to delete current appointments on the sected groups and date range, "
         "check the 'Delete current appointments' checkbox"},
        {4680, 255, "4) Click the '&Test' button."},
    };
    // Our font is larger than the one the notes were placed for: each takes the lines it
    // needs and starts below the one before, and the window grows when they run past it.
    int next = 0;
    for (int i = 0; i < 7; ++i) {
        Label1[i] = new QLabel(withMnemonic(labels[i].text), client);
        Label1[i]->setTextFormat(Qt::RichText);
        Label1[i]->setWordWrap(true);
        QRect at = twips(6840, labels[i].top, 2535, labels[i].height);
        at.moveTop(std::max(at.top(), next));
        at.setHeight(std::max(at.height(), Label1[i]->heightForWidth(at.width())));
        Label1[i]->setGeometry(at);
        next = at.bottom() + 5;
    }
    const int grow = std::max(0, next - client->height());
    client->setFixedSize(client->width(), client->height() + grow);
    StatusBar1 = new plat::KeyedStatusBar(this);
    StatusBar1->addPanel("Date", QString(), 0, 1);
    StatusBar1->addPanel("Appt", QString(), 0, 1);
    StatusBar1->setFixedHeight(375 / kTw);
    setStatusBar(StatusBar1);
    Timer1 = new plat::FormsTimer(this);  // no interval: it never ticks
    setFixedSize(9540 / kTw, 6465 / kTw + grow);
}

bool DlgMain::Form_Load() {
    SharedObjects::Log().setHwnd(static_cast<int32_t>(winId() & 0xFFFFFFFF));
    SharedObjects::SetHost(this);
    SharedObjects::Forms().CentreForm(*this, nullptr);
    Running = CancelRequested = false;
    ClsIni& ini = SharedObjects::Ini();
    ini.setIniFile(plat::AppPath() + "/Rostima.ini");
    // Read as the default, the database would be none or another one than the file names.
    if (const std::optional<QString> unread = ini.ReadFailure()) {
        plat::MsgBox(*unread + "\nThe program ends; nothing was changed.",
                     plat::vbOKOnly | plat::vbExclamation, "Warning!");
        return false;
    }
    ClsDAO& dao = SharedObjects::DAO();
    dao.DbOpen(ini.GetValue("Config", "DbName", ""));  // held until the program ends
    LbGroups->Clear();
    auto rs = dao.SqlQuery("select GroupId, GroupName from tblGroups order by GroupName");
    if (!rs) {
        SharedObjects::Log().LogMsg(
            err::AtLine("DlgMain.Form_Load", err::ObjectNotSet, 6, "No record set"));
        return true;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        EventYield::Run();
        SharedObjects::Forms().AddListItem(*LbGroups, rs->Field("GroupName").toString(),
                                           rs->Field("GroupId").toInt());
    }
    return true;
}

void DlgMain::BtnTest_Click(int Index) {
    if (Index == 1) {
        close();
        return;
    }
    if (Index != 0) return;
    if (Running) {
        CancelRequested = true;  // the run stops at its next check
        return;
    }
    if (plat::MsgBox("This will destroy your current schedule. Are you sure you wish to "
                     "continue?",
                     plat::vbYesNo | plat::vbExclamation | plat::vbDefaultButton2,
                     "Confirm") != plat::vbYes)
        return;
    Running = true;
    CancelRequested = false;
    RunTest();
    Running = false;
    if (m_closeAfterRun) close();
}

void DlgMain::Kalvo1_Changed(int Index) {
    const int32_t start = Kalvo1[0]->value();
    const int32_t end = Kalvo1[1]->value();
    if (end >= start) return;
    // Moving the other calendar raises its own change, which then finds the pair in order.
    if (Index == 1)
        Kalvo1[0]->setValue(end);
    else
        Kalvo1[1]->setValue(start);
}

void DlgMain::closeEvent(QCloseEvent* event) {
    // The run works on this window's controls: it ends first, as a cancel, and the window
    // closes once it has.
    if (Running) {
        CancelRequested = true;
        m_closeAfterRun = true;
        event->ignore();
        return;
    }
    m_closeAfterRun = false;
    event->accept();
}

void DlgMain::lockInputs(bool locked) {
    for (QWidget* input :
         std::initializer_list<QWidget*>{BtnTest[1], Kalvo1[0], Kalvo1[1], LbGroups, Check1})
        input->setEnabled(!locked);
    BtnTest[0]->setText(locked ? "Cancel Test" : "&Test");
}

bool DlgMain::TimerEnabled() const { return Timer1->enabled(); }
void DlgMain::SetTimerEnabled(bool on) { Timer1->setEnabled(on); }
void DlgMain::SetPanelText(const QString& key, const QString& text) {
    StatusBar1->setPanelText(key, text);  // "Task" and "Person" are not here: ignored
}
void DlgMain::SetInputEnabled(bool on) { centralWidget()->setEnabled(on); }

void DlgMain::ShowWaiting(bool on) {
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool DlgMain::Confirm(const QString& message) {
    return plat::MsgBox(message, plat::vbYesNo | plat::vbQuestion | plat::vbDefaultButton2,
                        "Confirm") == plat::vbYes;
}
