#pragma once
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

// A paint device that keeps every text painted on it, where it went and the clip it was
// painted under, and draws nothing else: so a test can tell whether a text shows whole.
struct PaintedText {
    QString text;
    QRectF extent;  // the text's own width at its baseline, in device pixels
    QRectF clip;    // the painter's clip then; the whole device without one
    bool whole() const {
        return clip.left() <= extent.left() + 0.5 && extent.right() <= clip.right() + 0.5;
    }
};

class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(const QSize& size) : m_size(size), m_engine(this) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const std::vector<PaintedText>& texts() const { return m_texts; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
                return m_size.width();
            case PdmHeight:
                return m_size.height();
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(QPaintDevice::devicePixelRatioFScale());
            default:
                return 0;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder* device) : m_device(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override {}
        void drawRects(const QRect*, int) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLine*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QTransform t = painter()->transform();
            const qreal width = QFontMetricsF(item.font()).horizontalAdvance(item.text());
            const QRectF extent = t.mapRect(QRectF(p.x(), p.y() - 1, width, 1));
            const QRectF device(QPointF(0, 0), QSizeF(m_device->m_size));
            const QRectF clip = painter()->hasClipping()
                                    ? t.mapRect(painter()->clipBoundingRect()) & device
                                    : device;
            m_device->m_texts.push_back({item.text(), extent, clip});
        }
        Type type() const override { return User; }

    private:
        TextRecorder* m_device;
    };

    QSize m_size;
    mutable Engine m_engine;
    std::vector<PaintedText> m_texts;
};
