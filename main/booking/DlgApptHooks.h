#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The dialogs the booking editor opens, each registered by that dialog itself: until one
// is registered, the editor's command for it does nothing and shows nothing. Each one is
// shown modally and returns when it has closed.
struct DlgApptHooks {
    // What the repeat dialog is handed: the booking shown in the editor (minutes since
    // midnight, day number, ids; -1 = no entry chosen in that list).
    struct Repeat {
        int32_t apptDate = 0;
        int16_t startTime = 0, endTime = 0;
        int32_t groupId = 0, resourceId = 0, customerId = 0, taskId = 0;
        QString ref01, ref02, ref03, comments;
    };

    // Repeats the booking over a series of dates; the editor redisplays its day after.
    std::function<void(const Repeat&)> showRepeat;
    // The month calendar: CalendarState holds the resource to tick (set before) and the
    // chosen date (read after).
    std::function<void()> showCalendar;
    // The appointment-type editor on the shared ClsTask: TaskId is 0 afterwards when it
    // was cancelled.
    std::function<void()> showApptType;
    // The customer editor on the shared ClsCustomer: CustomerId is 0 afterwards when it
    // was cancelled. groupId: the group a new customer starts in; none for an edit, which
    // leaves the dialog's group as it was.
    std::function<void(std::optional<int32_t> groupId)> showContact;
    // The print preview of the editor's day: it moves the editor's date and resource and
    // reads the slot list row by row.
    std::function<void()> showPreview;

    static DlgApptHooks& Get() {
        static DlgApptHooks hooks;
        return hooks;
    }
};
