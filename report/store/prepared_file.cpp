// The prepared-report file (".vpr"): the prepared pages as UTF-8 XML.
//
//   <preparedreport>
//     <previewpages>  <page0> <b1 t=".."/> <m3 t=".." u="0,25 €"/> ... </page0> ...
//     <logicalpagenumbers>  <page n="1" t="2"/> ...
//     <anchors/> <outline/>
//     <report>  <TRepReport DotMatrixReport=".." PreviewOptions.OutlineVisible=".." .../>
//     <picturecache>  <picture id="0" format="JPEG">base64</picture> ...
//     <sourcepages>  <TRepReportPage ...> bands and views </TRepReportPage> ...
//     <dictionary>  <b1 name="Page0.ReportTitle1"/> ...
//   </preparedreport>
//
// A record holds only what differs from its source object: l, t, w, h
// (report units, from the printable area's top-left), u (a memo's text) and
// any other changed property by its template name. Readers find the sections
// by name, in any order.
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

#include "report/model/object_xml.h"
#include "report/store/prepared_pages.h"

namespace report {
namespace {

constexpr qint64 kMaxFileBytes = qint64(2) * 1024 * 1024 * 1024;
constexpr int kMaxPages = 10000000;
const QString kInvalid = QStringLiteral("Invalid file format");

QString BoolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

class PreparedFileWriter {
 public:
  explicit PreparedFileWriter(const PreparedPages& pages) : m_pages(pages) {}

