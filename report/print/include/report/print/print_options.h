#pragma once

#include <QString>

namespace report {

enum class PrintPages { ppAll, ppOdd, ppEven };

enum class PrintMode { pmDefault, pmSplit, pmJoin, pmScale };

// How the sheets are turned for two-sided printing; dmDefault leaves each
// page's own setting.
enum class Duplex { dmDefault, dmVertical, dmHorizontal, dmSimplex };

// The print options as one job uses them: the report's stored print options
// (report::PrintOptions of the model, turned into these by JobOptionsOf) with
// the dialog's choices. The defaults are the templates' values.
struct PrintJobOptions {
  int Copies = 1;
  bool Collate = true;
  QString PageNumbers;  // empty: all pages
  report::PrintPages PrintPages = report::PrintPages::ppAll;
  report::PrintMode PrintMode = report::PrintMode::pmDefault;
  int PrintOnSheet = 0;  // paper code for the join and scale modes; 0 none
  bool Reverse = false;
  bool ShowDialog = true;
  // A name that matches no printer (the templates say "Default") leaves the
  // current printer as it is.
  QString Printer = QStringLiteral("Default");
  // Not a stored option: the dialog's choice for the job under way.
  report::Duplex Duplex = report::Duplex::dmDefault;

  bool operator==(const PrintJobOptions&) const = default;
};

}  // namespace report
