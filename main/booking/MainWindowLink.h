#pragma once
#include <cstdint>

class DlgMain;

// How the booking dialogs reach the program's main window: the window itself and the
// group its chart shows.
class MainWindowLink {
public:
    // The main window, or none (before it exists or after it has gone).
    static DlgMain* Find();
    // GroupId of the entry selected in the main window's group list; -1 when none.
    static int32_t GroupId();
};
