#include "report/ui/prepared_pages_source.h"

#include "report/model/report.h"
#include "report/store/prepared_pages.h"
#include "report/ui/rep_resources.h"

#include <QPainter>

#include <algorithm>

namespace report {

PreparedPagesSource::PreparedPagesSource(PreparedPages& pages, const Report* report,
                                         QObject* parent)
    : QObject(parent), m_pages(pages), m_report(report) {
  connect(&pages, &PreparedPages::BuildStarted, this, [this] {
    m_building = true;
    m_finished = 0;
  });
  connect(&pages, &PreparedPages::PageFinished, this,
          [this](int index) { m_finished = std::max(m_finished, index + 1); });
  connect(&pages, &PreparedPages::BuildFinished, this, [this] { m_building = false; });
}

int PreparedPagesSource::PageCount() const {
  const int count = m_pages.Count();
  return m_building ? std::min(m_finished, count) : count;
}

QSizeF PreparedPagesSource::PageSize(int index) const { return m_pages.PageSize(index); }

void PreparedPagesSource::DrawPage(int index, QPainter& painter, const QRectF& target) const {
  const QSizeF size = m_pages.PageSize(index);
  if (size.width() <= 0) return;
  m_pages.DrawPage(index, painter, target.width() / size.width(), target.topLeft());
}

QString PreparedPagesSource::ReportName() const {
  if (!m_pages.Info().name.isEmpty()) return m_pages.Info().name;
  return m_report ? m_report->ReportOptions().name : QString();
}

QString PreparedPagesSource::SaveToFile(const QString& fileName) {
  QString error;
  if (m_pages.Save(fileName, &error)) return {};
  return error.isEmpty() ? RepResources::Text(145) : error;
}

QString PreparedPagesSource::LoadFromFile(const QString& fileName) {
  QString error;
  const bool existed = m_pages.Load(fileName, true, &error);
  if (!error.isEmpty()) return error;
  return existed ? QString() : RepResources::Text(145);
}

}  // namespace report
