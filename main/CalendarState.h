#pragma once
#include <cstdint>

// What the calendar form holds for the whole program: the current schedule date and the
// resource it ticks when it next opens. Reading and writing do nothing else (they never
// show the calendar).
class CalendarState {
public:
    // Day number; 0 until it is first written.
    static int32_t CalDate() { return instance().m_calDate; }
    static void setCalDate(int32_t day) { instance().m_calDate = day; }
    // ResourceId whose box the calendar ticks; 0 = none.
    static int32_t ResourceId() { return instance().m_resourceId; }
    static void setResourceId(int32_t id) { instance().m_resourceId = id; }

private:
    static CalendarState& instance() {
        static CalendarState s;
        return s;
    }
    int32_t m_calDate = 0;
    int32_t m_resourceId = 0;
};
