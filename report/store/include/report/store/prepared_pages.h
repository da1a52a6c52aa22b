#pragma once

// The prepared pages (`TRepPreviewPages`): what a build produced, page by
// page, as records that name their source object by alias and hold only what
// differs from it, so that a long report costs memory for what changes
// (positions, texts), not for what every page repeats (fonts, frames,
// pictures). Texts are pooled: a text printed a thousand times is kept once.
//
//   source pages   copies of the template pages; every band and view has an
//                  alias ("b1", "m3", "p1"), unique in the store
//   page i         { source page, first page of its numbering run, records }
//   record         { alias, l, t, w, h (report units, from the top-left of the
//                    printable area), text (memos; the expanded text),
//                    other changed properties as attribute texts }
//
// The preview learns about a build through the signals: BuildStarted, then
// PageAdded(i) when page i is started and PageFinished(i) when its footer is
// on it (i counts from 0), then BuildFinished. Page i may be drawn as soon as
// PageFinished(i) has come.
//
// Drawing (see page_painter.h for the details):
//   pages.DrawPage(i, painter, scale, offset)  paints page i with 1 report unit =
//   `scale` device pixels, the paper's top-left corner at `offset`; the caller
//   paints the paper itself (white) if it wants one.
//
// Saving and loading: Save(fileName) writes the ".vpr" file (UTF-8 XML,
// root "preparedreport") through a temporary file renamed over the old one;
// Load(fileName, ...) reads one back; see prepared_file.h.

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "report/model/objects.h"

class QPainter;

namespace report {

struct ObjectRecord {
  std::uint32_t alias = 0;  // index into the alias table
  std::int32_t text = -1;   // index into the text pool; -1: the source object's text
  std::int32_t extras = -1; // index into the attribute lists; -1: none
  double left = 0, top = 0, width = 0, height = 0;  // report units, absolute on the page
};

// One alias: which source object it stands for.
struct AliasEntry {
  QString alias;       // "b1", "m2", "p1"
  int sourcePage = 0;
  Component* object = nullptr;  // in the store's source page copy
};

// The paper settings of a page, as printing needs them.
struct PageSettings {
  int paperSize = 9;
  double paperWidth = 210;   // mm, as the page is designed (portrait width)
  double paperHeight = 297;  // mm
  Orientation orientation = Orientation::poPortrait;
  double leftMargin = 10, rightMargin = 10, topMargin = 10, bottomMargin = 10;  // mm
  int bin = 7;
  int binOtherPages = 7;
  int duplex = 0;
};

class PreparedPages : public QObject {
  Q_OBJECT

 public:
  explicit PreparedPages(QObject* parent = nullptr);
  ~PreparedPages() override;

  void Clear();

  // ---- reading ----
  int Count() const { return static_cast<int>(m_pages.size()); }
  int CurPage() const { return m_pages.empty() ? -1 : static_cast<int>(m_pages.size()) - 1; }
  // The paper of page i in report units, turned for landscape.
  QSizeF PageSize(int i) const;
  PageSettings Settings(int i) const;
  // The copy of the template page page i was built from.
  const ReportPage* SourcePage(int i) const;
  ReportPage* SourcePageForEdit(int i);
  int SourcePageCount() const { return static_cast<int>(m_sourcePages.size()); }
  const ReportPage* SourcePageAt(int index) const { return m_sourcePages[std::size_t(index)].get(); }
  // Logical page number of page i (from 1) and the total of its numbering run.
  std::pair<int, int> LogicalPageNumber(int i) const;

  const std::vector<ObjectRecord>& Records(int i) const { return m_pages[std::size_t(i)].records; }
  const AliasEntry& Alias(std::uint32_t index) const { return m_aliases[index]; }
  std::size_t AliasCount() const { return m_aliases.size(); }
  const QString& Text(std::int32_t index) const { return m_texts[std::size_t(index)]; }
  const std::vector<std::pair<QString, QString>>& Extras(std::int32_t index) const {
    return m_extras[std::size_t(index)];
  }
  // The object a record shows: a copy of its source object with the record's
  // position, text and changed properties applied. Null for a record whose
  // alias is unknown.
  std::unique_ptr<Component> Materialize(const ObjectRecord& record) const;
  // Every object of page i, materialised, in drawing order.
  std::vector<std::unique_ptr<Component>> PageObjects(int i) const;

