#include "BookingCommands.h"

#include "CalendarState.h"
#include "ClsForms.h"
#include "DlgCalendar.h"
#include "DlgMain.h"
#include "DlgSearch.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"
#include "SharedObjects.h"

namespace {
void buttonsOn(DlgMain& main, bool on) {
    SharedObjects::Forms().EnableButtons(*main.Toolbar1, on);
}
}  // namespace

void BookingCommands::Calendar(DlgMain& main) {
    // Row 0 is the ruler: only a resource row names a resource.
    const int row = main.Sched->selectedRow();
    DlgCalendar::setResourceId(row > 0 ? main.Sched->rowData(row) : 0);
    buttonsOn(main, false);
    DlgCalendar::ShowModal(&main);
    main.setCurrentDate(DlgCalendar::CalDate());
    buttonsOn(main, true);
}

void BookingCommands::Search(DlgMain& main) {
    buttonsOn(main, false);
    DlgSearch::ShowModal(&main);
    buttonsOn(main, true);
}
