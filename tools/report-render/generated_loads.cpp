#include "generated_loads.h"

#include <QFile>
#include <QTextStream>

#include <vector>

#include "loads/load_table.h"

namespace report_render {

bool GenerateLoads(const QString& fileName, int rows, QString& error) {
  loads::LoadTable table(fileName, loads::SampleSet::None);
  if (const loads::Status s = table.Open(); !s) {
    error = s.Message();
    return false;
  }
  auto index = [&](const char* name) { return std::size_t(table.FieldIndex(QString::fromLatin1(name))); };
  const std::size_t fields = table.Fields().size();
  constexpr int kBatch = 20000;  // records per transaction, so memory stays flat
  for (int start = 0; start < rows; start += kBatch) {
    std::vector<std::vector<QVariant>> records;
    for (int i = start; i < std::min(rows, start + kBatch); ++i) {
      std::vector<QVariant> r(fields);
      r[index("tipologia")] = QStringLiteral("Carico %1 - %2 gr").arg(i + 1).arg(90 + i % 80);
      r[index("CoPalle")] = 18.0 + (i % 50) * 0.37;
      r[index("Palle")] = 100 + (i % 4) * 50;
      r[index("CoInn")] = 28.0 + i % 7;
      r[index("Inneschi")] = 1000;
      r[index("CoPol")] = 60.0 + i % 40;
      r[index("Polvere")] = 4.0 + (i % 30) * 0.1;
      r[index("CoBoss")] = 0.25 + (i % 10) * 0.05;
      r[index("Bossoli")] = 5 + i % 5;
      r[index("Minima")] = 3.5 + (i % 30) * 0.1;
      r[index("Massima")] = 4.5 + (i % 30) * 0.1;
      records.push_back(std::move(r));
    }
    if (const loads::Status s = table.AppendRecords(records); !s) {
      error = s.Message();
      return false;
    }
  }
  table.Close();
  return true;
}

double PeakRssMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
  QTextStream in(&status);
  for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
    if (line.startsWith(QLatin1String("VmHWM:"))) {
      return line.mid(6).trimmed().section(QLatin1Char(' '), 0, 0).toDouble() / 1024.0;
    }
  }
  return 0;
}

}  // namespace report_render
