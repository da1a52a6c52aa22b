#include "render_options.h"

#include <set>

namespace report_render {

QString Usage() {
  return QStringLiteral(
      "usage: report-render --template pistol|rifle|FILE (--data FILE.sqlite | --rows N)\n"
      "                     [--pdf OUT.pdf] [--png DIR] [--pages RANGE] [--dpi D] [--vpr OUT.vpr]\n"
      "       report-render --open FILE.vpr [--pdf OUT.pdf] [--png DIR] [--pages RANGE] [--dpi D]");
}

std::optional<Options> ParseOptions(const QStringList& arguments, QString& error) {
  Options o;
  bool haveDpi = false;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    auto value = [&]() -> std::optional<QString> {
      if (i + 1 >= arguments.size()) {
        error = a + QStringLiteral(" needs a value");
        return std::nullopt;
      }
      return arguments[++i];
    };
    std::optional<QString> v;
    auto once = [&](QString& target) {
      if (!target.isEmpty()) {
        error = a + QStringLiteral(" is given twice");
        return false;
      }
      if (!(v = value())) return false;
      if (v->isEmpty()) {
        error = a + QStringLiteral(" needs a value");
        return false;
      }
      target = *v;
      return true;
    };
    if (a == QLatin1String("--template")) {
      if (!once(o.templateName)) return std::nullopt;
    } else if (a == QLatin1String("--data")) {
      if (!once(o.dataFile)) return std::nullopt;
    } else if (a == QLatin1String("--open")) {
      if (!once(o.openFile)) return std::nullopt;
    } else if (a == QLatin1String("--pdf")) {
      if (!once(o.pdf)) return std::nullopt;
    } else if (a == QLatin1String("--png")) {
      if (!once(o.pngDir)) return std::nullopt;
    } else if (a == QLatin1String("--pages")) {
      if (!once(o.pages)) return std::nullopt;
    } else if (a == QLatin1String("--vpr")) {
      if (!once(o.vpr)) return std::nullopt;
    } else if (a == QLatin1String("--rows")) {
      if (o.rows >= 0) {
        error = QStringLiteral("--rows is given twice");
        return std::nullopt;
      }
      if (!(v = value())) return std::nullopt;
      bool ok = false;
      o.rows = v->toInt(&ok);
      if (!ok || o.rows < 0 || o.rows > 10000000) {
        error = QStringLiteral("--rows needs a number of rows from 0 to 10000000");
        return std::nullopt;
      }
    } else if (a == QLatin1String("--dpi")) {
      if (haveDpi) {
        error = QStringLiteral("--dpi is given twice");
        return std::nullopt;
      }
      haveDpi = true;
      if (!(v = value())) return std::nullopt;
      bool ok = false;
      o.dpi = v->toDouble(&ok);
      if (!ok || !(o.dpi >= 10 && o.dpi <= 1200)) {
        error = QStringLiteral("--dpi needs a resolution from 10 to 1200");
        return std::nullopt;
      }
    } else {
      error = QStringLiteral("unknown argument ") + a;
      return std::nullopt;
    }
  }
  if (!o.openFile.isEmpty()) {
    if (!o.templateName.isEmpty() || !o.dataFile.isEmpty() || o.rows >= 0 || !o.vpr.isEmpty()) {
      error = QStringLiteral("--open draws a saved report: it takes no --template, --data, --rows or --vpr");
      return std::nullopt;
    }
    return o;
  }
  if (o.templateName.isEmpty()) {
    error = QStringLiteral("give --template or --open");
    return std::nullopt;
  }
  if (o.dataFile.isEmpty() == (o.rows < 0)) {
    error = QStringLiteral("give either --data FILE.sqlite or --rows N");
    return std::nullopt;
  }
  return o;
}

std::optional<std::vector<int>> ParsePageRange(const QString& range, int count) {
  std::vector<int> pages;
  std::set<int> seen;
  if (range.trimmed().isEmpty()) {
    for (int i = 0; i < count; ++i) pages.push_back(i);
    return pages;
  }
  for (const QString& rawPart : range.split(QLatin1Char(','))) {
    const QString part = rawPart.trimmed();
    const qsizetype dash = part.indexOf(QLatin1Char('-'));
    bool okFrom = true, okTo = true;
    int from = 0, to = 0;
    if (dash < 0) {
      from = to = part.toInt(&okFrom);
    } else {
      from = dash == 0 ? 1 : part.left(dash).toInt(&okFrom);
      to = dash == part.size() - 1 ? count : part.mid(dash + 1).toInt(&okTo);
    }
    if (!okFrom || !okTo || from < 1 || to < from) return std::nullopt;
    for (int p = from; p <= std::min(to, count); ++p) {
      if (seen.insert(p).second) pages.push_back(p - 1);
    }
  }
  return pages;
}

}  // namespace report_render
