#include "DlgConfig.h"

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "AppInfo.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ColourPickerHost.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DialogParts.h"
#include "Folvo.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "Nudgel.h"
#include "Plexaro.h"
#include "ReadAgain.h"
#include "SharedObjects.h"
#include "ViewProPaper.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
ClsForms& forms() { return SharedObjects::Forms(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
QString tagOf(const QObject* control) { return control->property("Tag").toString(); }

// The chart's current colour of the property a colour button mirrors.
uint32_t chartColour(const plat::Plexaro& chart, const QString& property) {
    using Get = uint32_t (plat::Plexaro::*)() const;
    const std::pair<const char*, Get> properties[] = {
        {"TitleBackColor", &plat::Plexaro::titleBackColor},    // 11
        {"ListBackColor", &plat::Plexaro::listBackColor},      // 21
        {"WeekendColor", &plat::Plexaro::weekendColor},        // 86
        {"RulerBackColor", &plat::Plexaro::rulerBackColor},    // 16
        {"BackColor", &plat::Plexaro::backColor},              // -501
        {"SelectBackColor", &plat::Plexaro::selectBackColor},  // 25
    };
    for (const auto& [name, get] : properties)
        if (property == name) return (chart.*get)();
    return 0;
}

// True when the file opens as one of our databases, on a connection of its own.
bool opensAsDatabase(const QString& path) {
    ClsDAO probe;
    return probe.DbOpen(path) == 0;
}
}  // namespace

DlgConfig::DlgConfig(QWidget* parent, const plat::Plexaro& chart)
    : QDialog(parent), m_chart(chart) {
    setObjectName("DlgConfig");
    setWindowTitle("Configuration");
    setModal(true);
    buildControls();
    Customers = new ReadAgain(this, [this] { return readCustomers(); });
    Tasks = new ReadAgain(this, [this] { return readTasks(); });
}

void DlgConfig::ShowModal(QWidget* owner, const plat::Plexaro& chart) {
    DlgConfig dialog(owner, chart);
    dialog.Form_Load();
    plat::ModalHook::Exec(dialog);
}

QString DlgConfig::DefaultDatabase() { return plat::AppPath() + "/Rostima.mdb"; }

int32_t DlgConfig::PurgeCutOff(int64_t period) {
    return SharedObjects::Date().DateToLong(QDate::currentDate()) -
           static_cast<int32_t>(std::clamp<int64_t>(period, 0, 100000));
}

QString DlgConfig::PurgeDate(int64_t period) {
    return QLocale(QLocale::English)
        .toString(SharedObjects::Date().LongToDate(PurgeCutOff(period)), "d MMM yyyy");
}

void DlgConfig::Form_Load() {
    adjustSize();
    resize(width(), std::max(height(), 5865 / kTwipsPerPixel));
    DialogParts::CentreOverMain(*this);
    for (QPushButton* button : BtnColour) {
        const int32_t current = static_cast<int32_t>(chartColour(m_chart, tagOf(button)));
        // Negative numbers are system colours (top bit set).
        const int64_t stored = ini().GetNumber("Colours", tagOf(button), current);
        SetButtonColour(*button, static_cast<uint32_t>(static_cast<int32_t>(stored)));
    }
    // Ticking a box runs its click step, as the user's tick would.
    for (QCheckBox* box : ChkOption)
        box->setChecked(ini().GetNumber("Options", tagOf(box), 0) != 0);
    TxtDatabase->setText(ini().GetValue("Config", "DbName", DefaultDatabase()));
    LblPurge->setText(PurgeDate(ini().GetNumber("Config", "PurgePeriod", 90)));
    CbPageSize->Clear();
    // The papers the print preview knows, by the code PageSize keeps; Letter unless set.
    using plat::ViewProPaper;
    for (int code = ViewProPaper::kFirst; code <= ViewProPaper::kLast; ++code)
        forms().AddComboItem(*CbPageSize, ViewProPaper::Name(code), code);
    forms().SetComboData(*CbPageSize, static_cast<int32_t>(ini().GetNumber("Options", "PageSize",
                                                                           ViewProPaper::kFirst)));
    Customers->Read();
    Tasks->Read();
    Changed = false;
}

// All customers and appointment types of every group, each list with an empty entry, the
// stored default chosen (which is no edit of the user's).
bool DlgConfig::readCustomers() {
    const bool changed = Changed;
    if (!forms().FillCombo(*CbCustomer,
                           "select CustomerName, CustomerId from tblCustomers order by "
                           "CustomerName",
                           true, true))
        return false;
    forms().SetComboData(*CbCustomer,
                         static_cast<int32_t>(ini().GetNumber("Options", "DefCustomer", 0)));
    Changed = changed;
    return true;
}

bool DlgConfig::readTasks() {
    const bool changed = Changed;
    if (!forms().FillCombo(*CbTask, "select TaskName, TaskId from tblTasks order by TaskName", true,
                           true))
        return false;
    forms().SetComboData(*CbTask, static_cast<int32_t>(ini().GetNumber("Options", "DefTask", 0)));
    Changed = changed;
    return true;
}

void DlgConfig::BtnFind_Click() {
    FilDlg->setSaveDialog(false);
    FilDlg->setTitle("Find Database File");
    FilDlg->setFileMustExist(true);
    FilDlg->setInitialFile(TxtDatabase->text().trimmed());
    FilDlg->setFilter("Database Files (*.mdb)|*.mdb");
    FilDlg->setPathMustExist(true);
    FilDlg->setMultiSelect(false);
    FilDlg->show();
}

bool DlgConfig::SwitchDatabase(ClsDAO& dao, const QString& path) {
    if (!opensAsDatabase(path)) return false;
    const QString old = dao.DbPath();
    const int opens = std::max(dao.OpenCount(), 1);
    while (dao.OpenCount() > 0) dao.DbClose();
    if (dao.DbOpen(path) != 0) {
        // The file changed since it was checked: back to the one that was in use.
        dao.DbClose();
        for (int i = 0; i < opens; ++i) dao.DbOpen(old);
        return false;
    }
    for (int i = 1; i < opens; ++i) dao.DbOpen(path);
    return true;
}

void DlgConfig::FilDlg_OK() {
    const QString path = FilDlg->fileName();
    if (!QFileInfo(path).isFile()) {
        Changed = true;
        return;
    }
    log("Database change requested");
    if (!SwitchDatabase(SharedObjects::DAO(), path)) {
        ModMain::Warning("Unable to open database " + path + "!\nThe database in use stays open.");
        return;
    }
    TxtDatabase->setText(path);
    Changed = true;
}

void DlgConfig::BtnColour_Click(int index) {
    LastColour = static_cast<int16_t>(index);
    ColourPick->Show(ButtonColour(*BtnColour[static_cast<size_t>(index)]));
}

void DlgConfig::ColourPick_ColorClick(uint32_t colour, int) {
    if (LastColour < 0 || LastColour >= static_cast<int16_t>(BtnColour.size())) return;
    SetButtonColour(*BtnColour[static_cast<size_t>(LastColour)], colour);
    Changed = true;
}

void DlgConfig::SpinPurge_Click(int16_t d) {
    Changed = true;
    // A period that is no 16-bit number, or would leave that range, stays as it is.
    bool ok = false;
    const int period = ini().GetValue("Config", "PurgePeriod", 90).trimmed().toShort(&ok);
    const int next = period + (d == 0 ? 1 : -1);
    if (!ok || next < INT16_MIN || next > INT16_MAX) {
        log("Error in DlgConfig.SpinPurge_Click");
        return;
    }
    ini().WriteValue("Config", "PurgePeriod", next);
    LblPurge->setText(PurgeDate(next));
}

void DlgConfig::BtnPurge_Click() {
    const int64_t period = ini().GetNumber("Config", "PurgePeriod", 90);
    const int32_t cutOff = PurgeCutOff(period);
    if (!ModMain::Confirm("Delete every appointment before " + PurgeDate(period) + "?")) return;
    ClsDAO& dao = SharedObjects::DAO();
    if (!dao.SqlAction("delete from tblBookings where BookingDate < ?", {cutOff})) {
        ModMain::NotWritten("Unable to purge the appointments!", "deleted");
        return;
    }
    plat::MsgBox(QString("%1 appointments deleted.").arg(dao.LastRowsAffected()),
                 plat::vbOKOnly | plat::vbInformation, "Purge");
}

void DlgConfig::CbPageSize_Click() {
    Changed = true;
    PageSizeCode = static_cast<int16_t>(forms().GetComboData(*CbPageSize));
}

void DlgConfig::CbCustomer_Click() { Changed = true; }

void DlgConfig::CbTask_Click() { Changed = true; }

void DlgConfig::ChkOption_Click(int index) {
    Changed = true;
    const QCheckBox* box = ChkOption[static_cast<size_t>(index)];
    if (tagOf(box) == "AggressiveDebug") SharedObjects::DAO().setAggressiveDebug(box->isChecked());
}

void DlgConfig::Toolbar1_ButtonClick(const QString& key) {
    const QString tag = Toolbar1->tag(key);
    if (tag == "Exit")
        exit();
    else if (tag == "Save")
        save();
    else if (tag == "Help")
        ContextIDs::ShowHelp(ContextIDs::IDH_CONFIG);
}

void DlgConfig::save() {
    Changed = false;
    for (const QPushButton* button : BtnColour)
        ini().WriteValue("Colours", tagOf(button), static_cast<int32_t>(ButtonColour(*button)));
    for (const QCheckBox* box : ChkOption)
        ini().WriteValue("Options", tagOf(box), box->isChecked() ? 1 : 0);
    // A file the next start could not open is not stored: that start would end at once.
    // Nor one longer than a setting is read back: the next start would look for another.
    const QString database = TxtDatabase->text().trimmed();
    const bool current = database == SharedObjects::DAO().DbPath();
    if (database.size() > ClsIni::kLongestValue)
        ModMain::Warning("The database file " + database + " has a path longer than " +
                         QString::number(ClsIni::kLongestValue) +
                         " characters: the database setting is unchanged.");
    else if (!database.isEmpty() && QFileInfo(database).isFile() &&
             (current || opensAsDatabase(database)))
        ini().WriteValue("Config", "DbName", database);
    else
        ModMain::Warning("The database file " + database +
                         " cannot be opened: the database setting is unchanged.");
    ini().WriteValue("Options", "PageSize", PageSizeCode);
    if (!Customers->Unread())
        ini().WriteValue("Options", "DefCustomer", forms().GetComboData(*CbCustomer));
    if (!Tasks->Unread()) ini().WriteValue("Options", "DefTask", forms().GetComboData(*CbTask));
}

void DlgConfig::exit() {
    if (Changed && plat::MsgBox("Do you wish to save the changes?",
                                plat::vbYesNo | plat::vbQuestion, "Save?") == plat::vbYes)
        Toolbar1_ButtonClick("Save");
    accept();
}

void DlgConfig::EnableMe(bool enabled) {
    forms().EnableButtons(*Toolbar1, enabled);
    mnuFile->setEnabled(enabled);
    mnuHelp->setEnabled(enabled);
    for (QWidget* w :
         std::initializer_list<QWidget*>{BtnPurge, SpinPurge, TxtDatabase, BtnFind, CbPageSize})
        w->setEnabled(enabled);
    for (QPushButton* button : BtnColour) button->setEnabled(enabled);
}
