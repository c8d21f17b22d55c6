// The print preview's three reports and the frame of their pages. Positions are per-mille
// of the printable area; each table line is a band: a box with a rule at each column
// boundary, its texts at the band's top, the next band beginning on its bottom edge.
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "DlgPreview.h"
#include "EventYield.h"
#include "Glidex.h"
#include "IPreviewEditor.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "ReadAgain.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
const QString kFont = QStringLiteral("Arial");
// Day and month names in English, whatever the locale.
QString english(const QDate& date, const char* format) {
    return QLocale(QLocale::English).toString(date, QString::fromLatin1(format));
}
QString english(const QDateTime& moment, const char* format) {
    return QLocale(QLocale::English).toString(moment, QString::fromLatin1(format));
}
}  // namespace

void DlgPreview::DrawHeadFoot(const QString& title, int32_t day, int16_t page) {
    Viewer->Font(kFont, 8, 0, false, false);
    Viewer->Header("Rostima", english(QDateTime::currentDateTime(), "dddd, d MMMM yyyy hh:mm"),
                   "Page " + QString::number(page));
    Viewer->Footer(FooterNotice(), QString(), DlgMain::WebAddress());
    Viewer->DrawLine(0, 0, 1000, 0);
    Viewer->Font(kFont, 18, 0, true, false);
    const int32_t th = Viewer->TextHeight();
    Viewer->DrawLine(0, th + 8, 1000, th + 8);
    // The title has the room the date leaves it.
    const QString date = english(SharedObjects::Date().LongToDate(day), "dddd, d MMMM yyyy");
    const auto titleEnd = int16_t(1000 - std::min<int32_t>(Viewer->TextWidth(date), 1000) - 10);
    Viewer->DrawTextIn(0, 1, title, ClsViewPro::AlignLeft, 0, titleEnd);
    Viewer->DrawTextIn(1000, 1, date, ClsViewPro::AlignRight, 0, 1000);
}

void DlgPreview::drawBand(const Table& table, const QStringList& texts, int16_t& y) {
    const int32_t th = Viewer->TextHeight();
    Viewer->DrawBox(0, y - 2, 1000, y + th + 8);
    for (int16_t x : table.rules) Viewer->DrawLine(x, y - 2, x, y + th + 8);
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const Column& c = table.columns[i];
        Viewer->DrawCell(c.x, y, texts.value(int(i)), c.align, table.rules);
    }
    y = int16_t(y + th + 10);
}

void DlgPreview::runReport(const Table& table, int rowCount,
                           const std::function<QStringList(int row)>& cellsOf) {
    int16_t page = 1;
    bool heading = false;
    bool pageFull = false;  // the page rule was met: the next row begins a page
    int16_t y = 0;
    Viewer->StartDoc();
    LblPages->setText("Page 1 of 1");
    if (rowCount == 0) {
        // Nothing to show still makes a page that says so, not an empty document.
        Viewer->Font(kFont, 24, 0, true, false);
        Viewer->DrawTextIn(500, 100, "No Appointments!", ClsViewPro::AlignCentre, 0, 1000);
    }
    QStringList headings;
    for (const Column& c : table.columns) headings << QString::fromLatin1(c.heading);
    for (int row = 0; row < rowCount; ++row) {
        if (table.yieldPerRow) EventYield::Run();
        // A page is begun only for a row that needs it: no blank page after the last row.
        if (pageFull) {
            pageFull = false;
            ++page;
            Viewer->NewPage();
            Viewer->setPageNo(page);
            showPages(page);
        }
        if (!heading) {
            DrawHeadFoot(table.title(), table.day(), page);
            y = int16_t(Viewer->TextHeight() + 30);
            Viewer->Font(kFont, 14, 0, true, false);
            drawBand(table, headings, y);
            heading = true;
        }
        Viewer->Font(kFont, table.rowFontSize, 0, false, false);
        drawBand(table, cellsOf(row), y);
        if (y > 1000 - Viewer->TextHeight() - 10) {
            pageFull = true;
            heading = false;
        }
    }
    Viewer->EndDoc();
    Viewer->setPageNo(1);
    showPages(1);
    Viewer->setZoom(int16_t(Glidex1->position()));
}

void DlgPreview::showPages(int16_t page) {
    LblPages->setText(QString("Page %1 of %2").arg(page).arg(Viewer->PageCount()));
}

void DlgPreview::DrawDay() {
    if (m_drawing || !Viewer) return;
    m_drawing = true;
    EnableMe(false);
    const Table table{{200, 450, 700, 800, 900},
                      {{"Time", 100, ClsViewPro::AlignCentre},
                       {"Booking", 205, ClsViewPro::AlignLeft},
                       {"Reserved By", 455, ClsViewPro::AlignLeft},
                       {"Ref01", 705, ClsViewPro::AlignLeft},
                       {"Ref02", 805, ClsViewPro::AlignLeft},
                       {"Ref03", 905, ClsViewPro::AlignLeft}},
                      12,
                      false,
                      [this] { return m_editor.CbResource().currentText(); },
                      [this] { return m_editor.CurrentDate(); }};
    // The count is read once: the rows drawn are the ones the list held when it began.
    const plat::Tabrix& list = m_editor.LbTimeSlot();
    runReport(table, list.rowCount(), [&list](int row) {
        QStringList cells;
        for (int column = 1; column <= 6; ++column) cells << list.cellText(row, column);
        return cells;
    });
    EnableMe(true);
    m_drawing = false;
}

