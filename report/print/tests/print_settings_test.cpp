#include <QSettings>

#include <gtest/gtest.h>

#include "report/print/report_settings.h"

namespace report {
namespace {

// Every test runs with its own XDG_CONFIG_HOME, so the key starts empty.
class ReportSettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { OpenReportSettings(kDefaultIniFile)->clear(); }
};

TEST_F(ReportSettingsTest, UnitsAreCentimetresUnlessTheKeySaysOne) {
  EXPECT_EQ(ReadSizeUnits(kDefaultIniFile), SizeUnits::kCentimetres);
  for (const auto& [stored, units] : {std::pair{QVariant(1), SizeUnits::kInches},
                                      std::pair{QVariant(QStringLiteral("1")), SizeUnits::kInches},
                                      std::pair{QVariant(0), SizeUnits::kCentimetres},
                                      std::pair{QVariant(2), SizeUnits::kCentimetres},
                                      std::pair{QVariant(QStringLiteral("pollici")), SizeUnits::kCentimetres}}) {
    OpenReportSettings(kDefaultIniFile)->setValue(QStringLiteral("Form.TRepDesignerForm/Units"), stored);
    EXPECT_EQ(ReadSizeUnits(kDefaultIniFile), units) << stored.toString().toStdString();
  }
}

TEST_F(ReportSettingsTest, TheKeyIsTheUsersNativeSettingsOfVersantoReports) {
  {
    const auto settings = OpenReportSettings(kDefaultIniFile);
    settings->setValue(QStringLiteral("Form.TRepDesignerForm/Units"), 1);
    settings->sync();
    EXPECT_EQ(settings->status(), QSettings::NoError);
    EXPECT_EQ(settings->format(), QSettings::NativeFormat);
    EXPECT_EQ(settings->scope(), QSettings::UserScope);
  }
  // Read back through Qt's own naming of the same place.
  const QSettings same(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Versanto Reports"));
  EXPECT_EQ(same.value(QStringLiteral("Form.TRepDesignerForm/Units")).toInt(), 1);
  // Written with forward slashes or without the leading separator, the key is the same.
  EXPECT_EQ(ReadSizeUnits(QStringLiteral("Software/Versanto Reports")), SizeUnits::kInches);
  EXPECT_EQ(ReadSizeUnits(QStringLiteral("\\Software\\Altro")), SizeUnits::kCentimetres);
}

}  // namespace
}  // namespace report
