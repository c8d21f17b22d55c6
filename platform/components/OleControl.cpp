#include "OleControl.h"

#include <QPainter>
#include <algorithm>

#include "PropertyFrame.h"
#include "ScreenMetrics.h"
#include "ServerModule.h"

namespace plat {

OleControl::OleControl(QWidget* parent) : QWidget(parent) { ServerModule::Lock(); }

OleControl::~OleControl() { ServerModule::Unlock(); }

DispId OleControl::IdOfName(const QString& name) const { return m_dispatch.IdOfName(name); }

bool OleControl::GetProperty(DispId id, QVariant& value) const { return m_dispatch.Get(id, value); }

bool OleControl::PutProperty(DispId id, const QVariant& value) { return m_dispatch.Put(id, value); }

bool OleControl::CallMethod(DispId id) { return m_dispatch.Call(id); }

void OleControl::Advise(EventSink* sink) {
    if (sink && std::find(m_sinks.begin(), m_sinks.end(), sink) == m_sinks.end())
        m_sinks.push_back(sink);
}

void OleControl::Unadvise(EventSink* sink) { std::erase(m_sinks, sink); }

void OleControl::FireEvent(DispId id, const QVariantList& args) {
    // A handler may unadvise its sink; the copy keeps the walk valid.
    const std::vector<EventSink*> sinks = m_sinks;
    for (EventSink* s : sinks) s->Invoke(id, args);
}

void OleControl::InitNew() {
    OnResetState();
    m_modified = false;
}

bool OleControl::load(PropExchange& px) {
    DoPropExchange(px);
    if (!px.ok()) {
        OnResetState();
        m_modified = false;
        return false;
    }
    m_modified = false;
    return true;
}

bool OleControl::Load(const PropertyBag& bag) {
    PropertyBag copy = bag;  // the exchange only reads it while loading
    PropExchange px(copy, true);
    return load(px);
}

bool OleControl::LoadFromStream(const QByteArray& bytes) {
    PropertyStream stream(bytes);
    PropExchange px(stream, true);
    return load(px);
}

void OleControl::Save(PropertyBag& bag, bool clearDirty) {
    PropExchange px(bag, false);
    DoPropExchange(px);
    if (clearDirty) m_modified = false;
}

QByteArray OleControl::SaveToStream(bool clearDirty) {
    PropertyStream stream;
    PropExchange px(stream, false);
    DoPropExchange(px);
    if (clearDirty) m_modified = false;
    return stream.bytes();
}

void OleControl::ExchangeVersion(PropExchange& px, uint32_t version) {
    uint32_t v = version;
    px.ExchangeULong("_Version", v, version);
    m_loadedVersion = px.IsLoading() ? v : version;
}

void OleControl::DoPropExchange(PropExchange& px) {
    int32_t width = m_extent.width();
    int32_t height = m_extent.height();
    px.ExchangeLong("_ExtentX", width, m_extent.width());
    px.ExchangeLong("_ExtentY", height, m_extent.height());
    uint32_t mask = m_stockMask;
    px.ExchangeULong("_StockProps", mask, m_stockMask);
    if (px.IsLoading() && (mask & ~(kStockBackColor | kStockEnabled)) != 0) {
        // Values of stock properties this layer does not know follow in the record; what
        // comes after them cannot be found.
        px.Fail();
        return;
    }
    if (px.IsLoading()) {
        m_stockBackColor = m_ambientBackColor;
        m_stockEnabled = true;
    }
    // Named apart from any BackColor of the control's own, so the two never overwrite
    // each other in a bag.
    if (mask & kStockBackColor)
        px.ExchangeColor("_StockBackColor", m_stockBackColor, m_ambientBackColor);
    if (mask & kStockEnabled) px.ExchangeBool("Enabled", m_stockEnabled, true);
    if (px.IsLoading() && px.ok()) SetExtent(QSize(width, height));
}

void OleControl::OnResetState() {
    m_stockBackColor = m_ambientBackColor;
    m_stockEnabled = true;
}

void OleControl::SetStockEnabled(bool enabled) {
    m_stockEnabled = enabled;
    SetModifiedFlag();
}

void OleControl::SetStockBackColor(uint32_t color) {
    m_stockBackColor = color;
    SetModifiedFlag();
}

int OleControl::HimetricToPixels(int himetric, int dpi) { return (himetric * dpi + 1270) / 2540; }

void OleControl::SetExtent(const QSize& himetric) {
    QSize size = himetric;
    if (!OnSetExtent(size)) return;
    m_extent = size;
    const QSize dpi = ScreenMetrics::LogicalDpi();
    resize(HimetricToPixels(size.width(), dpi.width()),
           HimetricToPixels(size.height(), dpi.height()));
}

bool OleControl::OnSetExtent(QSize&) { return true; }

void OleControl::SetAmbientUserMode(bool userMode) {
    m_userMode = userMode;
    update();
}

void OleControl::OnDraw(QPainter&, const QRect&) {}

void OleControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    OnDraw(painter, rect());
}

void OleControl::ShowPropertyPages(QWidget* parent) {
    PropertyFrame frame(parent);
    frame.AddPagesOf(this);
    frame.Exec();
}

}  // namespace plat
