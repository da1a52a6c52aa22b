#include "report/model/text_layout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>

namespace report {
namespace {

bool HasFamily(const QString& family) {
  static const QStringList families = QFontDatabase::families();
  return families.contains(family, Qt::CaseInsensitive);
}

}  // namespace

QString ResolvedFamily(const QString& family) {
  static QMutex lock;
  static QHash<QString, QString> cache;
  const QMutexLocker guard(&lock);
  const auto it = cache.constFind(family);
  if (it != cache.constEnd()) return *it;
  QString resolved = family;
  if (!HasFamily(family)) {
    resolved = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const char* candidate : {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"}) {
      if (HasFamily(QLatin1String(candidate))) {
        resolved = QLatin1String(candidate);
        break;
      }
    }
  }
  cache.insert(family, resolved);
  return resolved;
}

QFont ResolveFont(const Font& font) {
  QFont f(ResolvedFamily(font.name));
  f.setPixelSize(font.height);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeOut);
  // Design metrics: the advances do not change with the zoom.
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

MemoLines BreakMemoLines(const MemoView& memo, const QString& text, const Font& font,
                         double widthUnits) {
  MemoLines result;
  const QFontMetricsF metrics(ResolveFont(font));
  result.lineHeight = metrics.height() + memo.LineSpacing();
  result.ascent = metrics.ascent();
  const double width = widthUnits - 2 * memo.GapX();
  const QStringList paragraphs = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
  for (const QString& paragraph : paragraphs) {
    if (!memo.WordWrap() || width <= 0 || metrics.horizontalAdvance(paragraph) <= width) {
      result.lines << paragraph;
      continue;
    }
    // Greedy by words; a word wider than the memo is broken between characters.
    QString line;
    const QStringList words = paragraph.split(QLatin1Char(' '));
    for (int w = 0; w < words.size(); ++w) {
      QString word = words[w];
      const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
      if (metrics.horizontalAdvance(candidate) <= width) {
        line = candidate;
        continue;
      }
      if (!line.isEmpty()) {
        result.lines << line;
        line.clear();
      }
      while (metrics.horizontalAdvance(word) > width && word.size() > 1) {
        int fit = 1;
        while (fit < word.size() && metrics.horizontalAdvance(word.left(fit + 1)) <= width) ++fit;
        result.lines << word.left(fit);
        word = word.mid(fit);
      }
      line = word;
    }
    result.lines << line;
  }
  return result;
}

}  // namespace report
