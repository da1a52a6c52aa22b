#pragma once

// Small load tables for the cost-list tests: a fresh file per test with the
// rows the test asks for (an unset amount is an empty box, null in the file).

#include <QString>
#include <QVariant>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "loads/data_folder.h"
#include "loads/load_table.h"
#include "testing/test_support.h"

namespace report::lists::testing {

struct Load {
  std::string tipologia;
  std::optional<double> copalle = 10, palle = 100, coinn = 5, inneschi = 100, coPol = 100,
                        polvere = 5, coBoss = 0.5, bossoli = 10;
};

inline regional::Regional ItalianNumbers() {
  regional::Regional r;
  r.decimalSeparator = ",";
  r.thousandSeparator = ".";
  return r;
}

// A closed table over a new file holding `loads`, in that order.
inline std::unique_ptr<loads::LoadTable> TableWith(const std::string& name,
                                                   const std::vector<Load>& rows) {
  const std::filesystem::path dir = testing_support::FreshDir(name);
  auto table = std::make_unique<loads::LoadTable>(
      QString::fromStdString((dir / loads::kPistolFileName).string()), loads::SampleSet::None);
  table->SetRegional(ItalianNumbers());
  EXPECT_TRUE(table->Open().ok());
  std::vector<std::vector<QVariant>> records;
  for (const Load& load : rows) {
    std::vector<QVariant> record(table->Fields().size());
    const auto put = [&](const char* field, const QVariant& value) {
      const int i = table->FieldIndex(QString::fromLatin1(field));
      EXPECT_GE(i, 0) << field;
      if (i >= 0) record[static_cast<std::size_t>(i)] = value;
    };
    const auto amount = [](std::optional<double> v) { return v ? QVariant(*v) : QVariant(); };
    put("tipologia", QString::fromStdString(load.tipologia));
    put("copalle", amount(load.copalle));
    put("Palle", amount(load.palle));
    put("coinn", amount(load.coinn));
    put("Inneschi", amount(load.inneschi));
    put("CoPol", amount(load.coPol));
    put("Polvere", amount(load.polvere));
    put("CoBoss", amount(load.coBoss));
    put("Bossoli", amount(load.bossoli));
    records.push_back(std::move(record));
  }
  if (!records.empty()) {
    const loads::Status added = table->AppendRecords(records);
    EXPECT_TRUE(added.ok()) << added.Message().toStdString();
  }
  // The report opens a closed table itself.
  table->Close();
  return table;
}

// `count` rows named "Carica 1" ... "Carica count".
inline std::vector<Load> NumberedLoads(int count) {
  std::vector<Load> rows;
  for (int i = 1; i <= count; ++i) rows.push_back({"Carica " + std::to_string(i)});
  return rows;
}

}  // namespace report::lists::testing

// Readable texts in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
