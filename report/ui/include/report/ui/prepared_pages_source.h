#pragma once

// The band engine's prepared pages as the preview window sees them. While a
// build runs only the finished pages count, so the view never draws a page
// whose footer is not on it yet.

#include "report/ui/preview_source.h"

#include <QObject>

namespace report {

class PreparedPages;
class Report;

class PreparedPagesSource : public QObject, public PreviewSource {
  Q_OBJECT

 public:
  // `report` (optional) gives the name shown after a file is opened.
  explicit PreparedPagesSource(PreparedPages& pages, const Report* report = nullptr,
                               QObject* parent = nullptr);

  PreparedPages& Pages() const { return m_pages; }
  bool Building() const { return m_building; }

  int PageCount() const override;
  QSizeF PageSize(int index) const override;
  void DrawPage(int index, QPainter& painter, const QRectF& target) const override;
  QString ReportName() const override;
  QString SaveToFile(const QString& fileName) override;
  QString LoadFromFile(const QString& fileName) override;

 private:
  PreparedPages& m_pages;
  const Report* m_report;
  bool m_building = false;
  int m_finished = 0;  // pages finished by the running build
};

}  // namespace report
