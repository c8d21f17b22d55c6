#include "EventSink.h"

namespace plat {

void EventSink::On(DispId event, Handler handler) { m_handlers[event] = std::move(handler); }

void EventSink::Invoke(DispId event, const QVariantList& args) {
    const auto it = m_handlers.find(event);
    if (it != m_handlers.end() && it->second) it->second(args);
}

}  // namespace plat
