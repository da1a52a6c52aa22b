#pragma once

// Small templates built and inspected by their prepared pages: which bands
// landed on which page, at which position.

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/engine/engine.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/model/units.h"
#include "report/store/prepared_pages.h"
#include "report/expr/format_settings.h"

namespace report::testing {

inline expr::FormatSettings Italian() {
  expr::FormatSettings s;
  s.numbers.decimalSeparator = ",";
  s.numbers.thousandSeparator = ".";
  s.numbers.currencySymbol = "€";
  s.numbers.positivePrefix = "";
  s.numbers.positiveSuffix = " €";
  s.numbers.negativePrefix = "-";
  s.numbers.negativeSuffix = " €";
  return s;
}

inline QString TestData(const QString& name) {
  return QString::fromLocal8Bit(qgetenv("VERSANTO_TEST_DATA")) + QLatin1Char('/') + name;
}

struct Built {
  std::unique_ptr<Report> report = std::make_unique<Report>();
  std::unique_ptr<PreparedPages> pages = std::make_unique<PreparedPages>();
  std::unique_ptr<Engine> engine;
  bool ok = false;

  bool Build() {
    engine = std::make_unique<Engine>(*report, *pages);
    engine->SetFormatSettings(Italian());
    engine->SetProcessEvents(false);
    ok = engine->BuildReport(true);
    return ok;
  }
  std::string Errors() const { return report->ErrorList().Joined(); }
};

inline Built Load(const QString& xml) {
  Built b;
  TemplateError error;
  const bool loaded = LoadTemplateFromData(*b.report, xml.toUtf8(), QStringLiteral("inline.xml"), &error);
  EXPECT_TRUE(loaded) << error.Text().toStdString();
  return b;
}

struct Placed {
  QString name;
  double top;
  double height;
};

// The records of page i whose source objects are bands (or, with views, all).
inline std::vector<Placed> Objects(const PreparedPages& pages, int i, bool bandsOnly = true) {
  std::vector<Placed> placed;
  for (const ObjectRecord& r : pages.Records(i)) {
    const Component* source = pages.Alias(r.alias).object;
    if (bandsOnly && source->Type() != ObjectType::Band) continue;
    placed.push_back({source->Name(), r.top, r.height});
  }
  return placed;
}

inline std::vector<QString> Names(const std::vector<Placed>& placed) {
  std::vector<QString> names;
  for (const auto& p : placed) names.push_back(p.name);
  return names;
}

inline int CountOf(const std::vector<Placed>& placed, const QString& name) {
  int n = 0;
  for (const auto& p : placed) n += p.name == name;
  return n;
}

}  // namespace report::testing

inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
