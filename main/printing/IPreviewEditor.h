#pragma once
#include <QString>
#include <cstdint>

class QWidget;
namespace plat {
class ComboBox;
class Tabrix;
}  // namespace plat

// What the print preview reads and moves of the booking editor: the preview has no date
// or resource of its own, and its day report prints the editor's slot list as it stands.
class IPreviewEditor {
public:
    virtual ~IPreviewEditor() = default;
    // The editor's window: the preview is centred over it and then takes its place.
    virtual QWidget* EditorWindow() = 0;
    // The day number the editor shows.
    virtual int32_t CurrentDate() = 0;
    // Makes the day the editor's and the program's date.
    virtual void setApptDate(int32_t day) = 0;
    // Reloads the slot list for the editor's resource and date.
    virtual void ShowBookings() = 0;
    // The editor's resource list; selecting an entry reloads the slot list.
    virtual plat::ComboBox& CbResource() = 0;
    // The slot list: rows from 0; columns 1..6 are the slot's time, the booked type, the
    // customer, Ref01, Ref02 and Ref03.
    virtual plat::Tabrix& LbTimeSlot() = 0;
};
