#pragma once

// The report object model: report pages, bands and views, as a template holds
// them and as the prepared pages keep their source copies.
//
//   Report
//    ├─ DataPage            (no printable objects; skipped by the engine)
//    └─ ReportPage          paper in mm, printable area in report units
//        ├─ Band ...        Left/Top relative to the printable area
//        │   └─ View ...    Left/Top relative to the band
//        └─ View ...        lying directly on the page (printed once, via a null band)
//
// Geometry is in report units (1/96 inch, see units.h); paper sizes and
// margins are in millimetres. Objects own their children; Parent() is the
// owner, set when a child is added.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <memory>
#include <vector>

#include "report/expr/display_format.h"
#include "report/model/property.h"

namespace report {

class Band;
class ReportPage;

// A view's font. Height is in pixels at 96 dpi (report units): 13 is the
// 10-point font of the templates.
struct Font {
  QString name = QStringLiteral("Arial");
  int height = 13;  // report units
  QColor color = QColor(0, 0, 0);
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// Frame lines of a view.
enum FrameLine { ftLeft = 1, ftRight = 2, ftTop = 4, ftBottom = 8 };
struct Frame {
  int typ = 0;         // FrameLine bits; 0: no lines
  double width = 1;    // report units
  QColor color = QColor(0, 0, 0);
  friend bool operator==(const Frame&, const Frame&) = default;
};

enum class ObjectType { ReportPage, DataPage, Band, MemoView, PictureView };

class Component {
 public:
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  virtual ObjectType Type() const = 0;
  // The class name templates and prepared-report files use, e.g. "TRepMemoView".
  virtual QString ClassName() const = 0;
  // A deep copy without a parent.
  virtual std::unique_ptr<Component> Clone() const = 0;

  Component* Parent() const { return m_parent; }

  REPORT_PROPERTY(QString, Name)
  REPORT_PROPERTY(double, Left, 0)    // report units
  REPORT_PROPERTY(double, Top, 0)     // report units
  REPORT_PROPERTY(double, Width, 0)   // report units
  REPORT_PROPERTY(double, Height, 0)  // report units
  REPORT_PROPERTY(bool, Visible, true)
  REPORT_PROPERTY(int, Tag, 0)

 protected:
  Component() = default;
  void CopyComponent(const Component& from);
  friend class Band;
  friend class ReportPage;
  Component* m_parent = nullptr;
};

class View : public Component {
 public:
  // The font a view is drawn with: its own, or with ParentFont the page's.
  report::Font EffectiveFont() const;

  REPORT_PROPERTY(bool, Printable, true)
  REPORT_PROPERTY(QColor, Color)  // invalid: none (transparent)
  REPORT_PROPERTY(report::Frame, Frame)
  REPORT_PROPERTY(report::Font, Font)
  REPORT_PROPERTY(bool, ParentFont, true)

 protected:
  View() = default;
  void CopyView(const View& from);
};

enum class HAlign { haLeft, haRight, haCenter, haBlock };
enum class VAlign { vaTop, vaBottom, vaCenter };
// smActualHeight: the memo grows or shrinks to its text; smMaxHeight: it
// reaches down to the bottom of its (stretched) band.
enum class StretchMode { smDontStretch, smActualHeight, smMaxHeight };

class MemoView final : public View {
 public:
  MemoView() = default;
  ObjectType Type() const override { return ObjectType::MemoView; }
  QString ClassName() const override { return QStringLiteral("TRepMemoView"); }
  std::unique_ptr<Component> Clone() const override;

  REPORT_PROPERTY(QString, Text)         // the Memo lines, joined with "\n"
  REPORT_PROPERTY(QString, DataSetName)  // with DataField: bound to that field
  REPORT_PROPERTY(QString, DataField)
  REPORT_PROPERTY(expr::DisplayFormat, DisplayFormat)
  REPORT_PROPERTY(bool, AllowExpressions, true)
  REPORT_PROPERTY(QString, ExpressionDelimiters, QStringLiteral("[,]"))
  REPORT_PROPERTY(bool, HideZeros, false)
  REPORT_PROPERTY(report::HAlign, HAlign, report::HAlign::haLeft)
  REPORT_PROPERTY(report::VAlign, VAlign, report::VAlign::vaTop)
  REPORT_PROPERTY(double, GapX, 2)         // report units
  REPORT_PROPERTY(double, GapY, 1)         // report units
  REPORT_PROPERTY(double, LineSpacing, 2)  // report units
  REPORT_PROPERTY(bool, WordWrap, true)
  REPORT_PROPERTY(bool, Clipped, true)
  REPORT_PROPERTY(bool, Wysiwyg, true)
  REPORT_PROPERTY(report::StretchMode, StretchMode, report::StretchMode::smDontStretch)
};

// A stored picture: the encoded bytes as the template holds them (a JPEG, an
// icon, a PNG...), decoded when first drawn. Copies share the decoded image.
class Picture {
 public:
  Picture() = default;
  Picture(QByteArray data, QString format);
  bool IsEmpty() const { return m_data.isEmpty(); }
  const QByteArray& Data() const { return m_data; }
  const QString& Format() const { return m_format; }  // "JPEG", "ICO", "PNG", ...
  // The largest image the data holds (an icon holds several); a null image
  // when the data cannot be decoded.
  QImage Image() const;
  friend bool operator==(const Picture& a, const Picture& b) { return a.m_data == b.m_data; }

