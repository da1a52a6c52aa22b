#pragma once

#include <QString>

#include "report/print/page_numbers.h"
#include "report/print/print_job.h"

namespace report {

// The messages of printing that are not in the report texts table: the
// platform's conversion error and the reasons a job did not print.
QString NotAnIntegerMessage(const QString& text);
QString NotANumberMessage(const QString& text);
QString PageNumbersMessage(const PageNumbersError& error, int pageCount);
// Empty for a job that printed or was cancelled.
QString PrintResultMessage(const PrintResult& result, const PrintRequest& request, int pageCount);

}  // namespace report