  // Approximate bytes the store holds (records, texts, attribute lists).
  std::size_t MemoryBytes() const;

  // ---- drawing ----
  // Replaces "[TotalPages#]" and "[CopyName#]" left in memo texts by the build.
  void SetCopyName(QString name) { m_copyName = std::move(name); }
  void DrawPage(int i, QPainter& painter, double scale, QPointF offset) const;

  // ---- saving and loading (prepared_file.cpp) ----
  // `error` gets the reason when false is returned.
  bool Save(const QString& fileName, QString* error = nullptr) const;
  // Clears the store and reads the file; true when it was read. A file that
  // is not a prepared report (not XML, truncated, another kind of XML, unknown
  // classes, records of missing aliases, impossible numbers) sets `error` to
  // "Invalid file format" and leaves the store empty; LoadErrorDetail() then
  // says what was wrong, and where. A missing file sets `error` only with
  // missingIsError.
  bool Load(const QString& fileName, bool missingIsError, QString* error);
  const QString& LoadErrorDetail() const { return m_loadDetail; }

  // The report attributes the file keeps ("report" element).
  struct ReportInfo {
    bool dotMatrixReport = false;
    bool outlineVisible = false;
    int outlineWidth = 120;
    QString name;
  };
  const ReportInfo& Info() const { return m_info; }
  void SetInfo(ReportInfo info) { m_info = std::move(info); }

  // ---- writing, by the engine ----
  void BeginBuild();   // emits BuildStarted
  void EndBuild();     // emits BuildFinished
  // A copy of a template page with aliases for its bands and views; returns
  // the source page index. Memos lose their dataset binding in the copy, so a
  // stored memo always shows its stored text.
  int AddSourcePage(const ReportPage& page);
  // The alias index of a template object given to AddSourcePage.
  std::uint32_t AliasOf(int sourcePage, const Component* templateObject) const;
  // Appends a page (emits PageAdded). `newNumberingRun` starts the logical
  // numbering again from 1 on this page.
  void AddPage(int sourcePage, bool newNumberingRun);
  void FinishPage(int i);  // emits PageFinished(i)
  // Drops the pages (not the source pages), as a second pass does.
  void DropPages();
  void AddRecord(std::uint32_t alias, const QRectF& rect, const QString* text,
                 std::vector<std::pair<QString, QString>> extras = {});
  // Whether the current page already holds a record of that alias.
  bool CurrentPageHolds(std::uint32_t alias) const;

 signals:
  void BuildStarted();
  void PageAdded(int index);
  void PageFinished(int index);
  void BuildFinished();

 private:
  friend class PreparedFileReader;
  friend class PreparedFileWriter;

  struct Page {
    int sourcePage = 0;
    int runStart = 0;  // the first page of its numbering run
    std::vector<ObjectRecord> records;
  };

  std::int32_t PoolText(const QString& text);
  void AddAliases(int sourcePage, const Component& copy, const Component* original);

  std::vector<std::unique_ptr<ReportPage>> m_sourcePages;
  std::vector<AliasEntry> m_aliases;
  std::vector<QHash<const Component*, std::uint32_t>> m_aliasByTemplate;  // per source page
  int m_bandCount = 0;
  QHash<QChar, int> m_viewCounts;
  std::vector<Page> m_pages;
  std::vector<QString> m_texts;
  QHash<QString, std::int32_t> m_textIndex;
  std::vector<std::vector<std::pair<QString, QString>>> m_extras;
  ReportInfo m_info;
  QString m_copyName;
  QString m_loadDetail;
};

}  // namespace report
