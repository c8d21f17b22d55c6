#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

#include "PlexaroModel.h"
#include "PlexaroView.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// Draws the schedule chart: title, ruler, resource column, weekend shading, the selected
// row and the time bars. Only what lies in the asked-for rectangle is drawn: the rows and
// days there, and of their bars only those the model's day index yields. The bars' places
// are kept between paints, grouped by colour, and worked out again only when the data,
// the range, the scroll position or the size change. The only file that uses QPainter.
namespace plat {

class PlexaroPainter {
public:
    // Paints the part `clip` of the chart onto a widget's viewport or an image.
    void paint(QPaintDevice& device, const PlexaroModel& model, const PlexaroView& view,
               const QRect& clip);

    // Prints every row over the whole range, fitted to the page width and continued on
    // further pages: the title above and the footer with "Page n of m" below on each.
    // Only pages fromPage to toPage (from 1; 0 = no bound) are printed, the last of them
    // first when lastFirst is set.
    // False when the device cannot be painted on (no printer, a file not writable).
    bool print(QPagedPaintDevice& device, const PlexaroModel& model, const PlexaroView& view,
               const QString& title, const QString& footer, int fromPage = 0, int toPage = 0,
               bool lastFirst = false);

    // Time the last paint() took, in nanoseconds.
    int64_t lastPaintNanoseconds() const { return m_lastPaintNs; }
    // Bars placed for the last screen paint: those in the visible rows and days.
    int lastBarCount() const { return m_lastBarCount; }

private:
    struct ColourGroup {
        uint32_t colour;
        std::vector<QRect> rects;
    };
    // The bars of one row that are too thin for an outline, as one line of pixels that is
    // stretched to the bars' height when drawn: a row of hundreds of one-pixel bars (the
    // week view) then costs one image instead of hundreds of rectangles.
    struct ThinStrip {
        QRect target;
        QImage line;
    };
    struct BarText {
        QRect rect;
        QString text;
        uint32_t colour;
    };
    struct CacheKey {
        uint64_t revision = ~uint64_t(0);
        PlexaroTimeScale scale;
        PlexaroRowLayout rows;
        int listWidth = 0;
        int64_t scrollX = 0;
        QSize size;
        qint64 palette = 0;
        bool greyBars = false;
        bool operator==(const CacheKey& o) const;
    };
    struct BarCache {
        CacheKey key;
        std::vector<ColourGroup> groups;
        std::vector<ThinStrip> strips;
        std::vector<BarText> texts;
        int barCount = 0;
    };

    // Thin bars become strips on screen; a printout keeps every bar a rectangle.
    void paintWith(QPainter& p, const PlexaroModel& model, const PlexaroView& view,
                   const QRect& clip, BarCache& bars, bool thinStrips);
    static void collectBars(const PlexaroModel& model, const PlexaroView& view, BarCache& bars,
                            bool thinStrips);
    static void paintTimeArea(QPainter& p, const PlexaroView& v, const BarCache& bars,
                              const QRect& area);
    static void paintGrid(QPainter& p, const PlexaroView& v, const QRect& area);
    static void paintList(QPainter& p, const PlexaroModel& model, const PlexaroView& v,
                          const QRect& area);
    static void paintRuler(QPainter& p, const PlexaroView& v, const QRect& area);
    static void paintHourMarks(QPainter& p, const PlexaroView& v, const QRect& lower,
                               int32_t firstDay, int32_t lastDay);
    static void paintDayMarks(QPainter& p, const PlexaroView& v, const QRect& lower,
                              int32_t firstDay, int32_t lastDay);
    static void paintTitle(QPainter& p, const PlexaroView& v);

    BarCache m_cache;
    int64_t m_lastPaintNs = 0;
    int m_lastBarCount = 0;
};

}  // namespace plat
