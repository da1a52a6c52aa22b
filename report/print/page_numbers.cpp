#include "report/print/page_numbers.h"

#include <QStringList>

#include <algorithm>

namespace report {

namespace {

// A page number is digits only: "+3" or "٣" would be read by a lenient
// conversion but no user means a page by them.
std::optional<int> PageNumber(const QString& digits) {
  if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
  for (const QChar c : digits) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
  }
  return digits.toInt();
}

}  // namespace

PageSelection ParsePageNumbers(const QString& text, int pageCount) {
  PageSelection result;
  QString compact;
  compact.reserve(text.size());
  for (const QChar c : text) {
    if (!c.isSpace()) compact.append(c);
  }

  std::vector<bool> chosen(static_cast<size_t>(std::max(pageCount, 0)) + 1, false);
  const auto choose = [&](int from, int to) {
    for (int page = std::max(from, 1); page <= std::min(to, pageCount); ++page) chosen[page] = true;
  };

  if (compact.isEmpty()) {
    choose(1, pageCount);
  } else {
    // Empty items ("1,,3", a trailing comma) name no page and are no error.
    for (const QString& item : compact.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const QStringList ends = item.split(QLatin1Char('-'));
      if (ends.size() > 2) {
        result.error = PageNumbersError{PageNumbersError::Kind::kNotANumber, item};
        return result;
      }
      const std::optional<int> first = PageNumber(ends[0]);
      if (!first) {
        result.error = PageNumbersError{PageNumbersError::Kind::kNotANumber, ends.size() == 1 || ends[0].isEmpty() ? item : ends[0]};
        return result;
      }
      if (ends.size() == 1) {
        choose(*first, *first);
        continue;
      }
      // "5-" runs to the last page.
      const std::optional<int> last = ends[1].isEmpty() ? std::optional<int>(pageCount) : PageNumber(ends[1]);
      if (!last) {
        result.error = PageNumbersError{PageNumbersError::Kind::kNotANumber, ends[1]};
        return result;
      }
      choose(*first, *last);
    }
  }

  for (int page = 1; page <= pageCount; ++page) {
    if (chosen[page]) result.pages.push_back(page);
  }
  if (result.pages.empty()) result.error = PageNumbersError{PageNumbersError::Kind::kNoPage, compact};
  return result;
}

}  // namespace report
