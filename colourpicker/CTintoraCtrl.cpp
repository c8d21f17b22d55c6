#include "CTintoraCtrl.h"

#include <QPainter>
#include <functional>

#include "CPaletteWnd.h"
#include "ModalHook.h"
#include "OleColor.h"
#include "ScreenMetrics.h"
#include "StockColorPage.h"
#include "TintoraAboutDlg.h"

// Rows of six, light to dark: greys, reds, oranges, yellows, greens, cyans, blues,
// magentas. The last orange is 0x404080.
const std::array<uint32_t, CTintoraCtrl::kCells> CTintoraCtrl::kDefaultPalette = {
    0xFFFFFF, 0xE0E0E0, 0xC0C0C0, 0x808080, 0x404040, 0x000000,  //
    0xC0C0FF, 0x8080FF, 0x0000FF, 0x0000C0, 0x000080, 0x000040,  //
    0xC0E0FF, 0x80C0FF, 0x0080FF, 0x0040C0, 0x004080, 0x404080,  //
    0xC0FFFF, 0x80FFFF, 0x00FFFF, 0x00C0C0, 0x008080, 0x004040,  //
    0xC0FFC0, 0x80FF80, 0x00FF00, 0x00C000, 0x008000, 0x004000,  //
    0xFFFFC0, 0xFFFF80, 0xFFFF00, 0xC0C000, 0x808000, 0x404000,  //
    0xFFC0C0, 0xFF8080, 0xFF0000, 0xC00000, 0x800000, 0x400000,  //
    0xFFC0FF, 0xFF80FF, 0xFF00FF, 0xC000C0, 0x800080, 0x400040,  //
};

CTintoraCtrl::CTintoraCtrl(QWidget* parent) : plat::OleControl(parent) {
    SetStockPropMask(kStockBackColor | kStockEnabled);
    buildDispatch();
    OnResetState();
    SetExtent(QSize());
}

CTintoraCtrl::~CTintoraCtrl() { destroyPopup(); }

void CTintoraCtrl::buildDispatch() {
    using plat::VarType;
    namespace disp = tintora::disp;
    plat::DispatchTable& t = DispatchMap();
    t.SetInterface("_DTintora", "Dispatch interface for Tintora Control");
    // Each property reads its member and writes through its setter, so a put marks the
    // control modified exactly as a call from C++ does.
    auto colour = [&](int id, const QString& name, const uint32_t& member,
                      std::function<void(uint32_t)> set) {
        t.AddProperty(
            id, name, VarType::Color, [&member] { return QVariant::fromValue(member); },
            [set](const QVariant& v) { set(v.toUInt()); });
    };
    auto number = [&](int id, const QString& name, const int16_t& member,
                      void (CTintoraCtrl::*set)(int16_t)) {
        t.AddProperty(
            id, name, VarType::Short, [&member] { return QVariant::fromValue(member); },
            [this, set](const QVariant& v) { (this->*set)(v.value<int16_t>()); });
    };

    // In the order the type library lists them.
    colour(disp::BackColor, "BackColor", m_backColor, [this](uint32_t c) { SetBackColor(c); });
    t.AddProperty(
        disp::Enabled, "Enabled", VarType::Bool, [this] { return QVariant(StockEnabled()); },
        [this](const QVariant& v) { SetStockEnabled(v.toBool()); });
    for (int i = 0; i < kCells; ++i)
        colour(disp::Color1 + i, QString("Color%1").arg(i + 1), m_colors[i],
               [this, i](uint32_t c) { SetCellColor(i, c); });
    colour(disp::Color, "Color", m_color, [this](uint32_t c) { SetColor(c); });
    t.AddProperty(
        disp::ShowSelect, "ShowSelect", VarType::Bool, [this] { return QVariant(m_showSelect); },
        [this](const QVariant& v) { SetShowSelect(v.toBool()); });
    number(disp::WindowXPosn, "WindowXPosn", m_windowXPosn, &CTintoraCtrl::SetWindowXPosn);
    number(disp::WindowYPosn, "WindowYPosn", m_windowYPosn, &CTintoraCtrl::SetWindowYPosn);
    number(disp::Position, "Position", m_position, &CTintoraCtrl::SetPosition);
    t.SetEnumValues(disp::Position, {{PosnCBottom, "PosnCBottom", "Bottom of Cursor"},
                                     {PosnCTop, "PosnCTop", "Top of Cursor"},
                                     {PosnCRight, "PosnCRight", "Right of Cursor"},
                                     {PosnCLeft, "PosnCLeft", "Left of Cursor"},
                                     {PosnBottom, "PosnBottom", "Bottom of Control"},
                                     {PosnTop, "PosnTop", "Top of Control"},
                                     {PosnRight, "PosnRight", "Right of Control"},
                                     {PosnLeft, "PosnLeft", "Left of Control"},
                                     {PosnCalc, "PosnCalc", "Calculated Position"},
                                     {PosnCenter, "PosnCenter", "Center of Screen"}});
    number(disp::WinXOffset, "WinXOffset", m_winXOffset, &CTintoraCtrl::SetWinXOffset);
    number(disp::WinYOffset, "WinYOffset", m_winYOffset, &CTintoraCtrl::SetWinYOffset);
    t.AddMethod(disp::Display, "Display", [this] { Display(); });
    t.AddMethod(disp::Reset, "Reset", [this] { Reset(); });
    t.AddMethod(disp::ShowColor, "ShowColor", [this] { ShowColor(); });
    t.AddMethod(disp::AboutBox, "AboutBox", [this] { AboutBox(); });

    // ColorClick(clrColor: the cell's stored colour, nItem: the cell 0..47).
    plat::DispatchTable& events = EventMap();
    events.SetInterface("_DTintoraEvents", "Event interface for Tintora Control");
    events.AddEvent(tintora::event::ColorClick, "ColorClick",
                    {{"clrColor", plat::VarType::Color}, {"nItem", plat::VarType::Short}});
}

