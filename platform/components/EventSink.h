#pragma once
#include <QVariantList>
#include <functional>
#include <map>

#include "DispatchTable.h"

// Stand-in for an event interface a container implements: the control calls Invoke with
// the event's dispatch id and arguments; the container has said with On what to do for
// each event it handles. Events without a handler are ignored.
namespace plat {

class EventSink {
public:
    using Handler = std::function<void(const QVariantList& args)>;

    virtual ~EventSink() = default;
    void On(DispId event, Handler handler);
    virtual void Invoke(DispId event, const QVariantList& args);

private:
    std::map<DispId, Handler> m_handlers;
};

}  // namespace plat
