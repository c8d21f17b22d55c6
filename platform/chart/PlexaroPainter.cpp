#include "PlexaroPainter.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "OleColor.h"
#include "PlexaroCalendar.h"
#include "TextColourOn.h"

namespace plat {
namespace {

const QColor kGridColour(200, 200, 200);
const QColor kStrongGridColour(150, 150, 150);
constexpr int kLabelGap = 3;         // pixels between a tick and its label
constexpr int kOutlineMinWidth = 4;  // narrower bars are drawn without an outline
constexpr int kBarGap = 1;           // pixels an outlined bar leaves free at its right end
constexpr int kTextInset = 2;        // pixels between a bar's ends and its text

QColor greyed(const QColor& c) {
    const int g = qGray(c.rgb());
    return QColor(g, g, g);
}

QColor backColour(const PlexaroView& v, uint32_t ole) {
    const QColor c = OleToQColor(ole, v.palette);
    return v.greyBackgrounds ? greyed(c) : c;
}

QColor barColour(const PlexaroView& v, uint32_t ole) {
    const QColor c = OleToQColor(ole, v.palette);
    return v.greyBars ? greyed(c) : c;
}

struct DayRange {
    int32_t first;
    int32_t last;
};

// The days that reach into the visible part of the time area.
std::optional<DayRange> visibleDays(const PlexaroView& v) {
    const int64_t from = std::max<int64_t>(v.scrollX, 0);
    const int64_t to = std::min(v.scale.width(), v.scrollX + v.timeAreaWidth()) - 1;
    if (to < from) return std::nullopt;
    const auto first = v.scale.at(from);
    const auto last = v.scale.at(to);
    if (!first || !last) return std::nullopt;
    return DayRange{first->day, last->day};
}

int vx(const PlexaroView& v, int64_t timeX) {
    return int(std::clamp<int64_t>(v.toViewportX(timeX), -1, int64_t(v.size.width()) + 1));
}

int rowsBottom(const PlexaroView& v) {
    return std::min(v.size.height(), v.rows.rowTop(v.rows.rowCount + 1));
}

// Draws a text in rect, kept to the columns from `left` to `right` that show and
// shortened with "…" where it does not fit: no text is cut mid-letter.
void drawFitted(QPainter& p, QRect rect, int left, int right, int align, const QString& text) {
    rect.setLeft(std::max(rect.left(), left));
    rect.setRight(std::min(rect.right(), right));
    if (rect.width() <= 0) return;
    p.drawText(rect, align, p.fontMetrics().elidedText(text, Qt::ElideRight, rect.width()));
}

// Where a line closing the range goes: its right end, or the time area's last pixel
// when the range ends right at the area's edge; nothing when it ends out of view.
std::optional<int> closingX(const PlexaroView& v) {
    const int64_t x = v.toViewportX(v.scale.width());
    const int right = v.timeLeft() + v.timeAreaWidth() - 1;
    if (x < v.timeLeft() || x > right + 1) return std::nullopt;
    return int(std::min<int64_t>(x, right));
}

}  // namespace

bool PlexaroPainter::CacheKey::operator==(const CacheKey& o) const {
    const auto& a = scale;
    const auto& b = o.scale;
    return revision == o.revision && a.firstDay == b.firstDay && a.lastDay == b.lastDay &&
           a.dayStart == b.dayStart && a.dayEnd == b.dayEnd && a.kind == b.kind &&
           a.zoom == b.zoom && rows.top == o.rows.top && rows.rowHeight == o.rows.rowHeight &&
           rows.rowCount == o.rows.rowCount && rows.scrollY == o.rows.scrollY &&
           listWidth == o.listWidth && scrollX == o.scrollX && size == o.size &&
           palette == o.palette && greyBars == o.greyBars;
}

void PlexaroPainter::paint(QPaintDevice& device, const PlexaroModel& model, const PlexaroView& view,
                           const QRect& clip) {
    QElapsedTimer timer;
    timer.start();
    QPainter p(&device);
    paintWith(p, model, view, clip, m_cache, true);
    m_lastPaintNs = timer.nsecsElapsed();
    m_lastBarCount = m_cache.barCount;
}

void PlexaroPainter::paintWith(QPainter& p, const PlexaroModel& model, const PlexaroView& v,
                               const QRect& clip, BarCache& bars, bool thinStrips) {
    const CacheKey key{model.revision(),     v.scale,   v.rows, v.listWidth, v.scrollX, v.size,
                       v.palette.cacheKey(), v.greyBars};
    if (!(bars.key == key)) {
        collectBars(model, v, bars, thinStrips);
        bars.key = key;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(v.font);
    const QRect all(QPoint(0, 0), v.size);
    const QRect timeArea(v.timeLeft(), v.rows.top, v.timeAreaWidth(), v.size.height() - v.rows.top);
    paintTimeArea(p, v, bars, timeArea & clip);
    paintList(p, model, v, QRect(0, v.rows.top, v.timeLeft(), timeArea.height()) & clip);
    paintRuler(p, v, QRect(0, v.titleHeight, v.size.width(), v.rulerHeight) & clip);
    p.setClipRect(all & clip);
    paintTitle(p, v);
}

void PlexaroPainter::collectBars(const PlexaroModel& model, const PlexaroView& v, BarCache& bars,
                                 bool thinStrips) {
    bars.groups.clear();
    bars.strips.clear();
    bars.texts.clear();
    bars.barCount = 0;
    const auto days = visibleDays(v);
    if (!days) return;
    const int64_t left = v.scrollX;
    const int64_t right = v.scrollX + v.timeAreaWidth();
    const int areaLeft = v.timeLeft();
    const int areaWidth = v.timeAreaWidth();
    const int last = v.rows.lastVisibleRow(v.size.height());
    const QFontMetrics fm(v.font);
    const int minTextWidth = fm.averageCharWidth() * 2;
    size_t group = 0;
    uint32_t lastOle = ~0u;  // the colour last turned into pixels
    QRgb lastRgb = 0;
    for (int row = v.rows.firstVisibleRow(); row <= last; ++row) {
        QRgb* strip = nullptr;
        model.forEachBar(row, days->first, days->last, [&](int, const PlexaroBar& b) {
            const auto span = v.scale.span(b.startDay, b.startMinute, b.endDay, b.endMinute);
            if (span.first == span.second || span.second <= left || span.first >= right) return;
            const QRect r = v.barRect(row, span);
            ++bars.barCount;
            if (thinStrips && r.width() < kOutlineMinWidth) {
                if (!strip) {
                    QImage line(areaWidth, 1, QImage::Format_ARGB32_Premultiplied);
                    line.fill(Qt::transparent);
                    bars.strips.push_back({QRect(areaLeft, r.top(), areaWidth, r.height()), line});
                    strip = reinterpret_cast<QRgb*>(bars.strips.back().line.scanLine(0));
                }
                if (b.colour != lastOle) {
                    lastOle = b.colour;
                    lastRgb = barColour(v, b.colour).rgb();
                }
                const int from = std::max(r.left() - areaLeft, 0);
                const int to = std::min(r.left() + r.width() - areaLeft, areaWidth);
                std::fill(strip + from, strip + std::max(from, to), lastRgb);
                return;
            }
            // Bookings of one task share a colour and often follow one another.
            if (group >= bars.groups.size() || bars.groups[group].colour != b.colour) {
                group = 0;
                while (group < bars.groups.size() && bars.groups[group].colour != b.colour) ++group;
                if (group == bars.groups.size()) bars.groups.push_back({b.colour, {}});
            }
            bars.groups[group].rects.push_back(r);
            if (!b.text.isEmpty() && r.width() >= minTextWidth) {
                // A text longer than the part of its bar in view ends in "…" rather than
                // being cut mid-letter, at either edge.
                QRect room = r.adjusted(kTextInset, 0, -kTextInset - kBarGap, 0);
                room.setLeft(std::max(room.left(), areaLeft + kTextInset));
                room.setRight(std::min(room.right(), areaLeft + areaWidth - 1 - kTextInset));
                const QString shown = fm.elidedText(b.text, Qt::ElideRight, room.width());
                if (!shown.isEmpty()) bars.texts.push_back({room, shown, b.colour});
            }
        });
    }
}

void PlexaroPainter::paintTimeArea(QPainter& p, const PlexaroView& v, const BarCache& bars,
                                   const QRect& area) {
    if (area.isEmpty()) return;
    p.setClipRect(area);
    p.fillRect(area, backColour(v, v.colours.back));
    const int top = v.rows.top;
    const int bottom = rowsBottom(v);
    if (const auto days = visibleDays(v)) {
        const QColor weekend = backColour(v, v.colours.weekend);
        for (int32_t d = days->first; d <= days->last; ++d) {
            if (!PlexaroCalendar::isWeekend(d)) continue;
            const int x1 = vx(v, v.scale.xOfDay(d));
            const int x2 = vx(v, v.scale.xOfDay(d + 1));
            p.fillRect(QRect(x1, top, x2 - x1, bottom - top), weekend);
        }
    }
    if (v.selectedRow >= 1 && v.selectedRow <= v.rows.rowCount) {
        p.fillRect(
            QRect(v.timeLeft(), v.rows.rowTop(v.selectedRow), v.timeAreaWidth(), v.rows.height()),
            backColour(v, v.colours.selectBack));
    }
    paintGrid(p, v, area);
    for (const ThinStrip& s : bars.strips) p.drawImage(s.target, s.line);
    std::vector<QRect> outlined;
    std::vector<QRect> thin;
    for (const ColourGroup& g : bars.groups) {
        // drawRects outlines one pixel outside the fill: shrink to keep the bars' width,
        // less the gap that keeps a bar apart from the one that follows it. Bars too thin
        // for an outline are drawn in their colour only.
        outlined.clear();
        thin.clear();
        for (const QRect& r : g.rects) {
            if (r.width() >= kOutlineMinWidth)
                outlined.push_back(r.adjusted(0, 0, -1 - kBarGap, -1));
            else
                thin.push_back(r);
        }
        const QColor fill = barColour(v, g.colour);
        p.setBrush(fill);
        p.setPen(fill.darker(160));
        p.drawRects(outlined.data(), int(outlined.size()));
        p.setPen(Qt::NoPen);
        p.drawRects(thin.data(), int(thin.size()));
    }
    p.setBrush(Qt::NoBrush);
    for (const BarText& t : bars.texts) {
        p.setPen(TextColourOn(barColour(v, t.colour)));
        p.drawText(t.rect, Qt::AlignLeft | Qt::AlignVCenter, t.text);
    }
}

void PlexaroPainter::paintGrid(QPainter& p, const PlexaroView& v, const QRect& area) {
    const int top = v.rows.top;
    const int bottom = rowsBottom(v);
    if (const auto days = visibleDays(v)) {
        for (int32_t d = days->first; d <= days->last; ++d) {
            // In the week view the weeks stand out; elsewhere every day does.
            const bool strong =
                v.scale.kind != PlexaroTimeScale::Weeks || PlexaroCalendar::isMonday(d);
            p.setPen(strong ? kStrongGridColour : kGridColour);
            const int x = vx(v, v.scale.xOfDay(d));
            p.drawLine(x, top, x, bottom - 1);
            if (v.scale.kind != PlexaroTimeScale::Hours) continue;
            p.setPen(kGridColour);
            const int firstHour = (v.scale.firstMinute() + 59) / 60;
            const int end = v.scale.firstMinute() + v.scale.minutesPerDay();
            for (int m = firstHour * 60; m < end; m += 60) {
                const int hx = vx(v, v.scale.xOf(d, m));
                if (hx != x) p.drawLine(hx, top, hx, bottom - 1);
            }
        }
    }
    if (const auto x = closingX(v)) {  // the last hour or day is closed too
        p.setPen(kStrongGridColour);
        p.drawLine(*x, top, *x, bottom - 1);
    }
    p.setPen(kGridColour);
    const int last = v.rows.lastVisibleRow(v.size.height());
    for (int row = v.rows.firstVisibleRow(); row <= last; ++row) {
        const int y = v.rows.rowTop(row + 1) - 1;
        p.drawLine(area.left(), y, area.right(), y);
    }
}

void PlexaroPainter::paintList(QPainter& p, const PlexaroModel& model, const PlexaroView& v,
                               const QRect& area) {
    if (area.isEmpty()) return;
    p.setClipRect(area);
    const QColor back = backColour(v, v.colours.listBack);
    const QColor selected = backColour(v, v.colours.selectBack);
    const int width = v.timeLeft();
    p.fillRect(QRect(0, v.rows.top, width, v.size.height() - v.rows.top), back);
    const int last = v.rows.lastVisibleRow(v.size.height());
    for (int row = v.rows.firstVisibleRow(); row <= last; ++row) {
        const QRect cell(0, v.rows.rowTop(row), width, v.rows.height());
        const bool isSelected = row == v.selectedRow;
        if (isSelected) p.fillRect(cell, selected);
        p.setPen(TextColourOn(isSelected ? selected : back));
        const QRect name = cell.adjusted(4, 0, -4, 0);
        drawFitted(p, name, name.left(), name.right(), Qt::AlignLeft | Qt::AlignVCenter,
                   model.rowText(row));
        p.setPen(kGridColour);
        p.drawLine(0, cell.bottom(), width - 1, cell.bottom());
    }
    p.setPen(kStrongGridColour);
    p.drawLine(width - 1, v.rows.top, width - 1, v.size.height() - 1);
}

void PlexaroPainter::paintRuler(QPainter& p, const PlexaroView& v, const QRect& area) {
    if (area.isEmpty()) return;
    p.setClipRect(area);
    const QColor back = backColour(v, v.colours.rulerBack);
    p.fillRect(QRect(0, v.titleHeight, v.size.width(), v.rulerHeight), back);
    p.setPen(kStrongGridColour);
    p.drawLine(0, v.rows.top - 1, v.size.width() - 1, v.rows.top - 1);
    p.drawLine(v.timeLeft() - 1, v.titleHeight, v.timeLeft() - 1, v.rows.top - 1);

    const auto days = visibleDays(v);
    if (!days) return;
    const QRect ruler(v.timeLeft(), v.titleHeight, v.timeAreaWidth(), v.rulerHeight);
    p.setClipRect(ruler & area);
    const int half = v.rulerHeight / 2;
    const QRect upper(ruler.left(), ruler.top(), ruler.width(), half);
    const QRect lower(ruler.left(), ruler.top() + half, ruler.width(), v.rulerHeight - half);
    const QColor ink = TextColourOn(back);

    // Upper line: a date label per day in the hour view, per month otherwise; each label
    // is kept within its own day or month, and shortened with "…" when it does not fit.
    // The last one may move left into the room before it rather than be cut by the edge.
    const QFontMetrics fm(v.font);
    const bool hours = v.scale.kind == PlexaroTimeScale::Hours;
    int labelsEnd = ruler.left();  // right end of the labels drawn so far
    for (int32_t d = days->first; d <= days->last; ++d) {
        const bool starts = hours || d == days->first || PlexaroCalendar::dateOf(d).day() == 1;
        if (!starts) continue;
        int32_t next = d + 1;
        while (!hours && next <= days->last && PlexaroCalendar::dateOf(next).day() != 1) ++next;
        const int x1 = std::max(vx(v, v.scale.xOfDay(d)), ruler.left());
        const int x2 = std::min(vx(v, v.scale.xOfDay(next)), ruler.right() + 1);
        p.setPen(kStrongGridColour);
        p.drawLine(x1, upper.top(), x1, lower.bottom());
        const QString label = PlexaroCalendar::formatDate(d, v.dateFormat);
        const int width = fm.horizontalAdvance(label) + 1;  // elidedText wants the odd pixel
        int left = x1 + kLabelGap;
        if (next > days->last && left + width > x2)
            left = std::max(x2 - width, labelsEnd + kLabelGap);
        const QString shown = fm.elidedText(label, Qt::ElideRight, x2 - left);
        p.setPen(ink);
        p.drawText(QRect(left, upper.top(), x2 - left, upper.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, shown);
        labelsEnd = left + fm.horizontalAdvance(shown);
    }
    if (const auto x = closingX(v)) {
        p.setPen(kStrongGridColour);
        p.drawLine(*x, upper.top(), *x, lower.bottom());
    }
    if (hours)
        paintHourMarks(p, v, lower, days->first, days->last);
    else
        paintDayMarks(p, v, lower, days->first, days->last);
}

void PlexaroPainter::paintHourMarks(QPainter& p, const PlexaroView& v, const QRect& lower,
                                    int32_t firstDay, int32_t lastDay) {
    const QFontMetrics fm(v.font);
    const int labelWidth =
        fm.horizontalAdvance(PlexaroCalendar::timeLabel(23 * 60, v.use24Hour)) + 2 * kLabelGap;
    const double hourWidth = double(v.scale.pixelZoom());
    int step = 24;
    for (int s : {1, 2, 3, 4, 6, 12}) {
        if (s * hourWidth >= labelWidth) {
            step = s;
            break;
        }
    }
    int minorStep = 0;  // minutes between minor ticks
    for (int m : {5, 15, 30}) {
        if (v.fiveMinuteWidth > 0 && v.fiveMinuteWidth * m / 5 >= 4) {
            minorStep = m;
            break;
        }
    }
    const QColor ink = TextColourOn(backColour(v, v.colours.rulerBack));
    const int begin = v.scale.firstMinute();
    const int end = begin + v.scale.minutesPerDay();
    // Each label stands just right of its own hour's tick; an hour whose tick is off the
    // chart has none. One that would run past the right end moves left to show whole, as
    // far as the label before it lets it.
    int labelsEnd = lower.left();  // right end of the labels drawn so far
    for (int32_t d = firstDay; d <= lastDay; ++d) {
        if (minorStep > 0) {
            p.setPen(kStrongGridColour);
            for (int m = (begin + minorStep - 1) / minorStep * minorStep; m < end; m += minorStep) {
                const int x = vx(v, v.scale.xOf(d, m));
                p.drawLine(x, lower.bottom() - 3, x, lower.bottom());
            }
        }
        for (int m = (begin + 59) / 60 * 60; m < end; m += 60) {
            const int x = vx(v, v.scale.xOf(d, m));
            p.setPen(kStrongGridColour);
            p.drawLine(x, lower.top() + lower.height() / 2, x, lower.bottom());
            if ((m / 60) % step != 0 || x < lower.left() || x > lower.right()) continue;
            const QString text = PlexaroCalendar::timeLabel(m, v.use24Hour);
            const int width = fm.horizontalAdvance(text) + 1;  // elidedText wants the odd pixel
            int left = x + kLabelGap;
            if (left + width > lower.right() + 1)
                left = std::min(left, std::max(lower.right() + 1 - width, labelsEnd + kLabelGap));
            p.setPen(ink);
            drawFitted(p, QRect(left, lower.top(), width, lower.height()), lower.left(),
                       lower.right(), Qt::AlignLeft | Qt::AlignVCenter, text);
            labelsEnd = left + width;
        }
    }
}

void PlexaroPainter::paintDayMarks(QPainter& p, const PlexaroView& v, const QRect& lower,
                                   int32_t firstDay, int32_t lastDay) {
    const QFontMetrics fm(v.font);
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("30")) + 2 * kLabelGap;
    const double dayWidth = double(v.scale.xOfDay(firstDay + 1) - v.scale.xOfDay(firstDay));
    const bool everyDay = dayWidth >= labelWidth;
    // Each day's label carries its weekday when there is room: "Wed 30", else "W 30".
    const auto fits = [&](const QString& widest) {
        return dayWidth >= fm.horizontalAdvance(widest) + 2 * kLabelGap;
    };
    const int weekdayLetters = fits(QStringLiteral("Wed 30")) ? 3
                               : fits(QStringLiteral("W 30")) ? 1
                                                              : 0;
    const auto dayLabel = [&](int32_t d) {
        const QString day = QString::number(PlexaroCalendar::dateOf(d).day());
        if (!everyDay || weekdayLetters == 0) return day;
        return PlexaroCalendar::formatDate(d, QStringLiteral("D")).left(weekdayLetters) + ' ' + day;
    };
    // Otherwise Mondays are labelled, every n-th week when weeks are narrow too; counted
    // from day 0 so the labels stay put while scrolling.
    const int weekStep = std::max(1, int(std::ceil(labelWidth / std::max(dayWidth * 7, 0.1))));
    const QColor ink = TextColourOn(backColour(v, v.colours.rulerBack));
    p.setPen(kStrongGridColour);
    for (int32_t d = firstDay; d <= lastDay; ++d) {
        const bool monday = PlexaroCalendar::isMonday(d);
        const int x = vx(v, v.scale.xOfDay(d));
        const int tickTop = monday ? lower.top() : lower.top() + lower.height() / 2;
        if (monday || dayWidth >= 3) p.drawLine(x, tickTop, x, lower.bottom());
    }
    p.setPen(ink);
    for (int32_t d = firstDay; d <= lastDay; ++d) {
        const bool monday = PlexaroCalendar::isMonday(d);
        const int x = vx(v, v.scale.xOfDay(d));
        const bool labelled =
            everyDay || (monday && (int64_t(d) - PlexaroCalendar::weekday(d)) / 7 % weekStep == 0);
        if (!labelled) continue;
        const int width = everyDay ? int(dayWidth) : int(dayWidth * 7 * weekStep);
        drawFitted(p, QRect(x + (everyDay ? 0 : kLabelGap), lower.top(), width, lower.height()),
                   lower.left(), lower.right(),
                   (everyDay ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, dayLabel(d));
    }
}

void PlexaroPainter::paintTitle(QPainter& p, const PlexaroView& v) {
    if (v.titleHeight <= 0) return;
    const QRect band(0, 0, v.size.width(), v.titleHeight);
    const QColor back = backColour(v, v.colours.titleBack);
    p.fillRect(band, back);
    p.setPen(kStrongGridColour);
    p.drawLine(0, band.bottom(), band.right(), band.bottom());
    QFont bold = v.font;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(TextColourOn(back));
    drawFitted(p, band, band.left(), band.right(), Qt::AlignCenter, v.title);
    p.setFont(v.font);
}

bool PlexaroPainter::print(QPagedPaintDevice& device, const PlexaroModel& model,
                           const PlexaroView& screen, const QString& title, const QString& footer,
                           int fromPage, int toPage, bool lastFirst) {
    // Lay the page out in screen pixels (96 to the inch), then scale the chart down to
    // the page width when it is wider.
    const double toDevice = device.logicalDpiX() / 96.0;
    const double pageWidth = device.width() / toDevice;
    const double pageHeight = device.height() / toDevice;
    const QFontMetrics fm(screen.font);
    const int line = fm.height();
    const double headerHeight = line * 2.0;  // the title and a gap
    const double footerHeight = line * 1.5;

    // The whole range fills the page width, whatever the zoom on screen; the selection
    // is the user's and is not printed.
    PlexaroView v = screen;
    v.scrollX = 0;
    v.rows.scrollY = 0;
    v.selectedRow = -1;
    v.listWidth = std::clamp(v.listWidth, 0, int(pageWidth / 2));
    const double timeWidth = std::max(1.0, pageWidth - v.listWidth);
    v.scale.zoom = int(std::clamp<double>(
        std::floor(timeWidth * double(v.scale.unitMinutes()) / double(v.scale.totalMinutes())),
        PlexaroTimeScale::kMinZoom, PlexaroTimeScale::kMaxZoom));
    const int64_t chartWidth = int64_t(v.listWidth) + v.scale.width();
    const double fit = std::min(1.0, pageWidth / double(std::max<int64_t>(chartWidth, 1)));
    const double chartHeight = (pageHeight - headerHeight - footerHeight) / fit;
    const int rowsPerPage = std::max(1, int((chartHeight - v.rows.top) / v.rows.height()));
    const int rowCount = v.rows.rowCount;
    const int pages = std::max(1, (rowCount + rowsPerPage - 1) / rowsPerPage);
    const int firstPage = std::max(fromPage, 1) - 1;
    const int lastPage = toPage > 0 ? std::min(toPage, pages) - 1 : pages - 1;
    if (firstPage > lastPage) return true;  // the range asked for holds no page
    QPainter p;
    if (!p.begin(&device)) return false;

    QFont titleFont = screen.font;
    titleFont.setBold(true);
    titleFont.setPixelSize(std::max(1, int(std::lround(fm.height() * 1.1))));
    // The title and the footer are shortened with "…" to the room the page leaves them;
    // the page number is never shortened.
    const QString shownTitle =
        QFontMetricsF(titleFont).elidedText(title, Qt::ElideRight, pageWidth);
    const QFontMetricsF footMetrics(screen.font);
    for (int i = 0; i <= lastPage - firstPage; ++i) {
        const int page = lastFirst ? lastPage - i : firstPage + i;
        if (i > 0 && !device.newPage()) return false;
        p.resetTransform();
        p.scale(toDevice, toDevice);
        p.setClipping(false);
        p.setPen(Qt::black);
        p.setFont(titleFont);
        p.drawText(QRectF(0, 0, pageWidth, line * 1.5), Qt::AlignLeft | Qt::AlignVCenter,
                   shownTitle);
        p.setFont(screen.font);
        const QRectF foot(0, pageHeight - footerHeight, pageWidth, footerHeight);
        const QString number = QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages);
        const double footerRoom = pageWidth - footMetrics.horizontalAdvance(number) - line;
        p.drawText(foot, Qt::AlignLeft | Qt::AlignBottom,
                   footMetrics.elidedText(footer, Qt::ElideRight, std::max(footerRoom, 0.0)));
        p.drawText(foot, Qt::AlignRight | Qt::AlignBottom, number);

        const int first = page * rowsPerPage;
        const int shown = std::min(rowsPerPage, rowCount - first);
        v.rows.scrollY = first * v.rows.height();
        v.size = QSize(int(std::min<int64_t>(chartWidth, INT32_MAX)),
                       v.rows.top + std::max(shown, 0) * v.rows.height());
        p.translate(0, headerHeight);
        p.scale(fit, fit);
        BarCache bars;
        paintWith(p, model, v, QRect(QPoint(0, 0), v.size), bars, false);
    }
    return p.end();
}

}  // namespace plat
