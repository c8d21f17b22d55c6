#include "ClsViewPro.h"

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

bool ClsViewPro::width(Failure& f, int line, int32_t& out) {
    if (!attached(f, line)) return false;
    if (__builtin_sub_overflow(m_control->pageWidth(), m_control->marginLeft(), &out) ||
        __builtin_sub_overflow(out, m_control->marginRight(), &out)) {
        f = {err::Overflow, line, kOverflow};
        return false;
    }
    return true;
}

bool ClsViewPro::height(Failure& f, int line, int32_t& out) {
    if (!attached(f, line)) return false;
    if (__builtin_sub_overflow(m_control->pageHeight(), m_control->marginTop(), &out) ||
        __builtin_sub_overflow(out, m_control->marginBottom(), &out)) {
        f = {err::Overflow, line, kOverflow};
        return false;
    }
    return true;
}

bool ClsViewPro::toX(int32_t v, int32_t& out, Failure& f, int line) {
    int32_t extent = 0;
    if (!width(f, line, extent)) return false;
    if (ToPageUnits(v, extent, out)) return true;
    f = {err::Overflow, line, kOverflow};
    return false;
}

bool ClsViewPro::toY(int32_t v, int32_t& out, Failure& f, int line) {
    int32_t extent = 0;
    if (!height(f, line, extent)) return false;
    if (ToPageUnits(v, extent, out)) return true;
    f = {err::Overflow, line, kOverflow};
    return false;
}

void ClsViewPro::Attach(plat::ViewPro* control) {
    m_control = control;
    if (m_control) m_control->setPaperSize(1);
}

void ClsViewPro::setPageNo(int16_t page) {
    Failure f;
    if (!attached(f, __LINE__)) return log("PageNo", f);
    if (!m_control->setPageNo(page)) log("PageNo", refused(__LINE__));
}

void ClsViewPro::setPageSize(int16_t code) {
    Failure f;
    if (!attached(f, __LINE__)) return log("PageSize", f);
    if (!m_control->setPaperSize(code)) log("PageSize", refused(__LINE__));
}

void ClsViewPro::setLandscape(bool landscape) {
    Failure f;
    if (!attached(f, __LINE__)) return log("Landscape", f);
    if (!m_control->setOrientation(landscape ? 1 : 0)) log("Landscape", refused(__LINE__));
}

void ClsViewPro::setZoom(int16_t percent) {
    Failure f;
    if (!attached(f, __LINE__)) return log("Zoom", f);
    if (!m_control->setZoom(percent)) log("Zoom", refused(__LINE__));
}

int16_t ClsViewPro::PageNo() {
    Failure f;
    if (!attached(f, __LINE__)) {
        log("PageNo", f);
        return 0;
    }
    return m_control->pageNo();
}

int16_t ClsViewPro::PageCount() {
    Failure f;
    if (!attached(f, __LINE__)) {
        log("PageCount", f);
        return 0;
    }
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
    if (!toX(x1, a, f, __LINE__) || !toY(y1, b, f, __LINE__) || !toX(x2, c, f, __LINE__) ||
        !toY(y2, d, f, __LINE__))
        return log("DrawLine", f);
    if (!m_control->drawLine(a, b, c, d)) log("DrawLine", refused(__LINE__));
}

void ClsViewPro::DrawText(int16_t x, int16_t y, const QString& text, int16_t align) {
    Failure f;
    int32_t px = 0, py = 0;
    if (!toX(x, px, f, __LINE__) || !toY(y, py, f, __LINE__)) return log("DrawText", f);
    m_control->setMeasureText(text);
    const int32_t w = m_control->textWidth();
    if (align == AlignCentre) {
        px -= w / 2;
    } else if (align == AlignRight) {
        px -= w;
    }
    if (!m_control->drawText(px, py, text)) log("DrawText", refused(__LINE__));
}

void ClsViewPro::Font(const QString&, int16_t size, int32_t colour, bool bold, bool italic) {
    Failure f;
    if (!attached(f, __LINE__)) return log("Font", f);
    if (!m_control->setFontSelection(1)) return log("Font", refused(__LINE__));
    if (!m_control->setFontSize(size)) return log("Font", refused(__LINE__));
    m_control->setForeColor(uint32_t(colour));
    m_control->setFontBold(bold);
    m_control->setFontItalic(italic);
}

void ClsViewPro::Footer(const QString& left, const QString& centre, const QString& right) {
    Failure f;
    if (!attached(f, __LINE__)) return log("Footer", f);
    m_control->setForeColor(0);
    m_control->setFooter(left + "|" + centre + "|" + right);
}

void ClsViewPro::Header(const QString& left, const QString& centre, const QString& right) {
    Failure f;
    if (!attached(f, __LINE__)) return log("Header", f);
    m_control->setForeColor(0);
    m_control->setHeader(left + "|" + centre + "|" + right);
}

void ClsViewPro::NewPage() {
    Failure f;
    if (!attached(f, __LINE__)) return log("NewPage", f);
    if (!m_control->newPage()) log("NewPage", refused(__LINE__));
}

void ClsViewPro::StartDoc() {
    Failure f;
    if (!attached(f, __LINE__)) return log("StartDoc", f);
    m_control->startDoc();
}

void ClsViewPro::EndDoc() {
    Failure f;
    if (!attached(f, __LINE__)) return log("EndDoc", f);
    if (!m_control->endDoc()) log("EndDoc", refused(__LINE__));
}

void ClsViewPro::PrintPreview() {
    Failure f;
    if (!attached(f, __LINE__)) return log("PrintPreview", f);
    m_control->setPrintSetting(plat::ViewPro::kPrintAsk);
    if (!m_control->printPages(1, m_control->pageCount())) log("PrintPreview", refused(__LINE__));
}

int32_t ClsViewPro::TextHeight() {
    Failure f;
    int32_t extent = 0;
    int32_t scaled = 0;
    if (!height(f, __LINE__, extent)) {
        log("TextHeight", f);
        return 0;
    }
    if (__builtin_mul_overflow(m_control->lineHeight(), 1000, &scaled)) {
        log("TextHeight", {err::Overflow, __LINE__, kOverflow});
        return 0;
    }
    if (extent == 0) {
        log("TextHeight", {err::DivisionByZero, __LINE__, "Division by zero"});
        return 0;
    }
    return scaled / extent;
}
