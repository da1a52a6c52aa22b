#include "text_recorder_p.h"

#include <QPaintEngine>
#include <QTextItem>

namespace report {

class TextRecorderEngine : public QPaintEngine {
 public:
  explicit TextRecorderEngine(TextRecorder& device) : QPaintEngine(AllFeatures), m_device(device) {}

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawPath(const QPainterPath&) override {}
  void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
  Type type() const override { return User; }

  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    const QRectF local(p.x(), p.y() - item.ascent(), item.width(),
                       item.ascent() + item.descent());
    m_device.m_runs.push_back({item.text(), state->transform().mapRect(local)});
  }

 private:
  TextRecorder& m_device;
};

TextRecorder::TextRecorder(QSize size)
    : m_size(size), m_engine(std::make_unique<TextRecorderEngine>(*this)) {}

TextRecorder::~TextRecorder() = default;

QPaintEngine* TextRecorder::paintEngine() const { return m_engine.get(); }

int TextRecorder::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / 96);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / 96);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return 0;
  }
}

}  // namespace report