void DlgPreview::DrawCustomer() {
    if (m_repType == CustomerReport) showPicked();
}

void DlgPreview::DrawTask() {
    if (m_repType == TaskReport) showPicked();
}

void DlgPreview::showPicked() {
    // An entry of the list shown asks for the report shown, whichever button was pressed
    // since: its button shows so.
    m_asked = {m_repType, forms().GetComboData(*CbSelect)};
    showChoice(m_repType);
    ReportRead->Note(showEntry(m_asked.entry));
}

void DlgPreview::showChoice(int16_t report) {
    const QSignalBlocker quiet(Option1[report]);
    Option1[report]->setChecked(true);
}

std::unique_ptr<ClsRecordset> DlgPreview::readBookings(int16_t report, int32_t id) {
    const bool customer = report == CustomerReport;
    const int32_t day = m_editor.CurrentDate();
    // Field 0 is the looked-up name, field 1 the resource's; the names are joined to ''
    // as text, so a missing one stays empty.
    QString sql;
    if (customer) {
        sql =
            "select (select TaskName from tblTasks where "
            "TaskId = tblBookings.TaskId) + '', (select ResourceName from tblResources "
            "where ResourceId = tblBookings.ResourceId) + '', * from tblBookings where "
            "CustomerId = " +
            QString::number(id);
    } else {
        sql =
            "select (select CustomerName from tblCustomers where "
            "CustomerId = tblBookings.CustomerId), (select ResourceName from tblResources "
            "where ResourceId = tblBookings.ResourceId), * from tblBookings where TaskId = " +
            QString::number(id);
    }
    sql += " and BookingDate >= " + QString::number(day) + " order by BookingDate, BookingStart";
    if (customer) SharedObjects::Log().LogMsg(sql);
    auto rs = SharedObjects::DAO().SqlQuery(sql);
    // The document shown stays until the report could be read.
    if (!rs)
        SharedObjects::Log().LogMsg(customer ? "Error in DlgPreview.DrawCustomer"
                                             : "Error in DlgPreview.DrawTask");
    return rs;
}

void DlgPreview::drawBookings(int16_t report, ClsRecordset& rs) {
    if (m_drawing || !Viewer) return;
    m_drawing = true;
    EnableMe(false);
    const int32_t day = m_editor.CurrentDate();
    const Table table{{120, 240, 450, 700, 800, 900},
                      {{"Date", 60, ClsViewPro::AlignCentre},
                       {"Time", 180, ClsViewPro::AlignCentre},
                       {report == CustomerReport ? "Task" : "Customer", 245, ClsViewPro::AlignLeft},
                       {"Resource", 455, ClsViewPro::AlignLeft},
                       {"Ref01", 705, ClsViewPro::AlignLeft},
                       {"Ref02", 805, ClsViewPro::AlignLeft},
                       {"Ref03", 905, ClsViewPro::AlignLeft}},
                      8,
                      true,
                      [this] { return CbSelect->currentText(); },
                      [day] { return day; }};
    ClsDate& date = SharedObjects::Date();
    runReport(table, rs.RecordCount(), [&](int) {
        const auto start = int16_t(rs.Field("BookingStart").toInt());
        QString time = date.ShowTime(start, true);
        if (m_militaryTime)
            time += " - " + date.ShowTime(int16_t(rs.Field("BookingEnd").toInt()), true);
        const QStringList cells{
            english(date.LongToDate(rs.Field("BookingDate").toInt()), "dd MMM yyyy"),
            time,
            rs.Field(0).toString(),
            rs.Field(1).toString(),
            rs.Field("Ref01").toString(),
            rs.Field("Ref02").toString(),
            rs.Field("Ref03").toString()};
        rs.MoveNext();
        return cells;
    });
    EnableMe(true);
    m_drawing = false;
}

void DlgPreview::EnableMe(bool enabled) {
    SharedObjects::Forms().EnableButtons(*Toolbar1, enabled);
    SpinDate->setEnabled(enabled);
    // The day report has nothing to choose.
    CbSelect->setEnabled(enabled && (m_repType == CustomerReport || m_repType == TaskReport));
    PageSpin->setEnabled(enabled);
    for (QMenu* menu : {mnuFile, mnuDate, mnuResource}) menu->menuAction()->setEnabled(enabled);
    mnuHelp->setEnabled(enabled);
    Glidex1->setEnabled(enabled);
    EventYield::Run();
}

void DlgPreview::ViewPro1_Error(int16_t number, const QString& text) {
    SharedObjects::Log().LogMsg("ViewPro Error (" + QString::number(number) + "): " + text);
}
