#include "report/model/objects.h"

#include <QBuffer>
#include <QImageReader>

#include "report/model/units.h"

namespace report {

void Component::CopyComponent(const Component& from) {
  m_Name = from.m_Name;
  m_Left = from.m_Left;
  m_Top = from.m_Top;
  m_Width = from.m_Width;
  m_Height = from.m_Height;
  m_Visible = from.m_Visible;
  m_Tag = from.m_Tag;
}

void View::CopyView(const View& from) {
  CopyComponent(from);
  SetPrintable(from.Printable());
  SetColor(from.Color());
  SetFrame(from.Frame());
  SetFont(from.Font());
  SetParentFont(from.ParentFont());
}

Font View::EffectiveFont() const {
  if (!ParentFont()) return Font();
  for (const Component* p = Parent(); p; p = p->Parent()) {
    if (p->Type() == ObjectType::ReportPage) return static_cast<const ReportPage*>(p)->Font();
  }
  return Font();
}

std::unique_ptr<Component> MemoView::Clone() const {
  auto c = std::make_unique<MemoView>();
  c->CopyView(*this);
  c->m_Text = m_Text;
  c->m_DataSetName = m_DataSetName;
  c->m_DataField = m_DataField;
  c->m_DisplayFormat = m_DisplayFormat;
  c->m_AllowExpressions = m_AllowExpressions;
  c->m_ExpressionDelimiters = m_ExpressionDelimiters;
  c->m_HideZeros = m_HideZeros;
  c->m_HAlign = m_HAlign;
  c->m_VAlign = m_VAlign;
  c->m_GapX = m_GapX;
  c->m_GapY = m_GapY;
  c->m_LineSpacing = m_LineSpacing;
  c->m_WordWrap = m_WordWrap;
  c->m_Clipped = m_Clipped;
  c->m_Wysiwyg = m_Wysiwyg;
  c->m_StretchMode = m_StretchMode;
  return c;
}

Picture::Picture(QByteArray data, QString format) : m_data(std::move(data)), m_format(std::move(format)) {}

QImage Picture::Image() const {
  if (*m_decoded) return *m_image;
  *m_decoded = true;
  QByteArray bytes = m_data;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, m_format.toLatin1().toLower());
  reader.setDecideFormatFromContent(true);
  QImage best;
  const int count = std::max(1, reader.imageCount());
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    QImage image = reader.read();
    if (image.isNull()) break;
    if (best.isNull() || image.width() * image.height() > best.width() * best.height()) {
      best = image;
    }
  }
  *m_image = best;
  return best;
}

std::unique_ptr<Component> PictureView::Clone() const {
  auto c = std::make_unique<PictureView>();
  c->CopyView(*this);
  c->m_Picture = m_Picture;
  c->m_Stretched = m_Stretched;
  c->m_KeepAspectRatio = m_KeepAspectRatio;
  c->m_Center = m_Center;
  return c;
}

QString Band::ClassNameOf(BandType type) {
  switch (type) {
    case BandType::ReportTitle: return QStringLiteral("TRepReportTitle");
    case BandType::ReportSummary: return QStringLiteral("TRepReportSummary");
    case BandType::PageHeader: return QStringLiteral("TRepPageHeader");
    case BandType::PageFooter: return QStringLiteral("TRepPageFooter");
    case BandType::Header: return QStringLiteral("TRepHeader");
    case BandType::Footer: return QStringLiteral("TRepFooter");
    case BandType::MasterData: return QStringLiteral("TRepMasterData");
    case BandType::Child: return QStringLiteral("TRepChild");
    case BandType::NullBand: return QStringLiteral("TRepNullBand");
  }
  return {};
}

bool Band::IsDataRelated() const {
  return m_bandType == BandType::Header || m_bandType == BandType::Footer ||
         m_bandType == BandType::MasterData;
}

View* Band::AddObject(std::unique_ptr<View> view) {
  view->m_parent = this;
  m_objects.push_back(std::move(view));
  return m_objects.back().get();
}

ReportPage* Band::Page() const {
  return Parent() && Parent()->Type() == ObjectType::ReportPage ? static_cast<ReportPage*>(Parent())
                                                                : nullptr;
}

