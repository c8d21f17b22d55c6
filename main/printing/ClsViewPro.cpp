#include "ClsViewPro.h"

#include <algorithm>

#include "ClsLogging.h"
#include "ErrorText.h"
#include "SharedObjects.h"

namespace {
const char* const kNoControl = "Object variable or With block variable not set";
const char* const kOverflow = "Overflow";
}  // namespace

void ClsViewPro::log(const char* operation, const Failure& f) {
    SharedObjects::Log().LogMsg(
        err::OnLine(QString("ClsViewPro.") + operation, f.number, f.line, f.text));
}

bool ClsViewPro::ready(const char* operation, int line) {
    Failure f;
    if (attached(f, line)) return true;
    log(operation, f);
    return false;
}

bool ClsViewPro::attached(Failure& f, int line) {
    if (m_control) return true;
    f = {err::ObjectNotSet, line, kNoControl};
    return false;
}

ClsViewPro::Failure ClsViewPro::refused(int line) const {
    return {m_control->lastErrorNumber(), line, m_control->lastError()};
}

bool ClsViewPro::ToPageUnits(int32_t v, int32_t extent, int32_t& out) {
    int32_t product = 0;
    if (__builtin_mul_overflow(v, extent, &product)) return false;
    out = product / 1000;  // truncates toward zero
    return true;
}

bool ClsViewPro::extent(Axis axis, Failure& f, int line, int32_t& out) {
    if (!attached(f, line)) return false;
    const bool across = axis == Axis::Across;
    const int32_t page = across ? m_control->pageWidth() : m_control->pageHeight();
    const int32_t first = across ? m_control->marginLeft() : m_control->marginTop();
    const int32_t second = across ? m_control->marginRight() : m_control->marginBottom();
    if (__builtin_sub_overflow(page, first, &out) || __builtin_sub_overflow(out, second, &out)) {
        f = {err::Overflow, line, kOverflow};
        return false;
    }
    return true;
}

bool ClsViewPro::toUnits(Axis axis, int32_t v, int32_t& out, Failure& f, int line) {
    int32_t e = 0;
    if (!extent(axis, f, line, e)) return false;
    if (ToPageUnits(v, e, out)) return true;
    f = {err::Overflow, line, kOverflow};
    return false;
}

void ClsViewPro::Attach(plat::ViewPro* control) {
    m_control = control;
    if (m_control) m_control->setPaperSize(1);
}

void ClsViewPro::setPageNo(int16_t page) {
    if (!ready("PageNo", __LINE__)) return;
    if (!m_control->setPageNo(page)) log("PageNo", refused(__LINE__));
}

void ClsViewPro::setPageSize(int16_t code) {
    if (!ready("PageSize", __LINE__)) return;
    if (!m_control->setPaperSize(code)) log("PageSize", refused(__LINE__));
}

void ClsViewPro::setLandscape(bool landscape) {
    if (!ready("Landscape", __LINE__)) return;
    if (!m_control->setOrientation(landscape ? 1 : 0)) log("Landscape", refused(__LINE__));
}

void ClsViewPro::setZoom(int16_t percent) {
    if (!ready("Zoom", __LINE__)) return;
    if (!m_control->setZoom(percent)) log("Zoom", refused(__LINE__));
}

int16_t ClsViewPro::PageNo() {
    if (!ready("PageNo", __LINE__)) return 0;
    return m_control->pageNo();
}

int16_t ClsViewPro::PageCount() {
    if (!ready("PageCount", __LINE__)) return 0;
    return m_control->pageCount();
}

void ClsViewPro::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    DrawLine(x1, y1, x2, y1);
    DrawLine(x2, y1, x2, y2);
    DrawLine(x2, y2, x1, y2);
    DrawLine(x1, y2, x1, y1);
}

void ClsViewPro::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Failure f;
    int32_t a = 0, b = 0, c = 0, d = 0;
    if (!toUnits(Axis::Across, x1, a, f, __LINE__) || !toUnits(Axis::Down, y1, b, f, __LINE__) ||
        !toUnits(Axis::Across, x2, c, f, __LINE__) || !toUnits(Axis::Down, y2, d, f, __LINE__))
        return log("DrawLine", f);
    if (!m_control->drawLine(a, b, c, d)) log("DrawLine", refused(__LINE__));
}

void ClsViewPro::DrawText(int16_t x, int16_t y, const QString& text, int16_t align) {
    Failure f;
    int32_t px = 0, py = 0;
    if (!toUnits(Axis::Across, x, px, f, __LINE__) || !toUnits(Axis::Down, y, py, f, __LINE__))
        return log("DrawText", f);
    place(px, py, text, align);
}