  void Write(QIODevice& device) {
    QXmlStreamWriter w(&device);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    // Written by hand: the declaration as the format gives it, lower-case.
    device.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    w.writeStartElement(QStringLiteral("preparedreport"));
    WritePages(w);
    w.writeStartElement(QStringLiteral("logicalpagenumbers"));
    for (int i = 0; i < m_pages.Count(); ++i) {
      const auto [n, t] = m_pages.LogicalPageNumber(i);
      w.writeStartElement(QStringLiteral("page"));
      w.writeAttribute(QStringLiteral("n"), QString::number(n));
      w.writeAttribute(QStringLiteral("t"), QString::number(t));
      w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEmptyElement(QStringLiteral("anchors"));
    w.writeEmptyElement(QStringLiteral("outline"));
    w.writeStartElement(QStringLiteral("report"));
    w.writeStartElement(QStringLiteral("TRepReport"));
    const auto& info = m_pages.Info();
    w.writeAttribute(QStringLiteral("DotMatrixReport"), BoolText(info.dotMatrixReport));
    w.writeAttribute(QStringLiteral("PreviewOptions.OutlineVisible"), BoolText(info.outlineVisible));
    w.writeAttribute(QStringLiteral("PreviewOptions.OutlineWidth"), QString::number(info.outlineWidth));
    w.writeAttribute(QStringLiteral("ReportOptions.Name"), info.name);
    w.writeEndElement();
    w.writeEndElement();

    // Source pages first into a buffer, so that the pictures they show are
    // known before the picture cache is written.
    QByteArray sources;
    {
      QXmlStreamWriter sw(&sources);
      sw.setAutoFormatting(true);
      sw.setAutoFormattingIndent(1);
      ObjectXmlOptions options;
      options.pictureSink = [this](const Picture& picture) { return PictureId(picture); };
      sw.writeStartElement(QStringLiteral("sourcepages"));
      for (int i = 0; i < m_pages.SourcePageCount(); ++i) WriteObject(sw, *m_pages.SourcePageAt(i), options);
      sw.writeEndElement();
    }
    w.writeStartElement(QStringLiteral("picturecache"));
    for (std::size_t i = 0; i < m_pictures.size(); ++i) {
      w.writeStartElement(QStringLiteral("picture"));
      w.writeAttribute(QStringLiteral("id"), QString::number(i));
      w.writeAttribute(QStringLiteral("format"), m_pictures[i].Format());
      w.writeCharacters(QString::fromLatin1(m_pictures[i].Data().toBase64()));
      w.writeEndElement();
    }
    w.writeEndElement();
    device.write(sources);
    w.writeStartElement(QStringLiteral("dictionary"));
    for (std::size_t i = 0; i < m_pages.AliasCount(); ++i) {
      const AliasEntry& a = m_pages.Alias(std::uint32_t(i));
      w.writeStartElement(a.alias);
      w.writeAttribute(QStringLiteral("name"),
                       QStringLiteral("Page%1.%2").arg(a.sourcePage).arg(a.object->Name()));
      w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
  }

 private:
  QString PictureId(const Picture& picture) {
    const QByteArray key = QCryptographicHash::hash(picture.Data(), QCryptographicHash::Sha1);
    const auto it = m_pictureIds.constFind(key);
    if (it != m_pictureIds.constEnd()) return QString::number(*it);
    const int id = int(m_pictures.size());
    m_pictures.push_back(picture);
    m_pictureIds.insert(key, id);
    return QString::number(id);
  }

  void WritePages(QXmlStreamWriter& w) {
    w.writeStartElement(QStringLiteral("previewpages"));
    for (int i = 0; i < m_pages.Count(); ++i) {
      const QString pageName = QStringLiteral("page%1").arg(m_pages.m_pages[std::size_t(i)].sourcePage);
      w.writeStartElement(pageName);
      for (const ObjectRecord& r : m_pages.Records(i)) {
        const AliasEntry& alias = m_pages.Alias(r.alias);
        const Component& source = *alias.object;
        w.writeStartElement(alias.alias);
        if (r.left != source.Left()) w.writeAttribute(QStringLiteral("l"), NumberText(r.left));
        if (r.top != source.Top()) w.writeAttribute(QStringLiteral("t"), NumberText(r.top));
        if (r.width != source.Width()) w.writeAttribute(QStringLiteral("w"), NumberText(r.width));
        if (r.height != source.Height()) w.writeAttribute(QStringLiteral("h"), NumberText(r.height));
        if (r.text >= 0) w.writeAttribute(QStringLiteral("u"), m_pages.Text(r.text));
        if (r.extras >= 0) {
          for (const auto& [name, value] : m_pages.Extras(r.extras)) w.writeAttribute(name, value);
        }
        w.writeEndElement();
      }
      w.writeEndElement();
    }
    w.writeEndElement();
  }

  const PreparedPages& m_pages;
  std::vector<Picture> m_pictures;
  QHash<QByteArray, int> m_pictureIds;
};

class PreparedFileReader {
 public:
  explicit PreparedFileReader(PreparedPages& pages) : m_pages(pages) {}

  // On failure the reason (for the log and the tests); the user sees "Invalid file format".
  QString Read(QIODevice& device) {
    QXmlStreamReader r(&device);
    if (!r.readNextStartElement()) return Where(r) + (r.hasError() ? r.errorString() : QStringLiteral("empty file"));
    if (r.name() != QLatin1String("preparedreport")) return QStringLiteral("root element ") + r.name().toString();
    bool seenPages = false, seenSources = false, seenDictionary = false;
    while (r.readNextStartElement()) {
      const QStringView name = r.name();
      QString error;
      if (name == QLatin1String("previewpages")) {
        if (seenPages) return QStringLiteral("two previewpages");
        seenPages = true;
        error = ReadPages(r);
      } else if (name == QLatin1String("logicalpagenumbers")) {
        error = ReadNumbers(r);
      } else if (name == QLatin1String("report")) {
        error = ReadReport(r);
      } else if (name == QLatin1String("picturecache")) {
        error = ReadPictures(r);
      } else if (name == QLatin1String("sourcepages")) {
        if (seenSources) return QStringLiteral("two sourcepages");
        seenSources = true;
        error = ReadSources(r);
      } else if (name == QLatin1String("dictionary")) {
        if (seenDictionary) return QStringLiteral("two dictionaries");
        seenDictionary = true;
        error = ReadDictionary(r);
      } else if (name == QLatin1String("anchors") || name == QLatin1String("outline")) {
        r.skipCurrentElement();
      } else {
        return QStringLiteral("unknown section ") + name.toString();
      }
      if (!error.isEmpty()) return Where(r) + error;
      if (r.hasError()) return Where(r) + r.errorString();
    }
    if (r.hasError()) return Where(r) + r.errorString();
    while (!r.atEnd()) {
      r.readNext();
      if (r.isStartElement() || (r.isCharacters() && !r.isWhitespace())) return QStringLiteral("text after the end");
    }
    if (r.hasError()) return Where(r) + r.errorString();
    if (!seenPages || !seenSources || !seenDictionary) return QStringLiteral("a section is missing");
    return Resolve();
  }

 private:
  static QString Where(const QXmlStreamReader& r) {
    return QStringLiteral("line %1, column %2: ").arg(r.lineNumber()).arg(r.columnNumber());
  }

  std::uint32_t AliasIndex(const QString& alias) {
    const auto it = m_aliasIndex.constFind(alias);
    if (it != m_aliasIndex.constEnd()) return *it;
    const auto index = std::uint32_t(m_pages.m_aliases.size());
    m_pages.m_aliases.push_back({alias, 0, nullptr});
    m_aliasIndex.insert(alias, index);
    return index;
  }

  static bool Number(QStringView text, double& out) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > 1e7) return false;
    out = v;
    return true;
  }

