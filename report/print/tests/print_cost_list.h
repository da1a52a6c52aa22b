#pragma once

// The pistol cost list built by the band engine over loads held in memory,
// from the engine's test template (report/tests/data/cost_list.xml, found
// through VERSANTO_TEST_DATA).

#include <QString>

#include <string>

#include "engine_fixtures.h"  // Italian()
#include "report/engine/engine.h"
#include "report/engine/rows_dataset.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/prepared_pages.h"

namespace report::testing {

using expr::FieldType;
using expr::Value;

// The pistol cost list over `rows` loads: 37 rows on the first page, 39 on
// each further one.
class CostList {
 public:
  explicit CostList(int rows)
      : m_rows(QStringLiteral("repDBDataset1"),
               {{"tipologia", FieldType::fftString}, {"CoPalle"}, {"Palle"}, {"CoInn"}, {"Inneschi"}, {"CoPol"},
                {"Polvere"}, {"CoBoss"}, {"Bossoli"}}) {
    for (int i = 0; i < rows; ++i) {
      m_rows.AddRow({Value("9x21 n." + std::to_string(i + 1)), Value(25.0), Value(100.0), Value(30.0),
                     Value(1000.0), Value(154.32), Value(10.0), Value(0.5), Value(5.0)});
    }
    const QString file = QString::fromLocal8Bit(qgetenv("VERSANTO_TEST_DATA")) + QStringLiteral("/cost_list.xml");
    TemplateError error;
    m_loaded = LoadTemplate(report, file, &error);
    m_error = error.Text();
  }
  bool Build() {
    if (!m_loaded) return false;
    Engine engine(report, pages);
    engine.SetFormatSettings(Italian());
    engine.SetProcessEvents(false);
    return engine.BuildReport(true);
  }
  QString Error() const { return m_error + QString::fromStdString(report.ErrorList().Joined()); }

  Report report;
  PreparedPages pages;

 private:
  RowsDataSet m_rows;
  bool m_loaded = false;
  QString m_error;
};

}  // namespace report::testing
