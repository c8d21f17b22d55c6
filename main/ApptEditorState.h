#pragma once
#include <cstdint>
#include <functional>

// What the main window asks of the booking editor: whether it is shown, and to show its
// day afresh. Until the editor registers itself it is "not shown".
class ApptEditorState {
public:
    // Hands the editor its group, slot start (minutes), resource, task (0 = none) and
    // day, and shows it modally; false when there is no editor to show.
    using ShowFn = std::function<void(int32_t groupId, int16_t startTime, int32_t resourceId,
                                      int32_t taskId, int32_t apptDate)>;
    static bool Show(int32_t groupId, int16_t startTime, int32_t resourceId, int32_t taskId,
                     int32_t apptDate) {
        if (!instance().show) return false;
        instance().show(groupId, startTime, resourceId, taskId, apptDate);
        return true;
    }
    static void RegisterShow(ShowFn fn) { instance().show = std::move(fn); }

    static bool Visible() { return instance().visible && instance().visible(); }
    // After other workstations changed the bookings shown: the editor's resource chosen
    // again, which shows its day as stored now.
    static void RefreshDay() {
        if (instance().refreshDay) instance().refreshDay();
    }
    static void Register(std::function<bool()> visible, std::function<void()> refreshDay) {
        instance().visible = std::move(visible);
        instance().refreshDay = std::move(refreshDay);
    }

private:
    static ApptEditorState& instance() {
        static ApptEditorState s;
        return s;
    }
    std::function<bool()> visible;
    ShowFn show;
    std::function<void()> refreshDay;
};
