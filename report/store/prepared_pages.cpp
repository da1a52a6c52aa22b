#include "report/store/prepared_pages.h"

#include "report/model/object_xml.h"
#include "report/model/units.h"

namespace report {

PreparedPages::PreparedPages(QObject* parent) : QObject(parent) {}
PreparedPages::~PreparedPages() = default;

void PreparedPages::Clear() {
  m_sourcePages.clear();
  m_aliases.clear();
  m_aliasByTemplate.clear();
  m_bandCount = 0;
  m_viewCounts.clear();
  m_pages.clear();
  m_texts.clear();
  m_textIndex.clear();
  m_extras.clear();
  m_info = ReportInfo{};
}

QSizeF PreparedPages::PageSize(int i) const {
  const ReportPage* page = SourcePage(i);
  if (!page) return {};
  const QSizeF size(MmToUnits(page->PaperWidth()), MmToUnits(page->PaperHeight()));
  return page->Orientation() == Orientation::poLandscape ? size.transposed() : size;
}

PageSettings PreparedPages::Settings(int i) const {
  PageSettings s;
  const ReportPage* page = SourcePage(i);
  if (!page) return s;
  s.paperSize = page->PaperSize();
  s.paperWidth = page->PaperWidth();
  s.paperHeight = page->PaperHeight();
  s.orientation = page->Orientation();
  s.leftMargin = page->LeftMargin();
  s.rightMargin = page->RightMargin();
  s.topMargin = page->TopMargin();
  s.bottomMargin = page->BottomMargin();
  s.bin = page->Bin();
  s.binOtherPages = page->BinOtherPages();
  s.duplex = page->Duplex();
  return s;
}

const ReportPage* PreparedPages::SourcePage(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  const int source = m_pages[std::size_t(i)].sourcePage;
  return source >= 0 && source < SourcePageCount() ? m_sourcePages[std::size_t(source)].get() : nullptr;
}

ReportPage* PreparedPages::SourcePageForEdit(int i) {
  return const_cast<ReportPage*>(SourcePage(i));
}

std::pair<int, int> PreparedPages::LogicalPageNumber(int i) const {
  if (i < 0 || i >= Count()) return {0, 0};
  const int start = m_pages[std::size_t(i)].runStart;
  int end = i + 1;
  while (end < Count() && m_pages[std::size_t(end)].runStart == start) ++end;
  return {i - start + 1, end - start};
}

std::int32_t PreparedPages::PoolText(const QString& text) {
  const auto it = m_textIndex.constFind(text);
  if (it != m_textIndex.constEnd()) return *it;
  const auto index = static_cast<std::int32_t>(m_texts.size());
  m_texts.push_back(text);
  m_textIndex.insert(text, index);
  return index;
}

void PreparedPages::BeginBuild() { emit BuildStarted(); }
void PreparedPages::EndBuild() { emit BuildFinished(); }

void PreparedPages::AddAliases(int sourcePage, const Component& copy, const Component* original) {
  AliasEntry entry;
  entry.sourcePage = sourcePage;
  entry.object = const_cast<Component*>(&copy);
  if (copy.Type() == ObjectType::Band) {
    entry.alias = QStringLiteral("b%1").arg(++m_bandCount);
  } else {
    // The class name without "TRep" and "View", first letter in lower case.
    QString base = copy.ClassName().mid(4);
    if (base.endsWith(QLatin1String("View"))) base.chop(4);
    const QChar letter = base.isEmpty() ? QLatin1Char('o') : base.at(0).toLower();
    entry.alias = QString(letter) + QString::number(++m_viewCounts[letter]);
  }
  const auto index = static_cast<std::uint32_t>(m_aliases.size());
  m_aliases.push_back(entry);
  if (original) m_aliasByTemplate[std::size_t(sourcePage)].insert(original, index);
}

int PreparedPages::AddSourcePage(const ReportPage& page) {
  const int index = SourcePageCount();
  auto copy = std::unique_ptr<ReportPage>(static_cast<ReportPage*>(page.Clone().release()));
  m_aliasByTemplate.emplace_back();
  // The copy keeps the template's order, so both trees are walked side by side.
  for (std::size_t i = 0; i < copy->Objects().size(); ++i) {
    const Component& object = *copy->Objects()[i];
    const Component* original = page.Objects()[i].get();
    AddAliases(index, object, original);
    if (object.Type() != ObjectType::Band) continue;
    const auto& views = static_cast<const Band&>(object).Objects();
    const auto& originals = static_cast<const Band&>(*original).Objects();
    for (std::size_t j = 0; j < views.size(); ++j) AddAliases(index, *views[j], originals[j].get());
  }
  for (const auto& object : copy->Objects()) {
    auto unbind = [](Component& c) {
      if (c.Type() != ObjectType::MemoView) return;
      auto& memo = static_cast<MemoView&>(c);
      memo.SetDataSetName(QString());
      memo.SetDataField(QString());
    };
    unbind(*object);
    if (object->Type() == ObjectType::Band) {
      for (const auto& v : static_cast<Band&>(*object).Objects()) unbind(*v);
    }
  }
  m_sourcePages.push_back(std::move(copy));
  return index;
}

std::uint32_t PreparedPages::AliasOf(int sourcePage, const Component* templateObject) const {
  return m_aliasByTemplate[std::size_t(sourcePage)].value(templateObject, 0);
}

void PreparedPages::AddPage(int sourcePage, bool newNumberingRun) {
  Page page;
  page.sourcePage = sourcePage;
  const int index = Count();
  page.runStart = newNumberingRun || m_pages.empty() ? index : m_pages.back().runStart;
  m_pages.push_back(std::move(page));
  emit PageAdded(index);
}

void PreparedPages::FinishPage(int i) { emit PageFinished(i); }

void PreparedPages::DropPages() {
  m_pages.clear();
  m_texts.clear();
  m_textIndex.clear();
  m_extras.clear();
}

void PreparedPages::AddRecord(std::uint32_t alias, const QRectF& rect, const QString* text,
                              std::vector<std::pair<QString, QString>> extras) {
  if (m_pages.empty()) return;
  ObjectRecord r;
  r.alias = alias;
  r.left = rect.left();
  r.top = rect.top();
  r.width = rect.width();
  r.height = rect.height();
  if (text) r.text = PoolText(*text);
  if (!extras.empty()) {
    r.extras = static_cast<std::int32_t>(m_extras.size());
    m_extras.push_back(std::move(extras));
  }
  m_pages.back().records.push_back(r);
}

bool PreparedPages::CurrentPageHolds(std::uint32_t alias) const {
  if (m_pages.empty()) return false;
  for (const ObjectRecord& r : m_pages.back().records) {
    if (r.alias == alias) return true;
  }
  return false;
}

std::unique_ptr<Component> PreparedPages::Materialize(const ObjectRecord& record) const {
  if (record.alias >= m_aliases.size() || !m_aliases[record.alias].object) return nullptr;
  const Component& source = *m_aliases[record.alias].object;
  auto object = source.Clone();
  // The copy has no band or page above it, so a font taken from the page is
  // fixed now.
  if (auto* view = dynamic_cast<View*>(object.get()); view && view->ParentFont()) {
    view->SetFont(static_cast<const View&>(source).EffectiveFont());
    view->SetParentFont(false);
  }
  object->SetLeft(record.left);
  object->SetTop(record.top);
  object->SetWidth(record.width);
  object->SetHeight(record.height);
  if (record.text >= 0 && object->Type() == ObjectType::MemoView) {
    static_cast<MemoView&>(*object).SetText(m_texts[std::size_t(record.text)]);
  }
  if (record.extras >= 0) {
    QString ignored;
    for (const auto& [name, value] : m_extras[std::size_t(record.extras)]) {
      SetProperty(*object, name, value, ignored);  // checked when the file was read
    }
  }
  return object;
}

std::vector<std::unique_ptr<Component>> PreparedPages::PageObjects(int i) const {
  std::vector<std::unique_ptr<Component>> objects;
  if (i < 0 || i >= Count()) return objects;
  for (const ObjectRecord& r : m_pages[std::size_t(i)].records) {
    if (auto o = Materialize(r)) objects.push_back(std::move(o));
  }
  return objects;
}

std::size_t PreparedPages::MemoryBytes() const {
  std::size_t bytes = 0;
  for (const Page& p : m_pages) bytes += sizeof(Page) + p.records.capacity() * sizeof(ObjectRecord);
  for (const QString& t : m_texts) bytes += sizeof(QString) + std::size_t(t.capacity()) * 2 + 32;
  bytes += std::size_t(m_textIndex.capacity()) * (sizeof(QString) + 16);
  for (const auto& e : m_extras) bytes += sizeof(e) + e.size() * 64;
  return bytes;
}

}  // namespace report
