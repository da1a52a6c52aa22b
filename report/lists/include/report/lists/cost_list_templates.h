#pragma once

#include <QString>
#include <QStringView>

// The two cost-list templates, kept among the program's resources with the
// pictures they hold (resources/reports).
namespace report::lists {

enum class CostList { Pistol, Rifle };

// ":/reports/pistol.xml" or ":/reports/rifle.xml"; registers the resources on
// first use.
QString TemplateFile(CostList list);
// "pistol" and "rifle", as report-render's --template names them; nothing
// (an empty text) for any other name.
QString TemplateFile(QStringView name);

}  // namespace report::lists
