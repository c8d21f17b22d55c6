#pragma once
#include <QList>
#include <string>

#include "EventYield.h"

// Records the events each EventYield::Run lets run while it lives.
class YieldWatch {
public:
    YieldWatch() {
        EventYield::WatchForTest([this](QEventLoop::ProcessEventsFlags f) { m_yields << f; });
    }
    ~YieldWatch() { EventYield::WatchForTest(nullptr); }
    YieldWatch(const YieldWatch&) = delete;
    YieldWatch& operator=(const YieldWatch&) = delete;

    // "none" when nothing yielded since the last look, else "held" when every yield held
    // the user's clicks and keys back, "let through" when none did, "mixed" otherwise; the
    // record starts afresh.
    std::string Take() {
        qsizetype held = 0;
        for (QEventLoop::ProcessEventsFlags f : m_yields)
            if (f.testFlag(QEventLoop::ExcludeUserInputEvents)) ++held;
        const qsizetype all = m_yields.size();
        m_yields.clear();
        if (all == 0) return "none";
        return held == all ? "held" : held == 0 ? "let through" : "mixed";
    }

private:
    QList<QEventLoop::ProcessEventsFlags> m_yields;
};
