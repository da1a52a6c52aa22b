#include "regional/regional_qt.h"

#include <gtest/gtest.h>

namespace {

TEST(FromQLocale, ReadsItalianAndAmericanMoney) {
  const auto it = regional::FromQLocale(QLocale(QLocale::Italian, QLocale::Italy));
  EXPECT_EQ(it.decimalSeparator, ",");
  EXPECT_EQ(it.thousandSeparator, ".");
  EXPECT_EQ(it.currencyDecimals, 2);
  EXPECT_EQ(regional::FormatMoney(1234.5, it),
            QLocale(QLocale::Italian, QLocale::Italy).toCurrencyString(1234.5).toStdString());
  EXPECT_EQ(regional::FormatMoney(-1234.5, it),
            QLocale(QLocale::Italian, QLocale::Italy).toCurrencyString(-1234.5).toStdString());

  const auto us = regional::FromQLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(regional::FormatMoney(1234.5, us), "$1,234.50");
  EXPECT_EQ(us.decimalSeparator, ".");
}

}  // namespace
