#pragma once
#include <QPoint>
#include <cstdint>

#include "PlexaroModel.h"
#include "PlexaroView.h"

// What lies under a point of the chart: which band, which row, which day and minute and
// which bar. It uses the same geometry as the painter, so a pixel that shows a bar is a
// pixel that finds it.
namespace plat {

struct PlexaroHit {
    enum class Area { None, Title, Ruler, List, Time };
    Area area = Area::None;
    int row = -1;         // 1..N over a resource row (list or time area), else -1
    bool onTime = false;  // the point lies over a shown day: day and minute are valid
    int32_t day = 0;      // day number
    int minute = 0;       // minutes since midnight
    int bar = -1;         // the bar drawn on top at the point, -1 = none
};

class PlexaroHitTester {
public:
    PlexaroHitTester(const PlexaroModel& model, const PlexaroView& view)
        : m_model(model), m_view(view) {}

    // p in the painted area's coordinates (the chart's viewport).
    PlexaroHit at(const QPoint& p) const;

private:
    int barAt(int row, const QPoint& p, int32_t day) const;

    const PlexaroModel& m_model;
    const PlexaroView& m_view;
};

}  // namespace plat
