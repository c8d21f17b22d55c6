#pragma once
#include <QPointer>
#include <QString>
#include <cstdint>
#include <span>

#include "ViewPro.h"

// How the program prints its reports and lists: a drawing surface in per-mille of the
// printable area of a print-preview control (0 left or top, 1000 right or bottom edge;
// values outside are passed on and land outside), text placed left of, centred on or
// right of an anchor, fonts, a three-part page header and footer, paging and printing.
// The form that holds the control owns it; the wrapper only refers to it and keeps no
// other state, so a change of paper counts at the next call.
//
// Every operation but Attach traps its failures (no control, the control refusing, an
// overflow converting a position): one log line "ClsViewPro.<operation>: Error ..." and
// nothing drawn; the reads then give 0.
class ClsViewPro {
public:
    enum Align : int16_t { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };

    // Binds the control and sets its paper to code 1; ignores every failure.
    void Attach(plat::ViewPro* control);

    void setPageNo(int16_t page);
    // Paper code 1..12 (the control's list).
    void setPageSize(int16_t code);
    void setLandscape(bool landscape);
    void setZoom(int16_t percent);
    int16_t PageNo();
    int16_t PageCount();

    // Four lines: top, right, bottom, left; a failing side does not stop the others.
    void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Align: AlignCentre centres the text on x, AlignRight ends it at x, anything else
    // starts it at x. y is the top of the text.
    void DrawText(int16_t x, int16_t y, const QString& text, int16_t align);
    // DrawText kept inside the column left..right (per-mille): a text too wide for the room
    // its anchor has there, clear of both edges, is shortened with "\u2026".
    void DrawTextIn(int16_t x, int16_t y, const QString& text, int16_t align, int16_t left,
                    int16_t right);
    // DrawTextIn in the column of a ruled table that holds x: between the rules (per-mille,
    // in any order) on either side of it, the page's edges beyond the outermost ones.
    void DrawCell(int16_t x, int16_t y, const QString& text, int16_t align,
                  std::span<const int16_t> rules);
    // Width of the text in the current font, in per-mille of the printable width, rounded
    // up; 0 when it cannot be measured.
    int32_t TextWidth(const QString& text);
    // The name is not passed on: the control has one face, the one callers know as Arial.
    // On a paper narrower than the reports' layout the font is drawn smaller in the same
    // proportion, so that headings and columns keep their places there.
    void Font(const QString& name, int16_t size, int32_t colour, bool bold, bool italic);
    // Each in black; the colour stays black until the next Font.
    void Footer(const QString& left, const QString& centre, const QString& right);
    void Header(const QString& left, const QString& centre, const QString& right);
    void NewPage();
    void StartDoc();
    void EndDoc();
    // Prints every page of the document (asking for the printer first).
    void PrintPreview();
    // One line of the current font, in per-mille of the printable height.
    int32_t TextHeight();

    // Per-mille v of an extent in page units, truncated toward zero; false when the
    // product leaves the 32-bit range.
    static bool ToPageUnits(int32_t v, int32_t extent, int32_t& out);
    // The printable width (twips) the reports are laid out for: A4's with half-inch margins.
    // Letter and every wider paper print the layout at its own size.
    static constexpr int32_t kLayoutWidth = 10466;
    // How far a text kept in a column stays clear of its rules, per-mille.
    static constexpr int32_t kCellPad = 3;

private:
    struct Failure {
        int number = 0;
        int line = 0;
        QString text;
    };
    void log(const char* operation, const Failure& f);
    bool attached(Failure& f, int line);
    // attached(), logging the failure under the operation's name.
    bool ready(const char* operation, int line);
    // The control's reason for its last refusal.
    Failure refused(int line) const;
    enum class Axis { Across, Down };
    // The printable width or height: the page less its two margins on that axis.
    bool extent(Axis axis, Failure& f, int line, int32_t& out);
    bool toUnits(Axis axis, int32_t v, int32_t& out, Failure& f, int line);
    // Draws at page units, px being the anchor.
    void place(int32_t px, int32_t py, const QString& text, int16_t align);

    QPointer<plat::ViewPro> m_control;
};
