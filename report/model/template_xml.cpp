#include "report/model/template_xml.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "report/model/object_xml.h"
#include "report/model/report.h"

namespace report {
namespace {

constexpr qint64 kMaxTemplateBytes = 64 * 1024 * 1024;

QString BoolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

// The report's own attributes, each with its text and its setter.
struct ReportAttribute {
  const char* name;
  QString (*get)(const Report&);
  bool (*set)(Report&, const QString&);
};

bool ParseBool(const QString& s, bool& v) {
  if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) v = true;
  else if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) v = false;
  else return false;
  return true;
}

#define R_STR(P) \
  ReportAttribute{#P, [](const Report& r) { return r.P(); }, [](Report& r, const QString& s) { r.Set##P(s); return true; }}
#define R_BOOL(P)                                                         \
  ReportAttribute{#P, [](const Report& r) { return BoolText(r.P()); },    \
                  [](Report& r, const QString& s) {                       \
                    bool v = false;                                       \
                    if (!ParseBool(s, v)) return false;                   \
                    r.Set##P(v);                                          \
                    return true;                                          \
                  }}
#define R_OPT(GROUP, FIELD, KIND)                                                        \
  ReportAttribute{#GROUP "." #FIELD,                                                     \
                  [](const Report& r) { return KIND##Text(r.GROUP().FIELD); },            \
                  [](Report& r, const QString& s) {                                      \
                    auto o = r.GROUP();                                                  \
                    if (!Parse##KIND(s, o.FIELD)) return false;                          \
                    r.Set##GROUP(o);                                                     \
                    return true;                                                         \
                  }}

QString BoolOptText(bool v) { return BoolText(v); }
bool ParseBoolOpt(const QString& s, bool& v) { return ParseBool(s, v); }
QString IntText(int v) { return QString::number(v); }
bool ParseInt(const QString& s, int& v) {
  bool ok = false;
  const int r = s.toInt(&ok);
  if (ok) v = r;
  return ok;
}
QString RealText(double v) { return NumberText(v); }
bool ParseReal(const QString& s, double& v) {
  bool ok = false;
  const double r = s.toDouble(&ok);
  if (ok && std::isfinite(r)) v = r;
  return ok && std::isfinite(r);
}
QString StrText(const QString& v) { return v; }
bool ParseStr(const QString& s, QString& v) {
  v = s;
  return true;
}

const std::vector<ReportAttribute>& ReportAttributes() {
  static const std::vector<ReportAttribute> list = {
      R_STR(Version),
      R_STR(ScriptLanguage),
      R_STR(ScriptText),
      R_STR(IniFile),
      R_BOOL(DotMatrixReport),
      R_BOOL(ConvertNulls),
      R_BOOL(DoublePass),
      R_BOOL(PrintIfEmpty),
      ReportAttribute{"MaxMemSize", [](const Report& r) { return QString::number(r.MaxMemSize()); },
                      [](Report& r, const QString& s) {
                        int v = 0;
                        if (!ParseInt(s, v) || v < 0) return false;
                        r.SetMaxMemSize(v);
                        return true;
                      }},
      R_BOOL(UseFileCache),
      R_STR(TempDir),
      R_BOOL(OldStyleProgress),
      R_BOOL(ShowProgress),
      R_OPT(PreviewOptions, buttons, Int),
      R_OPT(PreviewOptions, zoom, Real),
      R_OPT(PreviewOptions, allowEdit, BoolOpt),
      R_OPT(PreviewOptions, maximized, BoolOpt),
      R_OPT(PreviewOptions, modal, BoolOpt),
      R_OPT(PreviewOptions, outlineExpand, BoolOpt),
      R_OPT(PreviewOptions, outlineVisible, BoolOpt),
      R_OPT(PreviewOptions, outlineWidth, Int),
      R_OPT(PreviewOptions, pagesInCache, Int),
      R_OPT(PreviewOptions, showCaptions, BoolOpt),
      R_OPT(PreviewOptions, thumbnailVisible, BoolOpt),
      R_OPT(PreviewOptions, zoomMode, Int),
      R_OPT(PrintOptions, printer, Str),
      R_OPT(PrintOptions, copies, Int),
      R_OPT(PrintOptions, collate, BoolOpt),
      R_OPT(PrintOptions, pageNumbers, Str),
      R_OPT(PrintOptions, printPages, Int),
      R_OPT(PrintOptions, printMode, Int),
      R_OPT(PrintOptions, printOnSheet, Int),
      R_OPT(PrintOptions, reverse, BoolOpt),
      R_OPT(PrintOptions, showDialog, BoolOpt),
      R_OPT(ReportOptions, name, Str),
      R_OPT(ReportOptions, description, Str),
      R_OPT(ReportOptions, password, Str),
      R_OPT(ReportOptions, createDate, Real),
      R_OPT(ReportOptions, lastChange, Real),
  };
  return list;
}

// Options and settings are written by their attribute names ("PreviewOptions.zoom");
// the capitalised form a person would type ("PreviewOptions.Zoom") is read too.
const ReportAttribute* FindReportAttribute(QStringView name) {
  for (const auto& a : ReportAttributes()) {
    if (name.compare(QLatin1String(a.name), Qt::CaseInsensitive) == 0) return &a;
  }
  return nullptr;
}

class Loader {
 public:
  Loader(QXmlStreamReader& reader, const QString& fileName) : m_reader(reader), m_fileName(fileName) {}

  bool Load(Report& into, TemplateError* error) {
    Report report;
    const bool ok = Read(report);
    if (!ok) {
      if (error) {
        error->file = m_fileName;
        error->line = m_reader.lineNumber();
        error->column = m_reader.columnNumber();
        error->message = m_message;
      }
      return false;
    }
    into.TakeTemplate(report);
    return true;
  }

 private:
  bool Fail(QString message) {
    m_message = std::move(message);
    return false;
  }

  bool Read(Report& report) {
    if (!m_reader.readNextStartElement()) {
      return Fail(m_reader.hasError() ? m_reader.errorString() : QStringLiteral("Empty template"));
    }
    if (m_reader.name() != QLatin1String("TRepReport")) {
      return Fail(QStringLiteral("Not a report template: the root element is %1")
                      .arg(m_reader.name().toString()));
    }
    for (const QXmlStreamAttribute& a : m_reader.attributes()) {
      const ReportAttribute* attribute = FindReportAttribute(a.name());
      if (!attribute) return Fail(QStringLiteral("Unknown property %1 of TRepReport").arg(a.name().toString()));
      if (!attribute->set(report, a.value().toString())) {
        return Fail(QStringLiteral("Invalid value \"%1\" for TRepReport.%2")
                        .arg(a.value().left(80).toString(), a.name().toString()));
      }
    }
    ObjectXmlOptions options;
    options.baseFolder = m_fileName.isEmpty() ? QString() : QFileInfo(m_fileName).absolutePath();
    while (m_reader.readNextStartElement()) {
      const auto name = m_reader.name();
      if (name == QLatin1String("DataSets")) {
        if (!ReadItems([&](const QXmlStreamAttributes& a) {
              if (!a.hasAttribute(QLatin1String("DataSetName")) || a.size() != 1) {
                return Fail(QStringLiteral("A DataSets item needs exactly the attribute DataSetName"));
              }
              report.DataSets().push_back({a.value(QLatin1String("DataSetName")).toString(), nullptr});
              return true;
            })) {
          return false;
        }
      } else if (name == QLatin1String("Variables")) {
        if (!ReadItems([&](const QXmlStreamAttributes& a) {
              for (const auto& attr : a) {
                if (attr.name() != QLatin1String("Name") && attr.name() != QLatin1String("Value")) {
                  return Fail(QStringLiteral("Unknown property %1 of a variable").arg(attr.name().toString()));
                }
              }
              if (!a.hasAttribute(QLatin1String("Name"))) return Fail(QStringLiteral("A variable has no Name"));
              const std::string varName = a.value(QLatin1String("Name")).toString().toStdString();
              if (a.hasAttribute(QLatin1String("Value"))) {
                report.Variables().Add(varName, expr::Value(a.value(QLatin1String("Value")).toString().toStdString()));
              } else {
                report.Variables().Add(varName, expr::Value::Null());
              }
              return true;
            })) {
          return false;
        }
      } else {
        QString message;
        auto object = ReadObject(m_reader, options, message);
        if (!object) return Fail(message);
        for (const auto& existing : report.Pages()) {
          if (existing->Name().compare(object->Name(), Qt::CaseInsensitive) == 0) {
            return Fail(QStringLiteral("Duplicate page name %1").arg(object->Name()));
          }
        }
        report.AddPage(std::unique_ptr<Page>(static_cast<Page*>(object.release())));
      }
    }
    if (m_reader.hasError()) return Fail(m_reader.errorString());
    // Nothing may follow the root element but comments and white space.
    while (!m_reader.atEnd()) {
      m_reader.readNext();
      if (m_reader.isStartElement() || (m_reader.isCharacters() && !m_reader.isWhitespace())) {
        return Fail(QStringLiteral("Text after the end of the template"));
      }
    }
    if (m_reader.hasError()) return Fail(m_reader.errorString());
    if (report.ReportPages().empty()) return Fail(QStringLiteral("The template has no report page"));
    return true;
  }

  template <typename F>
  bool ReadItems(F&& item) {
    while (m_reader.readNextStartElement()) {
      if (m_reader.name() != QLatin1String("item")) {
        return Fail(QStringLiteral("Unexpected element %1").arg(m_reader.name().toString()));
      }
      if (!item(m_reader.attributes())) return false;
      if (m_reader.readNextStartElement()) {
        return Fail(QStringLiteral("Unexpected element %1").arg(m_reader.name().toString()));
      }
      if (m_reader.hasError()) return Fail(m_reader.errorString());
    }
    return !m_reader.hasError() || Fail(m_reader.errorString());
  }

  QXmlStreamReader& m_reader;
  QString m_fileName;
  QString m_message;
};

}  // namespace

QString TemplateError::Text() const {
  return QStringLiteral("%1:%2:%3: %4").arg(file).arg(line).arg(column).arg(message);
}

bool LoadTemplateFromData(Report& report, const QByteArray& xml, const QString& fileName,
                          TemplateError* error) {
  QXmlStreamReader reader(xml);
  return Loader(reader, fileName).Load(report, error);
}

bool LoadTemplate(Report& report, const QString& fileName, TemplateError* error) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTemplateBytes) {
    if (error) {
      *error = TemplateError{fileName, 0, 0,
                             file.isOpen() ? QStringLiteral("The template is too large")
                                           : QStringLiteral("Cannot open the template: %1").arg(file.errorString())};
    }
    return false;
  }
  return LoadTemplateFromData(report, file.readAll(), fileName, error);
}

