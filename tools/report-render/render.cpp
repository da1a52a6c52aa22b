#include "render.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <vector>

#include "generated_loads.h"
#include "loads/data_source.h"
#include "loads/load_table.h"
#include "report/engine/db_dataset.h"
#include "report/engine/engine.h"
#include "report/lists/cost_list_templates.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/page_painter.h"
#include "report/store/prepared_pages.h"

namespace report_render {
namespace {

// "pistol" and "rifle" name the program's own cost lists; anything else is a file.
QString TemplatePath(const QString& name) {
  const QString own = report::lists::TemplateFile(name);
  return own.isEmpty() ? name : own;
}

int WriteOutputs(const report::PreparedPages& pages, const Options& o, QTextStream& out, QTextStream& err) {
  const auto indices = ParsePageRange(o.pages, pages.Count());
  if (!indices) {
    err << "error: --pages " << o.pages << " is not a page range (e.g. 1-3,5,8-)\n";
    return kBadInput;
  }
  if (!o.pngDir.isEmpty()) {
    if (!QDir().mkpath(o.pngDir)) {
      err << "error: cannot make the folder " << o.pngDir << "\n";
      return kOutputFailed;
    }
    QElapsedTimer timer;
    timer.start();
    for (int i : *indices) {
      const QString file = QDir(o.pngDir).filePath(QStringLiteral("page-%1.png").arg(i + 1, 4, 10, QLatin1Char('0')));
      const QImage image = report::RenderPage(pages, i, o.dpi);
      if (image.isNull() || !image.save(file, "PNG")) {
        err << "error: cannot write " << file << "\n";
        return kOutputFailed;
      }
    }
    out << "png_ms: " << timer.elapsed() << "\n";
  }
  if (!o.pdf.isEmpty()) {
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (indices->empty() || !report::WritePdf(pages, o.pdf, *indices, &error)) {
      err << "error: cannot write " << o.pdf << ": " << (indices->empty() ? QStringLiteral("no pages") : error) << "\n";
      return kOutputFailed;
    }
    out << "pdf_ms: " << timer.elapsed() << "\n";
  }
  return kOk;
}

int Open(const Options& o, QTextStream& out, QTextStream& err) {
  report::PreparedPages pages;
  QElapsedTimer timer;
  timer.start();
  QString error;
  if (!pages.Load(o.openFile, true, &error)) {
    err << "error: " << error;
    if (!pages.LoadErrorDetail().isEmpty()) err << " (" << pages.LoadErrorDetail() << ")";
    err << "\n";
    return kBadInput;
  }
  out << "pages: " << pages.Count() << "\n";
  out << "load_ms: " << timer.elapsed() << "\n";
  const int result = WriteOutputs(pages, o, out, err);
  out << "peak_rss_mb: " << QString::number(PeakRssMb(), 'f', 1) << "\n";
  return result;
}

int Build(const Options& o, QTextStream& out, QTextStream& err) {
  QString error;
  const QString templatePath = TemplatePath(o.templateName);
  report::Report rep;
  report::TemplateError templateError;
  if (!report::LoadTemplate(rep, templatePath, &templateError)) {
    err << "error: " << templateError.Text() << "\n";
    return kBadInput;
  }

  QTemporaryDir scratch;
  QString dataFile = o.dataFile;
  if (!dataFile.isEmpty()) {
    // A load table would create a missing file with sample loads; a script
    // that names a file means that file.
    if (!QFileInfo(dataFile).isFile()) {
      err << "error: the load file " << dataFile << " does not exist\n";
      return kBadInput;
    }
  } else {
    dataFile = scratch.filePath(QStringLiteral("generated.sqlite"));
    if (!scratch.isValid() || !GenerateLoads(dataFile, o.rows, error)) {
      err << "error: cannot generate the load records: " << error << "\n";
      return kBadInput;
    }
  }

  loads::LoadTable table(dataFile, loads::SampleSet::None);
  loads::DataSource source(&table);
  std::vector<std::unique_ptr<report::DBDataset>> dataSets;
  for (report::DataSetItem& item : rep.DataSets()) {
    auto data = std::make_unique<report::DBDataset>(item.dataSetName);
    data->SetDataSource(&source);
    item.dataSet = data.get();
    dataSets.push_back(std::move(data));
  }

  report::PreparedPages pages;
  report::Engine engine(rep, pages);
  engine.SetProcessEvents(false);
  QElapsedTimer timer;
  timer.start();
  const bool ok = engine.BuildReport(true);
  const qint64 buildMs = timer.elapsed();
  out << "pages: " << pages.Count() << "\n";
  out << "build_ms: " << buildMs << "\n";
  out << "first_page_ms: " << engine.FirstPageMs() << "\n";
  for (const std::string& e : rep.ErrorList().Texts()) out << "error: " << QString::fromStdString(e) << "\n";

  int result = ok ? kOk : kBuildErrors;
  if (!o.vpr.isEmpty()) {
    timer.restart();
    if (!pages.Save(o.vpr, &error)) {
      err << "error: cannot write " << o.vpr << ": " << error << "\n";
      result = kOutputFailed;
    } else {
      out << "save_ms: " << timer.elapsed() << "\n";
      out << "vpr_mb: " << QString::number(double(QFileInfo(o.vpr).size()) / (1024.0 * 1024.0), 'f', 1) << "\n";
    }
  }
  if (const int written = WriteOutputs(pages, o, out, err); written != kOk) result = written;
  out << "peak_rss_mb: " << QString::number(PeakRssMb(), 'f', 1) << "\n";
  return result;
}

}  // namespace

int Run(const Options& options, QTextStream& out, QTextStream& err) {
  const int result = options.openFile.isEmpty() ? Build(options, out, err) : Open(options, out, err);
  out.flush();
  err.flush();
  return result;
}

}  // namespace report_render
