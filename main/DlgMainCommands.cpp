// DlgMain: the toolbar's commands and the menu bar's own entries.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>

#include "AppInfo.h"
#include "BookingCommands.h"
#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DlgMain.h"
#include "DlgRestore.h"
#include "FormsTimer.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "Plexaro.h"
#include "SharedObjects.h"
#include "WholeFile.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
ClsForms& forms() { return SharedObjects::Forms(); }
// "yyyymmdd-hhnnss": the leading number is the date, which the restore dialog lists by.
QString stampNow() { return QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss"); }
}  // namespace

QString DlgMain::PrintTitle(int32_t day) {
    const QDate date = SharedObjects::Date().LongToDate(day);
    return "Rostima - " + QLocale(QLocale::English).toString(date, "dddd d MMMM yyyy");
}

QString DlgMain::PrintFooter() {
    return "Rostima! " + ModMain::VersionNumber() + " - " + WebAddress();
}

void DlgMain::buttonsOn(bool on) { forms().EnableButtons(*Toolbar1, on); }

// After a button command the refresh period is [Config] UpdateCheck seconds, by default
// the period that ran before in whole seconds.
void DlgMain::rearmTimer() {
    const int period = Timer1->interval();
    const int64_t seconds = ini().GetNumber("Config", "UpdateCheck", period / 1000);
    if (seconds * 1000 <= plat::FormsTimer::kMaxInterval && seconds >= 0)
        Timer1->setInterval(static_cast<int>(seconds * 1000));
    Timer1->setEnabled(true);
}

void DlgMain::Toolbar1_ButtonClick(const QString& key) {
    Timer1->setEnabled(false);
    const QString tag = Toolbar1->tag(key);
    if (tag == "Exit") {
        exitProgram();
        return;  // the timer stays off
    }
    if (tag == "Config") {
        showConfig();
    } else if (tag == "Group") {
        Toolbar1_ButtonMenuClick("AddGroup");
    } else if (tag == "Resource") {
        Toolbar1_ButtonMenuClick("AddRes");
    } else if (tag == "Screen") {
        Toolbar1_ButtonMenuClick("Hours");
    } else if (tag == "Help") {
        buttonsOn(false);
        ContextIDs::ShowHelp(ContextIDs::IDH_MAIN);
        buttonsOn(true);
    } else if (tag == "Write") {
        // Row 0 is the ruler: without resource rows there is nobody to book.
        if (Sched->rowCount() <= 1) {
            ModMain::Warning("No resources configured!");
        } else {
            buttonsOn(false);
            Sched_ListDblClick(Sched->selectedRow() > 0 ? Sched->selectedRow() : 1);
            buttonsOn(true);
        }
    } else if (tag == "Calendar") {
        BookingCommands::Calendar(*this);
    } else if (tag == "Binocular") {
        BookingCommands::Search(*this);
    } else if (tag == "Print") {
        buttonsOn(false);
        const bool colour = ini().GetNumber("Options", "ColourPrint", 0) != 0;
        Sched->setPrintTitle(PrintTitle(CalendarState::CalDate()));
        Sched->setPrintColourBars(colour);
        Sched->setPrintFooter(PrintFooter());
        Sched->setPrintColourBackgrounds(colour);
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        if (plat::ModalHook::Exec(dialog) == QDialog::Accepted && !Sched->print(printer))
            ModMain::Warning("Unable to print the schedule!");
        buttonsOn(true);
    }
    rearmTimer();
}

void DlgMain::exitProgram() {
    buttonsOn(false);
    ini().WriteValue("Sched", "ListWidth", static_cast<int16_t>(Sched->listWidth()));
    // A dialog still open would use the shared objects after their release: then the next
    // tick unloads, once it is closed.
    if (QApplication::activeModalWidget()) {
        Closing = true;
        Timer1->setInterval(100);
        Timer1->setEnabled(true);
        return;
    }
    unloadFromProgram();
}

void DlgMain::Toolbar1_ButtonMenuClick(const QString& entryKey) {
    const int32_t group = forms().GetComboData(*CbGroup);
    const int row = Sched->selectedRow();
    if (entryKey == "AddGroup") {
        addGroup();
    } else if (entryKey == "EditGroup") {
        editGroup(group);
    } else if (entryKey == "AddRes") {
        addResource(group);
    } else if (entryKey == "EditRes") {
        editResource(row);
    } else if (entryKey == "DeleteGroup") {
        if (CbGroup->ListIndex() < 0) {
            ModMain::Warning("No group selected!");
            return;
        }
        if (!ModMain::Confirm("Confirm delete selected group?")) return;
        buttonsOn(false);
        if (SharedObjects::Group().Delete(group))
            ShowGroups(SharedObjects::Group().GroupId());
        else
            ModMain::NotWritten("Unable to delete the group!", "deleted");
        buttonsOn(true);
    } else if (entryKey == "DeleteRes") {
        if (row <= 0) {
            ModMain::Warning("No resource selected!");
            return;
        }
        if (!ModMain::Confirm("Confirm delete selected resource?")) return;
        buttonsOn(false);
        if (SharedObjects::Resource().Delete(Sched->rowData(row)))
            ShowResources(SharedObjects::Resource().ResourceId());
        else
            ModMain::NotWritten("Unable to delete the resource!", "deleted");
        buttonsOn(true);
    } else if (entryKey == "Hours" || entryKey == "Days" || entryKey == "Weeks") {
        buttonsOn(false);
        ChartView view = currentView();
        view.scale = entryKey == "Hours" ? 0 : entryKey == "Days" ? 1 : 2;
        // A range that cannot be read is not shown as empty: the chart keeps its scale,
        // and the scale is stored once it is shown.
        loadChart({.view = view, .newScale = true});  // told when it fails
        tickScaleShown();
        buttonsOn(true);
    }
}

