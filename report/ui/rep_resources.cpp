#include "report/ui/rep_resources.h"

#include "rep_resources_table_p.h"

namespace report {

const RepResources& RepResources::Instance() {
  static const RepResources table(QString::fromUtf8(kRepResourcesTable));
  return table;
}

RepResources::RepResources(QStringView lines) {
  for (QStringView line : lines.tokenize(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) continue;
    const QStringView key = line.first(equals).trimmed();
    if (key.isEmpty()) continue;
    m_values.insert(key.toString(), line.sliced(equals + 1).toString());
  }
}

QString RepResources::Get(const QString& key) const {
  const auto found = m_values.constFind(key);
  if (found == m_values.cend()) return key;
  if (found->startsWith(u'!')) return found->mid(1);
  return *found;
}

QString RepResources::Get(int key) const { return Get(QString::number(key)); }

}  // namespace report