QByteArray TemplateToXml(const Report& report) {
  QByteArray out;
  QXmlStreamWriter w(&out);
  w.setAutoFormatting(true);
  w.setAutoFormattingIndent(1);
  w.writeStartDocument();
  w.writeStartElement(QStringLiteral("TRepReport"));
  const Report defaults;
  for (const auto& a : ReportAttributes()) {
    const QString value = a.get(report);
    if (value != a.get(defaults)) w.writeAttribute(QLatin1String(a.name), value);
  }
  if (!report.DataSets().empty()) {
    w.writeStartElement(QStringLiteral("DataSets"));
    for (const auto& item : report.DataSets()) {
      w.writeStartElement(QStringLiteral("item"));
      w.writeAttribute(QStringLiteral("DataSetName"), item.dataSetName);
      w.writeEndElement();
    }
    w.writeEndElement();
  }
  if (report.Variables().Size() > 0) {
    w.writeStartElement(QStringLiteral("Variables"));
    for (const auto& v : report.Variables().Items()) {
      w.writeStartElement(QStringLiteral("item"));
      w.writeAttribute(QStringLiteral("Name"), QString::fromStdString(v.name));
      if (v.value.IsText()) w.writeAttribute(QStringLiteral("Value"), QString::fromStdString(v.value.AsText()));
      w.writeEndElement();
    }
    w.writeEndElement();
  }
  for (const auto& page : report.Pages()) WriteObject(w, *page);
  w.writeEndElement();
  w.writeEndDocument();
  return out;
}

bool SaveTemplate(const Report& report, const QString& fileName, QString* error) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  file.write(TemplateToXml(report));
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace report
