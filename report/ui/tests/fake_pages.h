#pragma once

// Prepared pages for the preview's tests and benchmark: A4 pages of text
// rows, each row naming its page, with a file form of our own so that Open
// and Save can be tried without the band engine.

#include "report/ui/preview_source.h"

#include <QFile>
#include <QPainter>
#include <QTextStream>

#include <vector>

namespace report::testing {

class FakePages : public PreviewSource {
 public:
  static constexpr double kWidth = 793.7;    // A4, report units
  static constexpr double kHeight = 1122.5;
  static constexpr int kRows = 40;

  explicit FakePages(int count = 0) { SetCount(count); }

  void SetCount(int count) { m_count = count; }
  void Add() { ++m_count; }
  // A word that appears on one row of one page only.
  void PutWord(int page, int row, const QString& word) { m_words.push_back({page, row, word}); }

  int PageCount() const override { return m_count; }
  QSizeF PageSize(int) const override { return {kWidth, kHeight}; }
  void DrawPage(int index, QPainter& painter, const QRectF& target) const override {
    ++m_draws;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / kWidth, target.height() / kHeight);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawRect(QRectF(37.8, 37.8, kWidth - 75.6, kHeight - 75.6));
    for (int row = 0; row < kRows; ++row) {
      const double y = 60 + row * 25;
      QString text = QStringLiteral("Page %1 row %2").arg(index + 1).arg(row + 1);
      for (const auto& w : m_words)
        if (w.page == index && w.row == row) text += u' ' + w.word;
      painter.drawText(QPointF(50, y), text);
      painter.drawText(QPointF(500, y), QStringLiteral("%1,50 EUR").arg(row * 3));
    }
    painter.restore();
  }

  QString ReportName() const override { return m_name; }
  void SetReportName(const QString& name) { m_name = name; }

  QString SaveToFile(const QString& fileName) override {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QStringLiteral("Cannot create file");
    QTextStream(&file) << "FAKEPAGES " << m_count << ' ' << m_name << '\n';
    return {};
  }
  QString LoadFromFile(const QString& fileName) override {
    m_count = 0;
    m_name.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("Invalid file format");
    const QStringList parts = QString::fromUtf8(file.readLine()).trimmed().split(u' ');
    bool ok = false;
    const int count = parts.size() >= 2 && parts[0] == QLatin1String("FAKEPAGES") ? parts[1].toInt(&ok) : 0;
    if (!ok) return QStringLiteral("Invalid file format");
    m_count = count;
    m_name = parts.size() > 2 ? parts[2] : QString();
    return {};
  }

  int Draws() const { return m_draws; }

 private:
  struct Word {
    int page;
    int row;
    QString word;
  };
  int m_count = 0;
  QString m_name;
  std::vector<Word> m_words;
  mutable int m_draws = 0;
};

}  // namespace report::testing