  QString ReadPages(QXmlStreamReader& r) {
    while (r.readNextStartElement()) {
      const QStringView name = r.name();
      bool ok = false;
      const int source = name.startsWith(QLatin1String("page")) ? name.mid(4).toInt(&ok) : -1;
      if (!ok || source < 0) return QStringLiteral("unknown page element ") + name.toString();
      if (m_pages.Count() >= kMaxPages) return QStringLiteral("too many pages");
      PreparedPages::Page page;
      page.sourcePage = source;
      page.runStart = m_pages.Count();
      while (r.readNextStartElement()) {
        ObjectRecord record;
        record.alias = AliasIndex(r.name().toString());
        std::uint8_t given = 0;
        std::vector<std::pair<QString, QString>> extras;
        for (const QXmlStreamAttribute& a : r.attributes()) {
          const QStringView n = a.name();
          double* target = n == QLatin1String("l")   ? &record.left
                           : n == QLatin1String("t") ? &record.top
                           : n == QLatin1String("w") ? &record.width
                           : n == QLatin1String("h") ? &record.height
                                                     : nullptr;
          if (target) {
            if (!Number(a.value(), *target)) return QStringLiteral("bad number ") + a.value().toString();
            given |= n == QLatin1String("l") ? 1 : n == QLatin1String("t") ? 2 : n == QLatin1String("w") ? 4 : 8;
          } else if (n == QLatin1String("u")) {
            record.text = m_pages.PoolText(a.value().toString());
          } else {
            extras.emplace_back(n.toString(), a.value().toString());
          }
        }
        if (!extras.empty()) {
          record.extras = std::int32_t(m_pages.m_extras.size());
          m_pages.m_extras.push_back(std::move(extras));
        }
        m_given.push_back(given);
        if (r.readNextStartElement()) return QStringLiteral("nested record ") + r.name().toString();
        if (r.hasError()) return r.errorString();
        page.records.push_back(record);
      }
      if (r.hasError()) return r.errorString();
      m_pages.m_pages.push_back(std::move(page));
    }
    return {};
  }

  QString ReadNumbers(QXmlStreamReader& r) {
    int i = 0;
    while (r.readNextStartElement()) {
      bool okN = false;
      const int n = r.attributes().value(QLatin1String("n")).toInt(&okN);
      if (r.name() != QLatin1String("page") || !okN) return QStringLiteral("bad logical page number");
      m_logical.push_back(n);
      r.skipCurrentElement();
      ++i;
    }
    return {};
  }

