#pragma once

class DlgMain;

// The main window's commands that open the booking dialogs.
class BookingCommands {
public:
    // "Calendar": ticks the resource of the chart's selected row, shows the month calendar
    // and moves the chart to the date the calendar holds when it closes.
    static void Calendar(DlgMain& main);
    // "Binocular": the booking search.
    static void Search(DlgMain& main);
};
