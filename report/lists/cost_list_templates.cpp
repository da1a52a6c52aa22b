#include "report/lists/cost_list_templates.h"

#include <QtGlobal>

// Q_INIT_RESOURCE may not be used inside a namespace.
static void RegisterCostListResources() { Q_INIT_RESOURCE(reports); }

namespace report::lists {

namespace {

void EnsureResources() {
  static const bool registered = (RegisterCostListResources(), true);
  (void)registered;
}

}  // namespace

QString TemplateFile(CostList list) {
  EnsureResources();
  return list == CostList::Pistol ? QStringLiteral(":/reports/pistol.xml")
                                  : QStringLiteral(":/reports/rifle.xml");
}

QString TemplateFile(QStringView name) {
  if (name == QLatin1String("pistol")) return TemplateFile(CostList::Pistol);
  if (name == QLatin1String("rifle")) return TemplateFile(CostList::Rifle);
  return {};
}

}  // namespace report::lists