  QString ReadReport(QXmlStreamReader& r) {
    PreparedPages::ReportInfo info;
    while (r.readNextStartElement()) {
      if (r.name() != QLatin1String("TRepReport")) return QStringLiteral("unknown report class ") + r.name().toString();
      const auto a = r.attributes();
      info.dotMatrixReport = a.value(QLatin1String("DotMatrixReport")) == QLatin1String("True");
      info.outlineVisible = a.value(QLatin1String("PreviewOptions.OutlineVisible")) == QLatin1String("True");
      info.outlineWidth = a.value(QLatin1String("PreviewOptions.OutlineWidth")).toInt();
      if (info.outlineWidth <= 0 || info.outlineWidth > 10000) info.outlineWidth = 120;
      info.name = a.value(QLatin1String("ReportOptions.Name")).toString();
      r.skipCurrentElement();
    }
    m_pages.m_info = info;
    return {};
  }

  QString ReadPictures(QXmlStreamReader& r) {
    while (r.readNextStartElement()) {
      if (r.name() != QLatin1String("picture")) return QStringLiteral("unknown picture element");
      const QString id = r.attributes().value(QLatin1String("id")).toString();
      const QString format = r.attributes().value(QLatin1String("format")).toString();
      const QString data = r.readElementText();
      if (r.hasError()) return r.errorString();
      const auto bytes = QByteArray::fromBase64Encoding(data.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
      if (!bytes || id.isEmpty() || m_pictures.contains(id)) return QStringLiteral("bad picture ") + id;
      m_pictures.insert(id, Picture(*bytes, format));
    }
    return {};
  }

  QString ReadSources(QXmlStreamReader& r) {
    ObjectXmlOptions options;
    options.pictureSource = [this](const QString& ref, PictureView& view) {
      m_pendingPictures.emplace_back(&view, ref);
      return true;
    };
    while (r.readNextStartElement()) {
      QString message;
      auto object = ReadObject(r, options, message);
      if (!object) return message;
      if (object->Type() != ObjectType::ReportPage) return QStringLiteral("a source page is not a report page");
      m_pages.m_sourcePages.emplace_back(static_cast<ReportPage*>(object.release()));
      m_pages.m_aliasByTemplate.emplace_back();
    }
    return {};
  }

  QString ReadDictionary(QXmlStreamReader& r) {
    while (r.readNextStartElement()) {
      m_dictionary.emplace_back(r.name().toString(), r.attributes().value(QLatin1String("name")).toString());
      r.skipCurrentElement();
    }
    return {};
  }

  QString Resolve() {
    for (const auto& [view, ref] : m_pendingPictures) {
      const auto it = m_pictures.constFind(ref);
      if (it == m_pictures.constEnd()) return QStringLiteral("missing picture ") + ref;
      view->SetPicture(*it);
    }
    QSet<QString> seen;
    for (const auto& [alias, name] : m_dictionary) {
      if (seen.contains(alias)) return QStringLiteral("alias given twice: ") + alias;
      seen.insert(alias);
      const qsizetype dot = name.indexOf(QLatin1Char('.'));
      bool ok = false;
      const int page = name.startsWith(QLatin1String("Page")) && dot > 4 ? name.mid(4, dot - 4).toInt(&ok) : -1;
      if (!ok || page < 0 || page >= m_pages.SourcePageCount()) return QStringLiteral("bad dictionary entry ") + name;
      Component* object = m_pages.m_sourcePages[std::size_t(page)]->FindObject(name.mid(dot + 1));
      if (!object) return QStringLiteral("dictionary names a missing object ") + name;
      AliasEntry& entry = m_pages.m_aliases[AliasIndex(alias)];
      entry.sourcePage = page;
      entry.object = object;
    }
    for (const AliasEntry& entry : m_pages.m_aliases) {
      if (!entry.object) return QStringLiteral("record of a missing alias ") + entry.alias;
    }
    // The alias table in dictionary order, so that saving a loaded file
    // writes the same file again.
    std::vector<std::uint32_t> newIndex(m_pages.m_aliases.size());
    std::vector<AliasEntry> ordered;
    ordered.reserve(m_pages.m_aliases.size());
    for (const auto& [alias, name] : m_dictionary) {
      const std::uint32_t old = m_aliasIndex.value(alias);
      newIndex[old] = std::uint32_t(ordered.size());
      ordered.push_back(m_pages.m_aliases[old]);
    }
    m_pages.m_aliases = std::move(ordered);
    for (PreparedPages::Page& page : m_pages.m_pages) {
      for (ObjectRecord& record : page.records) record.alias = newIndex[record.alias];
    }
    // Positions not written are the source object's own; changed properties
    // must be properties of its class.
    std::size_t k = 0;
    for (std::size_t p = 0; p < m_pages.m_pages.size(); ++p) {
      PreparedPages::Page& page = m_pages.m_pages[p];
      if (page.sourcePage >= m_pages.SourcePageCount()) return QStringLiteral("page of a missing source page");
      for (ObjectRecord& record : page.records) {
        const Component& source = *m_pages.m_aliases[record.alias].object;
        const std::uint8_t given = m_given[k++];
        if (!(given & 1)) record.left = source.Left();
        if (!(given & 2)) record.top = source.Top();
        if (!(given & 4)) record.width = source.Width();
        if (!(given & 8)) record.height = source.Height();
        if (record.text >= 0 && source.Type() != ObjectType::MemoView) return QStringLiteral("text for a non-memo");
        if (record.extras >= 0) {
          auto probe = source.Clone();
          for (const auto& [name, value] : m_pages.m_extras[std::size_t(record.extras)]) {
            QString message;
            if (!SetProperty(*probe, name, value, message)) return message;
          }
        }
      }
      if (p < m_logical.size()) {
        const int start = int(p) - (m_logical[p] - 1);
        if (start >= 0 && start <= int(p)) page.runStart = start;
      }
    }
    return {};
  }

  PreparedPages& m_pages;
  QHash<QString, std::uint32_t> m_aliasIndex;
  QHash<QString, Picture> m_pictures;
  std::vector<std::pair<PictureView*, QString>> m_pendingPictures;
  std::vector<std::pair<QString, QString>> m_dictionary;
  std::vector<std::uint8_t> m_given;  // which of l, t, w, h each record wrote
  std::vector<int> m_logical;
};

bool PreparedPages::Save(const QString& fileName, QString* error) const {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  PreparedFileWriter(*this).Write(file);
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

bool PreparedPages::Load(const QString& fileName, bool missingIsError, QString* error) {
  Clear();
  m_loadDetail.clear();
  QFile file(fileName);
  if (!file.exists()) {
    if (error) *error = missingIsError ? QStringLiteral("File not found: %1").arg(fileName) : QString();
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  if (file.size() > kMaxFileBytes) {
    m_loadDetail = QStringLiteral("file too large");
  } else {
    m_loadDetail = PreparedFileReader(*this).Read(file);
  }
  if (!m_loadDetail.isEmpty()) {
    const QString detail = m_loadDetail;
    Clear();
    m_loadDetail = detail;
    if (error) *error = kInvalid;
    return false;
  }
  // New aliases, should a build add to this store, must not repeat the file's.
  for (const AliasEntry& a : m_aliases) {
    const int n = a.alias.mid(1).toInt();
    if (a.object && a.object->Type() == ObjectType::Band) {
      m_bandCount = std::max(m_bandCount, n);
    } else if (!a.alias.isEmpty()) {
      m_viewCounts[a.alias.at(0)] = std::max(m_viewCounts.value(a.alias.at(0)), n);
    }
  }
  return true;
}

}  // namespace report
