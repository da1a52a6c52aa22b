#include "regional/regional_qt.h"

namespace regional {

namespace {

// Splits "<prefix>123<suffix>" around the probe's digits.
void Affixes(const QString& written, std::string& prefix, std::string& suffix) {
  const auto at = written.indexOf(QStringLiteral("123"));
  if (at < 0) return;
  prefix = written.left(at).toStdString();
  suffix = written.mid(at + 3).toStdString();
}

}  // namespace

Regional FromQLocale(const QLocale& locale) {
  Regional r;
  r.decimalSeparator = locale.decimalPoint().toStdString();
  r.thousandSeparator = locale.groupSeparator().toStdString();
  r.currencySymbol = locale.currencySymbol(QLocale::CurrencySymbol).toStdString();
  Affixes(locale.toCurrencyString(123.0, QString(), 0), r.positivePrefix, r.positiveSuffix);
  Affixes(locale.toCurrencyString(-123.0, QString(), 0), r.negativePrefix, r.negativeSuffix);
  // Qt writes a currency's usual number of decimals by default.
  const QString one = locale.toCurrencyString(1.0);
  const auto point = one.lastIndexOf(locale.decimalPoint());
  r.currencyDecimals = 0;
  if (point >= 0) {
    for (auto i = point + locale.decimalPoint().size(); i < one.size() && one[i].isDigit(); ++i) {
      ++r.currencyDecimals;
    }
  }
  return r;
}

}  // namespace regional
