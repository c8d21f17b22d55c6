#include "BookingCommands.h"

#include <algorithm>

#include "CalendarState.h"
#include "ClsForms.h"
#include "DlgAppt.h"
#include "DlgApptHooks.h"
#include "DlgApptType.h"
#include "DlgCalendar.h"
#include "DlgContact.h"
#include "DlgMain.h"
#include "DlgRepeat.h"
#include "DlgSearch.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"
#include "SharedObjects.h"

namespace {
void buttonsOn(DlgMain& w, bool on) { SharedObjects::Forms().EnableButtons(*w.Toolbar1, on); }
}  // namespace

void BookingCommands::Calendar(DlgMain& main) {
    // Row 0 is the ruler: only a resource row names a resource.
    const int row = main.Sched->selectedRow();
    DlgCalendar::setResourceId(row > 0 ? main.Sched->rowData(row) : 0);
    buttonsOn(main, false);
    const int32_t shown = DlgCalendar::CalDate();
    DlgCalendar::ShowModal(&main);
    // A day that cannot be read is not shown: the schedule date stays the chart's.
    if (!main.setCurrentDate(DlgCalendar::CalDate())) DlgCalendar::setCalDate(shown);
    buttonsOn(main, true);
}

void BookingCommands::Search(DlgMain& main) {
    buttonsOn(main, false);
    DlgSearch::ShowModal(&main);
    buttonsOn(main, true);
}

void BookingCommands::InstallEditorDialogs() {
    DlgApptHooks& hooks = DlgApptHooks::Get();
    hooks.showCalendar = [] { DlgCalendar::ShowModal(&DlgAppt::Instance()); };
    hooks.showApptType = [] { DlgApptType::ShowModal(&DlgAppt::Instance()); };
    hooks.showContact = [](std::optional<int32_t> groupId) {
        DlgContact::ShowModal(&DlgAppt::Instance(), groupId);
    };
    hooks.showRepeat = [](const DlgApptHooks::Repeat& r) {
        // An editor list without a chosen entry hands -1: no customer, no type.
        DlgRepeat::ShowModal(
            &DlgAppt::Instance(),
            {r.apptDate, r.groupId, r.resourceId, r.startTime, r.endTime, std::max(r.taskId, 0),
             std::max(r.customerId, 0), r.ref01, r.ref02, r.ref03, r.comments});
    };
}
