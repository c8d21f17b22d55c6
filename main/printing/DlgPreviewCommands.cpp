// The print preview's commands: the report choice, paging, zoom, the editor's date and
// resource, and the toolbar.
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include "ClsDAO.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DlgCalendar.h"
#include "DlgPreview.h"
#include "Glidex.h"
#include "IPreviewEditor.h"
#include "KeyedToolbar.h"
#include "MainWindowLink.h"
#include "ReadAgain.h"
#include "SharedObjects.h"

namespace {
ClsForms& forms() { return SharedObjects::Forms(); }
}  // namespace

void DlgPreview::SelectReport(int index) {
    if (index < 0 || index > 2) return;
    if (Option1[index]->isChecked()) {
        Option1_Click(index);
    } else {
        Option1[index]->setChecked(true);  // its toggle runs the choice step
    }
}

void DlgPreview::Option1_Click(int index) {
    if (m_drawing) {
        // The choice waits for nobody: the report being drawn stays the one chosen.
        showChoice(m_repType);
        return;
    }
    if (index < 0 || index > 2) {
        SharedObjects::Log().LogMsg("Error in DlgPreview.Option1_Click");
        return;
    }
    m_asked = {int16_t(index), -1};
    if (index != DayReport) {
        ReportRead->Note(showReport(int16_t(index), -1));
        return;
    }
    setRepType(DayReport);
    m_entry = -1;
    CbSelect->Clear();
    CbSelect->setEnabled(false);
    DrawDay();
    ReportRead->Note(true);  // nothing to read
}

bool DlgPreview::showReport(int16_t report, int32_t choose) {
    const QString group = QString::number(MainWindowLink::GroupId());
    const QString sql =
        report == CustomerReport
            ? "select CustomerName, CustomerId from "
              "tblCustomers where CustomerId in (select CustomerId from tblCustomerGroups "
              " where GroupId = " +
                  group + ") order by CustomerName"
            : "select TaskName, TaskId from tblTasks where GroupId = " + group +
                  " order by TaskName";
    // The list and the report of its first entry (or the one chosen) are read before
    // either is shown: a list of one report never stands beside another's document.
    const auto list = forms().ReadEntries(sql, choose);
    auto rs = list ? readBookings(report, list->chosen) : nullptr;
    if (!rs) return false;
    setRepType(report);
    // The report shown is the one its button shows, also after a read that was due.
    showChoice(report);
    forms().ShowEntries(*CbSelect, *list);
    m_entry = list->chosen;
    drawBookings(report, *rs);
    return true;
}

bool DlgPreview::showEntry(int32_t id) {
    auto rs = readBookings(m_repType, id);
    if (!rs) return false;
    m_entry = id;
    drawBookings(m_repType, *rs);
    return true;
}

void DlgPreview::CbSelect_Click() {
    if (m_drawing) return;
    switch (m_repType) {
        case DayReport:
            DrawDay();
            break;
        case CustomerReport:
            DrawCustomer();
            break;
        case TaskReport:
            DrawTask();
            break;
        default:
            SharedObjects::Log().LogMsg("Error in DlgPreview.CbSelect_Click");
    }
}

void DlgPreview::Glidex1_Change(int position) {
    SharedObjects::Ini().WriteValue("Preview", "Zoom", position);
    if (Viewer) Viewer->setZoom(int16_t(position));
}

void DlgPreview::PageSpin_Click(int16_t direction) {
    if (m_drawing || !Viewer) return;
    const int16_t page = Viewer->PageNo();
    if (direction != 0) {
        if (page < Viewer->PageCount()) Viewer->setPageNo(int16_t(page + 1));
    } else if (page >= 2) {
        Viewer->setPageNo(int16_t(page - 1));
    }
    showPages(Viewer->PageNo());
    Viewer->setZoom(int16_t(Glidex1->position()));
}

void DlgPreview::SpinDate_Click(int16_t direction) {
    if (m_drawing) return;
    const int32_t day = m_editor.CurrentDate();
    m_editor.setApptDate(direction == 0 ? day - 1 : day + 1);
    m_editor.ShowBookings();
    SelectReport(DayReport);
}

void DlgPreview::Toolbar1_ButtonClick(const QString& key) {
    if (m_drawing) return;
    const QString tag = Toolbar1->tag(key);
    if (tag == "Exit") {
        close();
    } else if (tag == "Calendar") {
        forms().EnableButtons(*Toolbar1, false);
        ShowCalendar();
        // Also when the calendar was closed without a choice: the editor then reloads
        // its unchanged day.
        m_editor.setApptDate(DlgCalendar::CalDate());
        SelectReport(m_asked.report);
        forms().EnableButtons(*Toolbar1, true);
    } else if (tag == "Print") {
        if (Viewer) Viewer->PrintPreview();
    } else if (tag == "ArrowLeft") {
        plat::ComboBox& resources = m_editor.CbResource();
        if (resources.ListIndex() >= 1) {
            resources.SetListIndex(resources.ListIndex() - 1);
            SelectReport(DayReport);
        }
    } else if (tag == "ArrowRight") {
        plat::ComboBox& resources = m_editor.CbResource();
        if (resources.ListIndex() < resources.count() - 1) {
            resources.SetListIndex(resources.ListIndex() + 1);
            SelectReport(DayReport);
        }
    } else if (tag == "Help") {
        ContextIDs::ShowHelp(ContextIDs::IDH_PREVIEW);
    }
}

void DlgPreview::ShowCalendar() { DlgCalendar::ShowModal(this); }
