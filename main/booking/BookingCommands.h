#pragma once

class DlgMain;

// The commands of the main window and the booking editor that open the booking dialogs.
class BookingCommands {
public:
    // "Calendar": ticks the resource of the chart's selected row, shows the month calendar
    // and moves the chart to the date the calendar holds when it closes.
    static void Calendar(DlgMain& main);
    // "Binocular": the booking search.
    static void Search(DlgMain& main);
    // Lets the booking editor open the month calendar, the repeat-series dialog and the
    // type and customer editors (each over the editor).
    static void InstallEditorDialogs();
};