void DlgMain::mnuResourceSaveTemplate_Click() {
    const int32_t group = forms().GetComboData(*CbGroup);
    if (group < 0) {
        ModMain::Warning("No group selected!");
        return;
    }
    // Said when it could not: the user must not believe it saved.
    ModMain::NotDone("Unable to save the group template!",
                     SharedObjects::Group().SaveTemplate(group), "saved");
}

void DlgMain::mnuTransferBackup_Click() {
    const QString folder = ClsDAO::BackupFolder();
    QDir().mkpath(folder);
    const QString file = folder + "/" + stampNow() + ".txt";
    const Saved saved = SharedObjects::DAO().Backup(file);
    if (saved == Saved::Done)
        plat::MsgBox("Database backed up to " + file, plat::vbOKOnly | plat::vbInformation,
                     "Backup");
    else
        ModMain::NotDone("Unable to back up the database!", saved, "backed up");
}

void DlgMain::mnuTransferRestore_Click() {
    DlgRestore dialog(this);
    plat::ModalHook::Exec(dialog);
    const QString file = DlgRestore::BackupFile();
    if (file.isEmpty()) return;
    ClsDAO& dao = SharedObjects::DAO();
    const ClsDAO::RestoreReport& report = dao.LastRestore();
    if (dao.Restore(file)) {
        QString text = "Database restored from " + file;
        auto note = [&text](int count, const char* what) {
            if (count > 0) text += "\n\n" + QString(what).arg(count);
        };
        note(report.groupsLeftOut,
             "%1 group(s) left out with their resources, types, customers and bookings: a "
             "day that ends before it starts.");
        if (report.LostBookings() > 0) {
            text += QString("\n\n%1 booking(s) could not be restored:").arg(report.LostBookings());
            const std::pair<int, const char*> reasons[] = {
                {report.noResource, "no such resource in the group"},
                {report.noType, "no such appointment type in the group"},
                {report.noCustomer, "no such customer in the group"},
                {report.clashes, "a clash with another booking"},
                {report.alikeClashes,
                 "a clash on the first of several resources of one name: this older backup "
                 "does not tell them apart"},
                {report.badTimes, "an end not after its start, or a time outside the day"},
                {report.inGroupLeftOut, "their group was left out"}};
            for (const auto& [count, why] : reasons)
                if (count > 0) text += QString("\n%1: %2").arg(count).arg(why);
        }
        note(report.alike,
             "%1 booking(s) restored on the first of several resources, types or customers of "
             "one name (with no customer named, on none): this older backup does not tell them "
             "apart.");
        const bool noted = report.groupsLeftOut + report.LostBookings() + report.alike > 0;
        plat::MsgBox(text, plat::vbOKOnly | (noted ? plat::vbExclamation : plat::vbInformation),
                     "Restore");
    } else if (!report.declined) {
        // The reason is the restore's own: the file cut short, added to, not a backup, the
        // database busy (told here: the reload below does not repeat it), ...
        dao.NoteFailureTold();
        ModMain::Warning("Unable to restore the database: it is unchanged." +
                         (report.refusal.isEmpty() ? QString() : "\n" + report.refusal));
    }
    ShowGroups(static_cast<int32_t>(ini().GetNumber("Group", "CbGroup", 0)));
}

// The bookings of the group shown, one line each, to "Export/<stamp>.csv" in the
// program folder.
void DlgMain::mnuTransferExport_Click() {
    const int32_t group = forms().GetComboData(*CbGroup);
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select r.ResourceName, b.BookingDate, b.BookingStart, b.BookingEnd, t.TaskName, "
                "c.CustomerName, b.Ref01, b.Ref02, b.Ref03, b.Comments from tblBookings b "
                "join tblResources r on r.ResourceId = b.ResourceId "
                "left join tblTasks t on t.TaskId = b.TaskId "
                "left join tblCustomers c on c.CustomerId = b.CustomerId "
                "where r.GroupId = %1 order by b.BookingDate, r.ResourceName, b.BookingStart")
            .arg(group));
    if (!rs) {
        ModMain::NotRead("Unable to export the bookings!", "exported");
        return;
    }
    auto field = [](QString text) { return "\"" + text.replace("\"", "\"\"") + "\""; };
    QByteArray text = "Resource,Date,Start,End,Type,Customer,Ref01,Ref02,Ref03,Comments\n";
    ClsDate& date = SharedObjects::Date();
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList line{field(rs->Field(0).toString()),
                         date.LongToDate(rs->Field(1).toInt()).toString("yyyy-MM-dd"),
                         date.MilitaryTime(static_cast<int16_t>(rs->Field(2).toInt())),
                         date.MilitaryTime(static_cast<int16_t>(rs->Field(3).toInt()))};
        for (int c = 4; c < 10; ++c) line << field(rs->Field(c).toString());
        text += line.join(',').toUtf8() + '\n';
    }
    const QString folder = plat::AppPath() + "/Export";
    QDir().mkpath(folder);
    // The file appears only whole: a write that fails (a full disk) leaves none.
    const QString file = folder + "/" + stampNow() + ".csv";
    if (const plat::WholeFile::Result written = plat::WholeFile::Write(file, text);
        written.Failed()) {
        SharedObjects::Log().LogMsg("Error in DlgMain.mnuTransferExport_Click (" +
                                    written.LogText() + ")");
        ModMain::NotStored("Unable to export the bookings!", written, "exported");
        return;
    }
    plat::MsgBox("Bookings exported to " + file, plat::vbOKOnly | plat::vbInformation, "Export");
}