void ClsViewPro::DrawTextIn(int16_t x, int16_t y, const QString& text, int16_t align, int16_t left,
                            int16_t right) {
    Failure f;
    int32_t px = 0, py = 0, l = 0, r = 0, pad = 0;
    if (!toUnits(Axis::Across, x, px, f, __LINE__) || !toUnits(Axis::Down, y, py, f, __LINE__) ||
        !toUnits(Axis::Across, left, l, f, __LINE__) ||
        !toUnits(Axis::Across, right, r, f, __LINE__) ||
        !toUnits(Axis::Across, kCellPad, pad, f, __LINE__))
        return log("DrawText", f);
    int32_t room = 0;
    if (align == AlignCentre) {
        room = 2 * std::min(px - l - pad, r - pad - px) - 1;  // the odd half rounds right
    } else if (align == AlignRight) {
        room = px - l - pad;
    } else {
        room = r - pad - px;
    }
    place(px, py, m_control->fittedText(text, room), align);
}

void ClsViewPro::DrawCell(int16_t x, int16_t y, const QString& text, int16_t align,
                          std::span<const int16_t> rules) {
    int16_t left = 0;
    int16_t right = 1000;
    for (int16_t rule : rules) {
        if (rule <= x) left = std::max(left, rule);
        if (rule > x) right = std::min(right, rule);
    }
    DrawTextIn(x, y, text, align, left, right);
}

void ClsViewPro::place(int32_t px, int32_t py, const QString& text, int16_t align) {
    m_control->setMeasureText(text);
    const int32_t w = m_control->textWidth();
    if (align == AlignCentre) {
        px -= w / 2;
    } else if (align == AlignRight) {
        px -= w;
    }
    if (!m_control->drawText(px, py, text)) log("DrawText", refused(__LINE__));
}

int32_t ClsViewPro::TextWidth(const QString& text) {
    Failure f;
    int32_t width = 0;
    if (!extent(Axis::Across, f, __LINE__, width)) {
        log("TextWidth", f);
        return 0;
    }
    if (width <= 0) return 0;
    m_control->setMeasureText(text);
    const int64_t w = m_control->textWidth();
    return int32_t((w * 1000 + width - 1) / width);
}

void ClsViewPro::Font(const QString&, int16_t size, int32_t colour, bool bold, bool italic) {
    if (!ready("Font", __LINE__)) return;
    if (!m_control->setFontSelection(1)) return log("Font", refused(__LINE__));
    if (!m_control->setFontSize(size)) return log("Font", refused(__LINE__));
    Failure f;
    int32_t width = 0;
    if (!extent(Axis::Across, f, __LINE__, width)) return log("Font", f);
    const auto scale = int16_t(std::clamp<int64_t>(int64_t(width) * 1000 / kLayoutWidth, 1, 1000));
    if (!m_control->setFontScale(scale)) return log("Font", refused(__LINE__));
    m_control->setForeColor(uint32_t(colour));
    m_control->setFontBold(bold);
    m_control->setFontItalic(italic);
}

void ClsViewPro::Footer(const QString& left, const QString& centre, const QString& right) {
    if (!ready("Footer", __LINE__)) return;
    m_control->setForeColor(0);
    m_control->setFooter(left + "|" + centre + "|" + right);
}

void ClsViewPro::Header(const QString& left, const QString& centre, const QString& right) {
    if (!ready("Header", __LINE__)) return;
    m_control->setForeColor(0);
    m_control->setHeader(left + "|" + centre + "|" + right);
}

void ClsViewPro::NewPage() {
    if (!ready("NewPage", __LINE__)) return;
    if (!m_control->newPage()) log("NewPage", refused(__LINE__));
}

void ClsViewPro::StartDoc() {
    if (!ready("StartDoc", __LINE__)) return;
    m_control->startDoc();
}

void ClsViewPro::EndDoc() {
    if (!ready("EndDoc", __LINE__)) return;
    if (!m_control->endDoc()) log("EndDoc", refused(__LINE__));
}

void ClsViewPro::PrintPreview() {
    if (!ready("PrintPreview", __LINE__)) return;
    m_control->setPrintSetting(plat::ViewPro::kPrintAsk);
    if (!m_control->printPages(1, m_control->pageCount())) log("PrintPreview", refused(__LINE__));
}

int32_t ClsViewPro::TextHeight() {
    Failure f;
    int32_t height = 0;
    int32_t scaled = 0;
    if (!extent(Axis::Down, f, __LINE__, height)) {
        log("TextHeight", f);
        return 0;
    }
    if (__builtin_mul_overflow(m_control->lineHeight(), 1000, &scaled)) {
        log("TextHeight", {err::Overflow, __LINE__, kOverflow});
        return 0;
    }
    if (height == 0) {
        log("TextHeight", {err::DivisionByZero, __LINE__, "Division by zero"});
        return 0;
    }
    return scaled / height;
}
