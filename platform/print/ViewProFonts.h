#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include "ViewProDocument.h"

// The faces of the print-preview control and their measures in twips, made once per
// font and kept: a report measures every text it places.
namespace plat {

class ViewProFonts {
public:
    static const QFont& Face(const ViewProFont& font);
    static const QFontMetricsF& Metrics(const ViewProFont& font);
    // Advance width of the text, in twips, rounded.
    static int32_t TextWidth(const ViewProFont& font, const QString& text);
    // Height of one line (ascent + descent), in twips, rounded.
    static int32_t LineHeight(const ViewProFont& font);
    // The text, on one line already, no wider than width twips: shortened at its end with
    // "\u2026" when it is wider; empty when not even that fits.
    static QString Fitted(const ViewProFont& font, const QString& text, int32_t width);

private:
    struct Entry {
        QFont face;
        QFontMetricsF metrics;
    };
    static const Entry& entry(const ViewProFont& font);
};

}  // namespace plat
