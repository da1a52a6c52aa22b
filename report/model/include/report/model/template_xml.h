#pragma once

// Templates as XML text. The root is the report's class name; each object is
// an element named by its class with its name and every published property
// that differs from the default as attributes; bands and views are nested in
// their page and band:
//
//   <?xml version="1.0" encoding="utf-8"?>
//   <TRepReport ReportOptions.Name="Lista">
//     <DataSets><item DataSetName="repDBDataset1"/></DataSets>
//     <Variables><item Name=" Spese"/><item Name="Totale" Value="&lt;a&gt;+&lt;b&gt;"/></Variables>
//     <TRepDataPage Name="Data"/>
//     <TRepReportPage Name="Page1" PaperWidth="210" ...>
//       <TRepPageHeader Name="PageHeader1" Top="64.25201" Width="718.1107" Height="22.67718">
//         <TRepMemoView Name="Memo4" Left="7.55906" Width="79.37013" Height="18.89765"
//                       Text="Tipologia" ParentFont="False"/>
//       </TRepPageHeader>
//     </TRepReportPage>
//   </TRepReport>
//
// Geometry attributes are report units, paper sizes and margins millimetres.
// A picture is Picture.Format with Picture.Data (base64) or Picture.File (a path
// relative to the template's folder, or a Qt resource ":/...").
//
// Loading is all or nothing: a template that is not XML, is truncated, names
// an unknown class or property, holds an impossible value (a zero-width page,
// negative margins, a NaN) or nests objects where they cannot be, is
// reported with its file, line and column and leaves the report untouched.

#include <QByteArray>
#include <QString>

namespace report {

class Report;

struct TemplateError {
  QString file;
  qint64 line = 0;
  qint64 column = 0;
  QString message;
  // "file:line:column: message"
  QString Text() const;
};

bool LoadTemplate(Report& report, const QString& fileName, TemplateError* error);
// `fileName` names the text in errors and is the base of relative picture paths.
bool LoadTemplateFromData(Report& report, const QByteArray& xml, const QString& fileName,
                          TemplateError* error);

QByteArray TemplateToXml(const Report& report);
// Written to a temporary file and renamed over `fileName`, so a failed save
// leaves the previous file as it was. `error` gets the reason on failure.
bool SaveTemplate(const Report& report, const QString& fileName, QString* error);

}  // namespace report