std::unique_ptr<Component> Band::Clone() const {
  auto c = std::make_unique<Band>(m_bandType);
  c->CopyComponent(*this);
  c->m_StartNewPage = m_StartNewPage;
  c->m_Stretched = m_Stretched;
  c->m_AllowSplit = m_AllowSplit;
  c->m_KeepChild = m_KeepChild;
  c->m_PrintChildIfInvisible = m_PrintChildIfInvisible;
  c->m_Child = m_Child;
  c->m_OutlineText = m_OutlineText;
  c->m_PrintOnFirstPage = m_PrintOnFirstPage;
  c->m_PrintOnLastPage = m_PrintOnLastPage;
  c->m_ReprintOnNewPage = m_ReprintOnNewPage;
  c->m_DataSetName = m_DataSetName;
  c->m_RowCount = m_RowCount;
  c->m_PrintIfDetailEmpty = m_PrintIfDetailEmpty;
  c->m_FooterAfterEach = m_FooterAfterEach;
  c->m_KeepTogether = m_KeepTogether;
  c->m_KeepHeader = m_KeepHeader;
  c->m_KeepFooter = m_KeepFooter;
  for (const auto& view : m_objects) {
    auto copy = view->Clone();
    c->AddObject(std::unique_ptr<View>(static_cast<View*>(copy.release())));
  }
  return c;
}

std::unique_ptr<Component> DataPage::Clone() const {
  auto c = std::make_unique<DataPage>();
  c->CopyComponent(*this);
  return c;
}

Component* ReportPage::AddObject(std::unique_ptr<Component> object) {
  object->m_parent = this;
  m_objects.push_back(std::move(object));
  return m_objects.back().get();
}

Band* ReportPage::FindBand(const QString& name) const {
  Component* c = FindObject(name);
  return c && c->Type() == ObjectType::Band ? static_cast<Band*>(c) : nullptr;
}

Band* ReportPage::FirstBand(BandType type) const {
  for (const auto& o : m_objects) {
    if (o->Type() == ObjectType::Band && static_cast<Band&>(*o).Kind() == type) {
      return static_cast<Band*>(o.get());
    }
  }
  return nullptr;
}

Component* ReportPage::FindObject(const QString& name) const {
  for (const auto& o : m_objects) {
    if (o->Name().compare(name, Qt::CaseInsensitive) == 0) return o.get();
    if (o->Type() != ObjectType::Band) continue;
    for (const auto& v : static_cast<Band&>(*o).Objects()) {
      if (v->Name().compare(name, Qt::CaseInsensitive) == 0) return v.get();
    }
  }
  return nullptr;
}

double ReportPage::PrintableWidth() const {
  const bool landscape = Orientation() == report::Orientation::poLandscape;
  const double paper = landscape ? PaperHeight() : PaperWidth();
  return MmToUnits(paper - LeftMargin() - RightMargin());
}

double ReportPage::PrintableHeight() const {
  const bool landscape = Orientation() == report::Orientation::poLandscape;
  const double paper = landscape ? PaperWidth() : PaperHeight();
  return MmToUnits(paper - TopMargin() - BottomMargin());
}

std::unique_ptr<Component> ReportPage::Clone() const {
  auto c = std::make_unique<ReportPage>();
  c->CopyComponent(*this);
  c->m_PaperWidth = m_PaperWidth;
  c->m_PaperHeight = m_PaperHeight;
  c->m_PaperSize = m_PaperSize;
  c->m_Orientation = m_Orientation;
  c->m_LeftMargin = m_LeftMargin;
  c->m_RightMargin = m_RightMargin;
  c->m_TopMargin = m_TopMargin;
  c->m_BottomMargin = m_BottomMargin;
  c->m_Columns = m_Columns;
  c->m_Bin = m_Bin;
  c->m_BinOtherPages = m_BinOtherPages;
  c->m_Duplex = m_Duplex;
  c->m_TitleBeforeHeader = m_TitleBeforeHeader;
  c->m_PrintIfEmpty = m_PrintIfEmpty;
  c->m_PrintOnPreviousPage = m_PrintOnPreviousPage;
  c->m_ResetPageNumbers = m_ResetPageNumbers;
  c->m_EndlessHeight = m_EndlessHeight;
  c->m_EndlessWidth = m_EndlessWidth;
  c->m_DataSetName = m_DataSetName;
  c->m_Font = m_Font;
  for (const auto& o : m_objects) c->AddObject(o->Clone());
  return c;
}

}  // namespace report
