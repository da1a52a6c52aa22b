#pragma once

// A paint device that keeps only the text a page draws: each text run with
// its rectangle, in drawing order. Find draws a page onto it once at zoom 1,
// so it searches exactly what the page shows, whoever drew it.

#include <QPaintDevice>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

namespace report {

struct TextRun {
  QString text;
  QRectF rect;  // device pixels
};

class TextRecorder : public QPaintDevice {
 public:
  explicit TextRecorder(QSize size);
  ~TextRecorder() override;

  QPaintEngine* paintEngine() const override;
  const std::vector<TextRun>& Runs() const { return m_runs; }

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  friend class TextRecorderEngine;
  QSize m_size;
  std::vector<TextRun> m_runs;
  std::unique_ptr<QPaintEngine> m_engine;
};

}  // namespace report