void CTintoraCtrl::SetBackColor(uint32_t color) { store(m_backColor, color); }
void CTintoraCtrl::SetColor(uint32_t color) { store(m_color, color); }
void CTintoraCtrl::SetShowSelect(bool show) { store(m_showSelect, show); }
void CTintoraCtrl::SetWindowXPosn(int16_t x) { store(m_windowXPosn, x); }
void CTintoraCtrl::SetWindowYPosn(int16_t y) { store(m_windowYPosn, y); }
void CTintoraCtrl::SetWinXOffset(int16_t dx) { store(m_winXOffset, dx); }
void CTintoraCtrl::SetWinYOffset(int16_t dy) { store(m_winYOffset, dy); }

uint32_t CTintoraCtrl::CellColor(int cell) const {
    return cell >= 0 && cell < kCells ? m_colors[cell] : 0;
}

void CTintoraCtrl::SetCellColor(int cell, uint32_t color) {
    if (cell >= 0 && cell < kCells) store(m_colors[cell], color);
}

void CTintoraCtrl::SetPosition(int16_t position) {
    if (position >= PosnCBottom && position <= PosnCenter) store(m_position, position);
}

void CTintoraCtrl::Display() {
    if (!StockEnabled()) return;
    if (!PopupCreated() && !createPopup()) return;
    m_popup->ShowAt(this);
}

void CTintoraCtrl::Reset() {
    destroyPopup();
    createPopup();
}

void CTintoraCtrl::AboutBox() {
    TintoraAboutDlg dialog(this);
    plat::ModalHook::Exec(dialog);
}

void CTintoraCtrl::CellClicked(int cell) {
    if (cell < 0 || cell >= kCells) return;
    m_color = m_colors[cell];
    FireEvent(tintora::event::ColorClick,
              {QVariant::fromValue(m_color), QVariant::fromValue(static_cast<int16_t>(cell))});
}

void CTintoraCtrl::StoreDraggedPosition(int16_t x, int16_t y) {
    m_windowXPosn = x;
    m_windowYPosn = y;
}

QList<plat::ClassId> CTintoraCtrl::PropertyPageIds() const {
    return {plat::ClassId::FromString(tintora::kClsidPropPage), plat::StockColorPage::kClsid,
            plat::ClassId::FromString(tintora::kClsidAboutPage)};
}

bool CTintoraCtrl::PopupCreated() const { return !m_popup.isNull(); }

CPaletteWnd* CTintoraCtrl::Popup() const { return m_popup.data(); }

bool CTintoraCtrl::createPopup() {
    // A child of the control's dialog (a window of its own that stays with it), so it
    // takes clicks while that dialog is modal.
    m_popup = new CPaletteWnd(window());
    return PopupCreated();
}

void CTintoraCtrl::destroyPopup() {
    delete m_popup.data();
    m_popup = nullptr;
}

void CTintoraCtrl::DoPropExchange(plat::PropExchange& px) {
    ExchangeVersion(px, kVersion);
    plat::OleControl::DoPropExchange(px);
    if (!px.ok()) return;
    px.ExchangeColor("BackColor", m_backColor, kDefaultBackColor);
    px.ExchangeColor("Color", m_color, kDefaultColor);
    for (int i = 0; i < kCells; ++i)
        px.ExchangeColor(QString("Color%1").arg(i + 1), m_colors[i], kDefaultPalette[i]);
    px.ExchangeBool("ShowSelect", m_showSelect, true);
    px.ExchangeShort("WindowXPosn", m_windowXPosn, 0);
    px.ExchangeShort("WindowYPosn", m_windowYPosn, 0);
    px.ExchangeShort("WinXOffset", m_winXOffset, 0);
    px.ExchangeShort("WinYOffset", m_winYOffset, 0);
    px.ExchangeShort("Position", m_position, PosnCRight);
    // A loaded control starts without a pop-up. Saving leaves an open one alone: were it
    // forgotten, the next Display would make a second palette beside it.
    if (px.IsLoading()) destroyPopup();
}

void CTintoraCtrl::OnResetState() {
    plat::OleControl::OnResetState();
    m_backColor = kDefaultBackColor;
    m_color = kDefaultColor;
    m_colors = kDefaultPalette;
    m_windowXPosn = m_windowYPosn = 0;
    m_winXOffset = m_winYOffset = 0;
    m_position = PosnCRight;
    m_showSelect = true;
    destroyPopup();
}

bool CTintoraCtrl::OnSetExtent(QSize& himetric) {
    // Always 28 x 28 pixels, in 0.01 mm at the screen's resolution (740 at 96 dpi).
    const QSize dpi = plat::ScreenMetrics::LogicalDpi();
    himetric = QSize(71120 / dpi.width(), 71120 / dpi.height());
    return true;
}

void CTintoraCtrl::OnDraw(QPainter& painter, const QRect& bounds) {
    if (AmbientUserMode()) return;
    // At design time: a small palette picture, so the designer sees the control.
    painter.fillRect(bounds, Qt::lightGray);
    const int cell = qMax(1, bounds.width() / 4);
    for (int i = 0; i < 9; ++i) {
        const QRect r(bounds.left() + 2 + (i % 3) * cell, bounds.top() + 2 + (i / 3) * cell,
                      cell - 1, cell - 1);
        painter.fillRect(r, plat::OleColor::Translate(kDefaultPalette[6 + i * 4 % 42]));
    }
    painter.setPen(Qt::black);
    painter.drawRect(bounds.adjusted(0, 0, -1, -1));
}
