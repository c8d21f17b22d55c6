#pragma once
#include <QStringList>

#include "EventYield.h"

// While one lives, records how each EventYield::Run treats the user's clicks and keys.
struct YieldWatch {
    YieldWatch() {
        EventYield::WatchForTest([this](QEventLoop::ProcessEventsFlags f) {
            const char* kind = f & QEventLoop::ExcludeUserInputEvents ? "held" : "let through";
            if (!seen.contains(kind)) seen << kind;
        });
    }
    ~YieldWatch() { EventYield::WatchForTest(nullptr); }
    QStringList seen;  // each kind once, in the order first seen
};
