#pragma once
#include <QString>
#include <cstdint>

class QWidget;

// Help: one topic per context number in the help document "Rostima.HLP" of the program
// folder, shown in a help window that the main window owns (so it closes with it, also
// when a dialog asked for it).
namespace ContextIDs {

enum Context : int32_t {
    IDH_ABOUT = 10,  // about box and start-up form
    IDH_APPTTYPE = 30,
    IDH_PREVIEW = 40,
    IDH_MAIN = 50,  // main window and the group-template chooser
    IDH_GROUP = 60,
    IDH_CONTACT = 70,
    IDH_CONFIG = 80,
    IDH_CALENDAR = 90,
    IDH_APPT = 100,
    IDH_RESOURCE = 110,
    IDH_REPEAT = 230,
    IDH_SEARCH = 250,
};

// Names the help file and the owner of every help window; called once at start-up.
void SetHelpFile(QWidget* owner);
void ShowHelp(int32_t ContextId);
void CloseHelp();

// The help file's path and the shown context (-1 = none), for tests.
QString HelpFile();
int32_t ShownContext();

}  // namespace ContextIDs
