#pragma once
#include <QFont>
#include <QString>
#include <cstdint>
#include <vector>

// The document of the print-preview control: pages of lines and texts placed in twips
// from the top-left corner of the printable area, each page with its header and footer.
// Plain data: no widget, no painting.
namespace plat {

// A font as the control is asked for it: a selection (1 = the sans-serif face callers
// know as Arial), a size in points, bold and italic.
struct ViewProFont {
    int32_t selection = 1;
    int16_t size = 10;
    bool bold = false;
    bool italic = false;
    // Per-mille of the size it is drawn at: below 1000 on a paper narrower than the
    // layout, so that the layout keeps its proportions there.
    int16_t scale = 1000;

    bool operator==(const ViewProFont&) const = default;
    // A whole-number key, for caches.
    int64_t key() const;
    // The face at a pixel size in twips (1 pt = 20 twips, times the scale), so widths
    // measured with it are in twips and a painter scaled to twips draws it at its size.
    QFont toQFont() const;
};

struct ViewProLine {
    int32_t x1, y1, x2, y2;
    uint32_t colour;  // 0x00BBGGRR
};

struct ViewProText {
    int32_t x, y;  // top-left corner of the text
    QString text;
    ViewProFont font;
    uint32_t colour;
};

// A header or footer: "left|centre|right" in the font and colour it was given in.
struct ViewProBand {
    QString text;
    ViewProFont font;
    uint32_t colour = 0;
    // The three fields; missing ones are empty, separators beyond the second belong to the
    // right field.
    QString field(int index) const;
};

struct ViewProPage {
    std::vector<ViewProLine> lines;
    std::vector<ViewProText> texts;  // in the order drawn
    ViewProBand header;
    ViewProBand footer;
    bool isBlank() const { return lines.empty() && texts.empty(); }
};

class ViewProDocument {
public:
    enum class State { None, Open, Ended };

    State state() const { return m_state; }
    // Discards what there was and begins page 1 (header and footer empty).
    void start();
    // Only while open; false otherwise.
    bool newPage();
    bool end();
    bool addLine(const ViewProLine& line);
    bool addText(ViewProText text);
    // Sets the band for the current page and the pages begun after it.
    void setHeader(const ViewProBand& band);
    void setFooter(const ViewProBand& band);

    int pageCount() const { return int(m_pages.size()); }
    // Pages from 1; none outside 1..pageCount.
    const ViewProPage* page(int number) const;

private:
    State m_state = State::None;
    std::vector<ViewProPage> m_pages;
    ViewProBand m_header;
    ViewProBand m_footer;
};

}  // namespace plat
