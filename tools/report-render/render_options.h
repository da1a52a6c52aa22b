#pragma once

// The command line of report-render, which scripts rely on:
//   report-render --template pistol|rifle|FILE (--data FILE.sqlite | --rows N)
//                 [--pdf OUT.pdf] [--png DIR] [--pages RANGE] [--dpi D] [--vpr OUT.vpr]
//   report-render --open FILE.vpr [--pdf OUT.pdf] [--png DIR] [--pages RANGE] [--dpi D]

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace report_render {

struct Options {
  QString templateName;  // "pistol", "rifle" or a file
  QString dataFile;      // --data
  int rows = -1;         // --rows; -1 when not given
  QString openFile;      // --open
  QString pdf;
  QString pngDir;
  QString pages;  // the range as given; empty: all
  double dpi = 96;
  QString vpr;
};

// Nothing, with `error` set, when the command line is not one of the two forms.
std::optional<Options> ParseOptions(const QStringList& arguments, QString& error);

// "1-3,5,8-" (pages from 1) as 0-based indices below `count`, in order and
// without repeats; nothing when the text is not a range.
std::optional<std::vector<int>> ParsePageRange(const QString& range, int count);

QString Usage();

}  // namespace report_render