 private:
  QByteArray m_data;
  QString m_format;
  std::shared_ptr<QImage> m_image = std::make_shared<QImage>();
  std::shared_ptr<bool> m_decoded = std::make_shared<bool>(false);
};

class PictureView final : public View {
 public:
  PictureView() { SetColor(QColor(255, 255, 255)); }
  ObjectType Type() const override { return ObjectType::PictureView; }
  QString ClassName() const override { return QStringLiteral("TRepPictureView"); }
  std::unique_ptr<Component> Clone() const override;

  REPORT_PROPERTY(report::Picture, Picture)
  REPORT_PROPERTY(bool, Stretched, true)
  REPORT_PROPERTY(bool, KeepAspectRatio, true)
  REPORT_PROPERTY(bool, Center, false)
};

enum class BandType {
  ReportTitle,
  ReportSummary,
  PageHeader,
  PageFooter,
  Header,
  Footer,
  MasterData,
  Child,
  NullBand,
};

class Band final : public Component {
 public:
  explicit Band(BandType type) : m_bandType(type) {}
  ObjectType Type() const override { return ObjectType::Band; }
  QString ClassName() const override { return ClassNameOf(m_bandType); }
  std::unique_ptr<Component> Clone() const override;
  static QString ClassNameOf(BandType type);

  BandType Kind() const { return m_bandType; }
  // Headers, footers and data bands: the bands the engine attaches to each other.
  bool IsDataRelated() const;

  const std::vector<std::unique_ptr<View>>& Objects() const { return m_objects; }
  View* AddObject(std::unique_ptr<View> view);
  ReportPage* Page() const;

  REPORT_PROPERTY(bool, StartNewPage, false)
  REPORT_PROPERTY(bool, Stretched, false)
  REPORT_PROPERTY(bool, AllowSplit, false)
  REPORT_PROPERTY(bool, KeepChild, false)
  REPORT_PROPERTY(bool, PrintChildIfInvisible, false)
  REPORT_PROPERTY(QString, Child)  // the name of the follow-on band, if any
  REPORT_PROPERTY(QString, OutlineText)
  // Page header and footer:
  REPORT_PROPERTY(bool, PrintOnFirstPage, true)
  REPORT_PROPERTY(bool, PrintOnLastPage, true)
  // Header:
  REPORT_PROPERTY(bool, ReprintOnNewPage, false)
  // Data band:
  REPORT_PROPERTY(QString, DataSetName)
  REPORT_PROPERTY(int, RowCount, 0)  // rows printed when no dataset is attached
  REPORT_PROPERTY(bool, PrintIfDetailEmpty, false)
  REPORT_PROPERTY(bool, FooterAfterEach, false)
  REPORT_PROPERTY(bool, KeepTogether, false)
  REPORT_PROPERTY(bool, KeepHeader, false)
  REPORT_PROPERTY(bool, KeepFooter, false)

 private:
  BandType m_bandType;
  std::vector<std::unique_ptr<View>> m_objects;
};

class Page : public Component {
 protected:
  Page() = default;
};

class DataPage final : public Page {
 public:
  DataPage() {
    SetWidth(1000);
    SetHeight(1000);
  }
  ObjectType Type() const override { return ObjectType::DataPage; }
  QString ClassName() const override { return QStringLiteral("TRepDataPage"); }
  std::unique_ptr<Component> Clone() const override;
};

enum class Orientation { poPortrait, poLandscape };

class ReportPage final : public Page {
 public:
  ReportPage() = default;
  ObjectType Type() const override { return ObjectType::ReportPage; }
  QString ClassName() const override { return QStringLiteral("TRepReportPage"); }
  std::unique_ptr<Component> Clone() const override;

  // Bands and views in template order.
  const std::vector<std::unique_ptr<Component>>& Objects() const { return m_objects; }
  Component* AddObject(std::unique_ptr<Component> object);  // a Band or a View
  Band* FindBand(const QString& name) const;
  // The first band of that kind, or nullptr.
  Band* FirstBand(BandType type) const;
  // Any band or view by name, without regard to case; nullptr when absent.
  Component* FindObject(const QString& name) const;

  // The printable area (paper less margins), report units.
  double PrintableWidth() const;
  double PrintableHeight() const;

  REPORT_PROPERTY(double, PaperWidth, 210)   // mm
  REPORT_PROPERTY(double, PaperHeight, 297)  // mm
  REPORT_PROPERTY(int, PaperSize, 9)         // platform paper code; 9 is A4
  REPORT_PROPERTY(report::Orientation, Orientation, report::Orientation::poPortrait)
  REPORT_PROPERTY(double, LeftMargin, 10)    // mm
  REPORT_PROPERTY(double, RightMargin, 10)   // mm
  REPORT_PROPERTY(double, TopMargin, 10)     // mm
  REPORT_PROPERTY(double, BottomMargin, 10)  // mm
  REPORT_PROPERTY(int, Columns, 1)
  REPORT_PROPERTY(int, Bin, 7)
  REPORT_PROPERTY(int, BinOtherPages, 7)
  REPORT_PROPERTY(int, Duplex, 0)
  REPORT_PROPERTY(bool, TitleBeforeHeader, true)
  REPORT_PROPERTY(bool, PrintIfEmpty, true)
  REPORT_PROPERTY(bool, PrintOnPreviousPage, false)
  REPORT_PROPERTY(bool, ResetPageNumbers, false)
  REPORT_PROPERTY(bool, EndlessHeight, false)
  REPORT_PROPERTY(bool, EndlessWidth, false)
  REPORT_PROPERTY(QString, DataSetName)
  REPORT_PROPERTY(report::Font, Font)  // what views with ParentFont use

 private:
  std::vector<std::unique_ptr<Component>> m_objects;
};

}  // namespace report
