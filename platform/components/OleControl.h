#pragma once
#include <QByteArray>
#include <QList>
#include <QSize>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "ClassId.h"
#include "DispatchTable.h"
#include "EventSink.h"
#include "PropExchange.h"

// Stand-in for the control base class of an in-process control: a widget that a
// container places on a dialog and drives only through this interface. It offers
// automation by dispatch id or name, events to the container's sinks, the modified flag,
// loading and saving through one exchange procedure (named bag or byte stream), the
// extent in 0.01 mm, the container's ambient properties, the stock properties (background
// colour and Enabled) and its property pages.
//
// A control usually lives in a library that carries its own copy of this layer: every
// call a host makes is virtual, so it runs the library's code.
namespace plat {

class OleControl : public QWidget {
    Q_OBJECT

public:
    // Stock properties as bits of the saved mask.
    static constexpr uint32_t kStockBackColor = 0x01;
    static constexpr uint32_t kStockEnabled = 0x40;
    // The ambient background of the programs' dialogs: the button face.
    static constexpr uint32_t kDefaultAmbientBackColor = 0x8000000F;

    explicit OleControl(QWidget* parent = nullptr);
    ~OleControl() override;

    // Automation. False for an unknown member, a wrong kind or a value that does not fit.
    const DispatchTable& Dispatch() const { return m_dispatch; }
    // The event interface: the events the control fires, by dispatch id and name.
    const DispatchTable& Events() const { return m_events; }
    virtual DispId IdOfName(const QString& name) const;
    virtual bool GetProperty(DispId id, QVariant& value) const;
    virtual bool PutProperty(DispId id, const QVariant& value);
    virtual bool CallMethod(DispId id);

    // The sink must stay alive while it is advised.
    virtual void Advise(EventSink* sink);
    virtual void Unadvise(EventSink* sink);

    // Initialisation is either InitNew (defaults) or one of the loads. A load that fails
    // (a short or unknown record) leaves the control in its reset state and says false.
    virtual void InitNew();
    virtual bool Load(const PropertyBag& bag);
    virtual bool LoadFromStream(const QByteArray& bytes);
    virtual void Save(PropertyBag& bag, bool clearDirty = true);
    virtual QByteArray SaveToStream(bool clearDirty = true);
    virtual bool IsModified() const { return m_modified; }

    // The size the container asks for, in 0.01 mm; the control may replace it.
    virtual void SetExtent(const QSize& himetric);
    QSize Extent() const { return m_extent; }

    virtual void SetAmbientUserMode(bool userMode);
    bool AmbientUserMode() const { return m_userMode; }
    virtual void SetAmbientBackColor(uint32_t color) { m_ambientBackColor = color; }
    uint32_t AmbientBackColor() const { return m_ambientBackColor; }

    virtual uint32_t MiscStatus() const { return 0; }
    virtual QList<ClassId> PropertyPageIds() const { return {}; }
    // Shows the property frame with the control's pages, modally.
    virtual void ShowPropertyPages(QWidget* parent);

    bool StockEnabled() const { return m_stockEnabled; }
    void SetStockEnabled(bool enabled);
    uint32_t StockBackColor() const { return m_stockBackColor; }
    void SetStockBackColor(uint32_t color);
    uint32_t StockPropMask() const { return m_stockMask; }
    uint32_t LoadedVersion() const { return m_loadedVersion; }

protected:
    DispatchTable& DispatchMap() { return m_dispatch; }
    DispatchTable& EventMap() { return m_events; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    void SetStockPropMask(uint32_t mask) { m_stockMask = mask; }
    void FireEvent(DispId id, const QVariantList& args);

    // The derived exchange calls ExchangeVersion, then this base step (extent, stock
    // mask and stock properties), then its own values.
    void ExchangeVersion(PropExchange& px, uint32_t version);
    virtual void DoPropExchange(PropExchange& px);
    virtual void OnResetState();
    // May replace the requested size; false refuses the request.
    virtual bool OnSetExtent(QSize& himetric);
    virtual void OnDraw(QPainter& painter, const QRect& bounds);
    void paintEvent(QPaintEvent* event) override;

    static int HimetricToPixels(int himetric, int dpi);

private:
    bool load(PropExchange& px);

    DispatchTable m_dispatch;
    DispatchTable m_events;
    std::vector<EventSink*> m_sinks;
    bool m_modified = false;
    QSize m_extent;
    bool m_userMode = true;
    uint32_t m_ambientBackColor = kDefaultAmbientBackColor;
    uint32_t m_stockMask = 0;
    uint32_t m_stockBackColor = kDefaultAmbientBackColor;
    bool m_stockEnabled = true;
    uint32_t m_loadedVersion = 0;
};

}  // namespace plat
