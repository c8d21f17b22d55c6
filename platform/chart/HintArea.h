#pragma once
#include <QPoint>

// A widget that shows pop-up hints only over some of its parts (the chart: over its
// bars) says where. Hintel asks before it shows its text over such a widget, so a hint
// never lingers over empty space.
namespace plat {

class HintArea {
public:
    virtual ~HintArea() = default;
    // p in the widget's own coordinates.
    virtual bool hasHintAt(const QPoint& p) const = 0;
};

}  // namespace plat
