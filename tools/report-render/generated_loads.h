#pragma once

// Load tables of any length for the tool and the benchmark: N records of
// varied, valid loads written to a new SQLite load file.

#include <QString>

namespace report_render {

// Creates `fileName` (which must not exist) with `rows` records; false with
// `error` set when the file cannot be written.
bool GenerateLoads(const QString& fileName, int rows, QString& error);

// The peak resident memory of this process so far, in megabytes.
double PeakRssMb();

}  // namespace report_render
