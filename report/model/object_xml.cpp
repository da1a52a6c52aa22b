#include "report/model/object_xml.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>

#include <cmath>
#include <vector>

namespace report {
namespace {

// Geometry beyond a few metres of paper is a broken file, not a report.
constexpr double kMaxCoordinate = 1e6;  // report units
constexpr int kMaxFontHeight = 2000;     // report units

QString BoolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

bool ParseBool(const QString& s, bool& out) {
  if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1")) {
    out = true;
    return true;
  }
  if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s == QLatin1String("0")) {
    out = false;
    return true;
  }
  return false;
}

bool ParseNumber(const QString& s, double& out, double low, double high) {
  bool ok = false;
  const double v = s.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v) || v < low || v > high) return false;
  out = v;
  return true;
}

bool ParseInt(const QString& s, int& out, int low, int high) {
  bool ok = false;
  const qlonglong v = s.trimmed().toLongLong(&ok);
  if (!ok || v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

QString ColorText(const QColor& c) {
  return c.isValid() ? c.name(QColor::HexRgb) : QStringLiteral("clNone");
}

bool ParseColor(const QString& s, QColor& out) {
  if (s == QLatin1String("clNone")) {
    out = QColor();
    return true;
  }
  if (s.size() != 7 || !s.startsWith(QLatin1Char('#'))) return false;
  const QColor c = QColor::fromString(s);
  if (!c.isValid()) return false;
  out = c;
  return true;
}

template <typename E>
struct EnumNames {
  std::vector<QString> names;
  QString Text(E v) const { return names[static_cast<std::size_t>(v)]; }
  bool Parse(const QString& s, E& out) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == s) {
        out = static_cast<E>(i);
        return true;
      }
    }
    return false;
  }
};

const EnumNames<HAlign> kHAlign{{"haLeft", "haRight", "haCenter", "haBlock"}};
const EnumNames<VAlign> kVAlign{{"vaTop", "vaBottom", "vaCenter"}};
const EnumNames<StretchMode> kStretch{{"smDontStretch", "smActualHeight", "smMaxHeight"}};
const EnumNames<Orientation> kOrientation{{"poPortrait", "poLandscape"}};
const EnumNames<expr::FormatKind> kFormatKind{{"fkText", "fkNumeric", "fkDateTime", "fkBoolean"}};

QString StyleText(const Font& f) {
  QStringList parts;
  if (f.bold) parts << QStringLiteral("fsBold");
  if (f.italic) parts << QStringLiteral("fsItalic");
  if (f.underline) parts << QStringLiteral("fsUnderline");
  if (f.strikeOut) parts << QStringLiteral("fsStrikeOut");
  return parts.join(QLatin1Char(','));
}

bool ParseStyle(const QString& s, Font& f) {
  Font r = f;
  r.bold = r.italic = r.underline = r.strikeOut = false;
  for (const QString& part : s.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString p = part.trimmed();
    if (p == QLatin1String("fsBold")) r.bold = true;
    else if (p == QLatin1String("fsItalic")) r.italic = true;
    else if (p == QLatin1String("fsUnderline")) r.underline = true;
    else if (p == QLatin1String("fsStrikeOut")) r.strikeOut = true;
    else return false;
  }
  f = r;
  return true;
}

QString FrameTypText(int typ) {
  QStringList parts;
  if (typ & ftLeft) parts << QStringLiteral("ftLeft");
  if (typ & ftRight) parts << QStringLiteral("ftRight");
  if (typ & ftTop) parts << QStringLiteral("ftTop");
  if (typ & ftBottom) parts << QStringLiteral("ftBottom");
  return parts.join(QLatin1Char(','));
}

bool ParseFrameTyp(const QString& s, int& typ) {
  int r = 0;
  for (const QString& part : s.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString p = part.trimmed();
    if (p == QLatin1String("ftLeft")) r |= ftLeft;
    else if (p == QLatin1String("ftRight")) r |= ftRight;
    else if (p == QLatin1String("ftTop")) r |= ftTop;
    else if (p == QLatin1String("ftBottom")) r |= ftBottom;
    else return false;
  }
  typ = r;
  return true;
}

// One published property of class T: its text and how to set it from text.
template <typename T>
struct Prop {
  const char* name;
  QString (*get)(const T&);
  bool (*set)(T&, const QString&);
};

#define NUM_PROP(T, P, LOW, HIGH)                                            \
  Prop<T> {                                                                  \
    #P, [](const T& o) { return NumberText(o.P()); },                        \
        [](T& o, const QString& s) {                                         \
          double v = 0;                                                      \
          if (!ParseNumber(s, v, LOW, HIGH)) return false;                   \
          o.Set##P(v);                                                       \
          return true;                                                       \
        }                                                                    \
  }
#define INT_PROP(T, P, LOW, HIGH)                                            \
  Prop<T> {                                                                  \
    #P, [](const T& o) { return QString::number(o.P()); },                   \
        [](T& o, const QString& s) {                                         \
          int v = 0;                                                         \
          if (!ParseInt(s, v, LOW, HIGH)) return false;                      \
          o.Set##P(v);                                                       \
          return true;                                                       \
        }                                                                    \
  }
#define BOOL_PROP(T, P)                                                      \
  Prop<T> {                                                                  \
    #P, [](const T& o) { return BoolText(o.P()); },                          \
        [](T& o, const QString& s) {                                         \
          bool v = false;                                                    \
          if (!ParseBool(s, v)) return false;                                \
          o.Set##P(v);                                                       \
          return true;                                                       \
        }                                                                    \
  }
#define STR_PROP(T, P)                                                       \
  Prop<T> {                                                                  \
    #P, [](const T& o) { return o.P(); },                                    \
        [](T& o, const QString& s) {                                         \
          o.Set##P(s);                                                       \
          return true;                                                       \
        }                                                                    \
  }
#define ENUM_PROP(T, P, NAMES)                                               \
  Prop<T> {                                                                  \
    #P, [](const T& o) { return NAMES.Text(o.P()); },                        \
        [](T& o, const QString& s) {                                         \
          auto v = o.P();                                                    \
          if (!NAMES.Parse(s, v)) return false;                              \
          o.Set##P(v);                                                       \
          return true;                                                       \
        }                                                                    \
  }

template <typename T>
std::vector<Prop<T>> ComponentProps() {
  return {
      STR_PROP(T, Name),
      NUM_PROP(T, Left, -kMaxCoordinate, kMaxCoordinate),
      NUM_PROP(T, Top, -kMaxCoordinate, kMaxCoordinate),
      NUM_PROP(T, Width, 0, kMaxCoordinate),
      NUM_PROP(T, Height, 0, kMaxCoordinate),
      BOOL_PROP(T, Visible),
      INT_PROP(T, Tag, -2147483647, 2147483647),
  };
}

template <typename T>
std::vector<Prop<T>> FontProps() {
  return {
      {"Font.Name", [](const T& o) { return o.Font().name; },
       [](T& o, const QString& s) {
         if (s.trimmed().isEmpty()) return false;
         Font f = o.Font();
         f.name = s;
         o.SetFont(f);
         return true;
       }},
      {"Font.Height", [](const T& o) { return QString::number(o.Font().height); },
       [](T& o, const QString& s) {
         Font f = o.Font();
         if (!ParseInt(s, f.height, 1, kMaxFontHeight)) return false;
         o.SetFont(f);
         return true;
       }},
      {"Font.Color", [](const T& o) { return ColorText(o.Font().color); },
       [](T& o, const QString& s) {
         Font f = o.Font();
         if (!ParseColor(s, f.color) || !f.color.isValid()) return false;
         o.SetFont(f);
         return true;
       }},
      {"Font.Style", [](const T& o) { return StyleText(o.Font()); },
       [](T& o, const QString& s) {
         Font f = o.Font();
         if (!ParseStyle(s, f)) return false;
         o.SetFont(f);
         return true;
       }},
  };
}

template <typename T>
std::vector<Prop<T>> ViewProps() {
  auto props = ComponentProps<T>();
  const std::vector<Prop<T>> own = {
      BOOL_PROP(T, Printable),
      {"Color", [](const T& o) { return ColorText(o.Color()); },
       [](T& o, const QString& s) {
         QColor c;
         if (!ParseColor(s, c)) return false;
         o.SetColor(c);
         return true;
       }},
      {"Frame.Typ", [](const T& o) { return FrameTypText(o.Frame().typ); },
       [](T& o, const QString& s) {
         Frame f = o.Frame();
         if (!ParseFrameTyp(s, f.typ)) return false;
         o.SetFrame(f);
         return true;
       }},
      {"Frame.Width", [](const T& o) { return NumberText(o.Frame().width); },
       [](T& o, const QString& s) {
         Frame f = o.Frame();
         if (!ParseNumber(s, f.width, 0, 1000)) return false;
         o.SetFrame(f);
         return true;
       }},
      {"Frame.Color", [](const T& o) { return ColorText(o.Frame().color); },
       [](T& o, const QString& s) {
         Frame f = o.Frame();
         if (!ParseColor(s, f.color) || !f.color.isValid()) return false;
         o.SetFrame(f);
         return true;
       }},
      BOOL_PROP(T, ParentFont),
  };
  props.insert(props.end(), own.begin(), own.end());
  const auto font = FontProps<T>();
  props.insert(props.end(), font.begin(), font.end());
  return props;
}

const std::vector<Prop<MemoView>>& MemoProps() {
  static const std::vector<Prop<MemoView>> props = [] {
    auto p = ViewProps<MemoView>();
    const std::vector<Prop<MemoView>> own = {
        STR_PROP(MemoView, Text),
        STR_PROP(MemoView, DataSetName),
        STR_PROP(MemoView, DataField),
        {"DisplayFormat.Kind", [](const MemoView& o) { return kFormatKind.Text(o.DisplayFormat().kind); },
         [](MemoView& o, const QString& s) {
           auto f = o.DisplayFormat();
           if (!kFormatKind.Parse(s, f.kind)) return false;
           o.SetDisplayFormat(f);
           return true;
         }},
        {"DisplayFormat.FormatStr",
         [](const MemoView& o) { return QString::fromStdString(o.DisplayFormat().formatStr); },
         [](MemoView& o, const QString& s) {
           auto f = o.DisplayFormat();
           f.formatStr = s.toStdString();
           o.SetDisplayFormat(f);
           return true;
         }},
        {"DisplayFormat.DecimalSeparator",
         [](const MemoView& o) { return QString::fromStdString(o.DisplayFormat().decimalSeparator); },
         [](MemoView& o, const QString& s) {
           auto f = o.DisplayFormat();
           f.decimalSeparator = s.toStdString();
           o.SetDisplayFormat(f);
           return true;
         }},
        BOOL_PROP(MemoView, AllowExpressions),
        {"ExpressionDelimiters", [](const MemoView& o) { return o.ExpressionDelimiters(); },
         [](MemoView& o, const QString& s) {
           if (!s.contains(QLatin1Char(',')) || s.startsWith(QLatin1Char(','))) return false;
           o.SetExpressionDelimiters(s);
           return true;
         }},
        BOOL_PROP(MemoView, HideZeros),
        ENUM_PROP(MemoView, HAlign, kHAlign),
        ENUM_PROP(MemoView, VAlign, kVAlign),
        NUM_PROP(MemoView, GapX, 0, 10000),
        NUM_PROP(MemoView, GapY, 0, 10000),
        NUM_PROP(MemoView, LineSpacing, 0, 10000),
        BOOL_PROP(MemoView, WordWrap),
        BOOL_PROP(MemoView, Clipped),
        BOOL_PROP(MemoView, Wysiwyg),
        ENUM_PROP(MemoView, StretchMode, kStretch),
    };
    p.insert(p.end(), own.begin(), own.end());
    return p;
  }();
  return props;
}

const std::vector<Prop<PictureView>>& PictureProps() {
  static const std::vector<Prop<PictureView>> props = [] {
    auto p = ViewProps<PictureView>();
    const std::vector<Prop<PictureView>> own = {
        BOOL_PROP(PictureView, Stretched),
        BOOL_PROP(PictureView, KeepAspectRatio),
        BOOL_PROP(PictureView, Center),
    };
    p.insert(p.end(), own.begin(), own.end());
    return p;
  }();
  return props;
}

const std::vector<Prop<Band>>& BandProps() {
  static const std::vector<Prop<Band>> props = [] {
    auto p = ComponentProps<Band>();
    const std::vector<Prop<Band>> own = {
        BOOL_PROP(Band, StartNewPage),
        BOOL_PROP(Band, Stretched),
        BOOL_PROP(Band, AllowSplit),
        BOOL_PROP(Band, KeepChild),
        BOOL_PROP(Band, PrintChildIfInvisible),
        STR_PROP(Band, Child),
        STR_PROP(Band, OutlineText),
        BOOL_PROP(Band, PrintOnFirstPage),
        BOOL_PROP(Band, PrintOnLastPage),
        BOOL_PROP(Band, ReprintOnNewPage),
        STR_PROP(Band, DataSetName),
        INT_PROP(Band, RowCount, 0, 100000000),
        BOOL_PROP(Band, PrintIfDetailEmpty),
        BOOL_PROP(Band, FooterAfterEach),
        BOOL_PROP(Band, KeepTogether),
        BOOL_PROP(Band, KeepHeader),
        BOOL_PROP(Band, KeepFooter),
    };
    p.insert(p.end(), own.begin(), own.end());
    return p;
  }();
  return props;
}

const std::vector<Prop<ReportPage>>& ReportPageProps() {
  static const std::vector<Prop<ReportPage>> props = [] {
    auto p = ComponentProps<ReportPage>();
    constexpr double kMaxPaperMm = 10000;
    const std::vector<Prop<ReportPage>> own = {
        NUM_PROP(ReportPage, PaperWidth, 0, kMaxPaperMm),
        NUM_PROP(ReportPage, PaperHeight, 0, kMaxPaperMm),
        INT_PROP(ReportPage, PaperSize, 0, 100000),
        ENUM_PROP(ReportPage, Orientation, kOrientation),
        NUM_PROP(ReportPage, LeftMargin, 0, kMaxPaperMm),
        NUM_PROP(ReportPage, RightMargin, 0, kMaxPaperMm),
        NUM_PROP(ReportPage, TopMargin, 0, kMaxPaperMm),
        NUM_PROP(ReportPage, BottomMargin, 0, kMaxPaperMm),
        INT_PROP(ReportPage, Columns, 1, 1),
        INT_PROP(ReportPage, Bin, 0, 100000),
        INT_PROP(ReportPage, BinOtherPages, 0, 100000),
        INT_PROP(ReportPage, Duplex, 0, 3),
        BOOL_PROP(ReportPage, TitleBeforeHeader),
        BOOL_PROP(ReportPage, PrintIfEmpty),
        BOOL_PROP(ReportPage, PrintOnPreviousPage),
        BOOL_PROP(ReportPage, ResetPageNumbers),
        BOOL_PROP(ReportPage, EndlessHeight),
        BOOL_PROP(ReportPage, EndlessWidth),
        STR_PROP(ReportPage, DataSetName),
    };
    p.insert(p.end(), own.begin(), own.end());
    const auto font = FontProps<ReportPage>();
    p.insert(p.end(), font.begin(), font.end());
    return p;
  }();
  return props;
}

const std::vector<Prop<DataPage>>& DataPageProps() {
  static const std::vector<Prop<DataPage>> props = ComponentProps<DataPage>();
  return props;
}

template <typename T>
const Prop<T>* FindProp(const std::vector<Prop<T>>& props, QStringView name) {
  for (const auto& p : props) {
    if (name == QLatin1String(p.name)) return &p;
  }
  return nullptr;
}

template <typename T>
void WriteProps(QXmlStreamWriter& w, const T& object, const T& defaults,
                const std::vector<Prop<T>>& props) {
  for (const auto& p : props) {
    const QString value = p.get(object);
    if (value != p.get(defaults) || std::string_view(p.name) == "Name") {
      w.writeAttribute(QLatin1String(p.name), value);
    }
  }
}

template <typename T>
bool SetFrom(const std::vector<Prop<T>>& props, T& object, QStringView name, const QString& value,
             QString& message) {
  const Prop<T>* p = FindProp(props, name);
  if (!p) {
    message = QStringLiteral("Unknown property %1 of %2").arg(name.toString(), object.ClassName());
    return false;
  }
  if (!p->set(object, value)) {
    message = QStringLiteral("Invalid value \"%1\" for %2.%3")
                  .arg(value.left(80), object.ClassName(), name.toString());
    return false;
  }
  return true;
}

std::unique_ptr<Component> Create(QStringView className) {
  if (className == QLatin1String("TRepMemoView")) return std::make_unique<MemoView>();
  if (className == QLatin1String("TRepPictureView")) return std::make_unique<PictureView>();
  if (className == QLatin1String("TRepReportPage")) return std::make_unique<ReportPage>();
  if (className == QLatin1String("TRepDataPage")) return std::make_unique<DataPage>();
  for (BandType t : {BandType::ReportTitle, BandType::ReportSummary, BandType::PageHeader,
                     BandType::PageFooter, BandType::Header, BandType::Footer,
                     BandType::MasterData, BandType::Child}) {
    if (className == Band::ClassNameOf(t)) return std::make_unique<Band>(t);
  }
  return nullptr;
}

bool ReadPicture(PictureView& view, QStringView name, const QString& value,
                 const ObjectXmlOptions& options, QString& format, QString& message) {
  if (name == QLatin1String("Picture.Format")) {
    format = value;
    return true;
  }
  Picture picture;
  if (name == QLatin1String("Picture.Data")) {
    const auto decoded = QByteArray::fromBase64Encoding(value.toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
      message = QStringLiteral("Picture.Data of %1 is not base64").arg(view.Name());
      return false;
    }
    picture = Picture(*decoded, format);
  } else if (name == QLatin1String("Picture.File")) {
    const QString path = value.startsWith(QLatin1Char(':')) || QFileInfo(value).isAbsolute()
                             ? value
                             : QDir(options.baseFolder).filePath(value);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      message = QStringLiteral("Cannot read picture file %1").arg(path);
      return false;
    }
    QString fmt = format;
    if (fmt.isEmpty()) fmt = QFileInfo(path).suffix().toUpper();
    picture = Picture(file.readAll(), fmt);
  } else if (name == QLatin1String("Picture.Ref")) {
    if (!options.pictureSource || !options.pictureSource(value, view)) {
      message = QStringLiteral("Missing picture %1 of %2").arg(value, view.Name());
      return false;
    }
    return true;
  } else {
    return SetFrom(PictureProps(), view, name, value, message);
  }
  view.SetPicture(picture);
  return true;
}

bool CanContain(const Component* parent, const Component& child) {
  if (!parent) return child.Type() == ObjectType::ReportPage || child.Type() == ObjectType::DataPage;
  if (parent->Type() == ObjectType::ReportPage) {
    return child.Type() == ObjectType::Band || child.Type() == ObjectType::MemoView ||
           child.Type() == ObjectType::PictureView;
  }
  if (parent->Type() == ObjectType::Band) {
    return child.Type() == ObjectType::MemoView || child.Type() == ObjectType::PictureView;
  }
  return false;
}

// What the engine relies on: a printable area, names that say which object a
// record belongs to, and chains of child bands that end.
QString CheckPage(const ReportPage& page) {
  if (!(page.PrintableWidth() > 0) || !(page.PrintableHeight() > 0)) {
    return QStringLiteral("Page %1 has no printable area (paper %2 x %3 mm, margins %4 %5 %6 %7 mm)")
        .arg(page.Name(), NumberText(page.PaperWidth()), NumberText(page.PaperHeight()),
             NumberText(page.LeftMargin()), NumberText(page.RightMargin()),
             NumberText(page.TopMargin()), NumberText(page.BottomMargin()));
  }
  QStringList names;
  auto note = [&](const Component& c) -> QString {
    if (c.Name().trimmed().isEmpty()) return QStringLiteral("An object of %1 has no name").arg(page.Name());
    for (const QString& n : names) {
      if (n.compare(c.Name(), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Duplicate name %1 in %2").arg(c.Name(), page.Name());
      }
    }
    names << c.Name();
    return {};
  };
  for (const auto& object : page.Objects()) {
    if (QString m = note(*object); !m.isEmpty()) return m;
    if (object->Type() != ObjectType::Band) continue;
    for (const auto& view : static_cast<const Band&>(*object).Objects()) {
      if (QString m = note(*view); !m.isEmpty()) return m;
    }
  }
  for (const auto& object : page.Objects()) {
    if (object->Type() != ObjectType::Band) continue;
    const Band* band = static_cast<const Band*>(object.get());
    std::size_t steps = 0;
    for (const Band* b = band; !b->Child().isEmpty(); ++steps) {
      const Band* next = page.FindBand(b->Child());
      if (!next) return QStringLiteral("Band %1 names a missing child band %2").arg(b->Name(), b->Child());
      if (steps > page.Objects().size()) {
        return QStringLiteral("The child bands of %1 form a loop").arg(band->Name());
      }
      b = next;
    }
  }
  return {};
}

std::unique_ptr<Component> ReadOne(QXmlStreamReader& reader, const ObjectXmlOptions& options,
                                   const Component* parent, QString& message) {
  auto object = Create(reader.name());
  if (!object) {
    message = QStringLiteral("Unknown class %1").arg(reader.name().toString());
    return nullptr;
  }
  if (!CanContain(parent, *object)) {
    message = parent ? QStringLiteral("%1 cannot be placed in %2")
                           .arg(object->ClassName(), parent->ClassName())
                     : QStringLiteral("%1 is not a page").arg(object->ClassName());
    return nullptr;
  }
  QString pictureFormat;
  for (const QXmlStreamAttribute& a : reader.attributes()) {
    if (object->Type() == ObjectType::PictureView) {
      if (!ReadPicture(static_cast<PictureView&>(*object), a.name(), a.value().toString(), options,
                       pictureFormat, message)) {
        return nullptr;
      }
    } else if (!SetProperty(*object, a.name(), a.value().toString(), message)) {
      return nullptr;
    }
  }
  while (reader.readNextStartElement()) {
    auto child = ReadOne(reader, options, object.get(), message);
    if (!child) return nullptr;
    if (object->Type() == ObjectType::ReportPage) {
      static_cast<ReportPage&>(*object).AddObject(std::move(child));
    } else {
      auto* view = static_cast<View*>(child.release());
      static_cast<Band&>(*object).AddObject(std::unique_ptr<View>(view));
    }
  }
  if (reader.hasError()) {
    message = reader.errorString();
    return nullptr;
  }
  if (object->Type() == ObjectType::ReportPage) {
    message = CheckPage(static_cast<const ReportPage&>(*object));
    if (!message.isEmpty()) return nullptr;
  }
  return object;
}

}  // namespace

QString NumberText(double value) {
  for (int precision = 15; precision <= 17; ++precision) {
    const QString text = QString::number(value, 'g', precision);
    if (text.toDouble() == value) return text;
  }
  return QString::number(value, 'g', 17);
}

bool SetProperty(Component& object, QStringView name, const QString& value, QString& message) {
  switch (object.Type()) {
    case ObjectType::MemoView:
      return SetFrom(MemoProps(), static_cast<MemoView&>(object), name, value, message);
    case ObjectType::PictureView:
      return SetFrom(PictureProps(), static_cast<PictureView&>(object), name, value, message);
    case ObjectType::Band:
      return SetFrom(BandProps(), static_cast<Band&>(object), name, value, message);
    case ObjectType::ReportPage:
      return SetFrom(ReportPageProps(), static_cast<ReportPage&>(object), name, value, message);
    case ObjectType::DataPage:
      return SetFrom(DataPageProps(), static_cast<DataPage&>(object), name, value, message);
  }
  return false;
}

QString PropertyText(const Component& object, QStringView name) {
  auto text = [&](const auto& props, const auto& o) {
    const auto* p = FindProp(props, name);
    return p ? p->get(o) : QString();
  };
  switch (object.Type()) {
    case ObjectType::MemoView: return text(MemoProps(), static_cast<const MemoView&>(object));
    case ObjectType::PictureView:
      return text(PictureProps(), static_cast<const PictureView&>(object));
    case ObjectType::Band: return text(BandProps(), static_cast<const Band&>(object));
    case ObjectType::ReportPage:
      return text(ReportPageProps(), static_cast<const ReportPage&>(object));
    case ObjectType::DataPage: return text(DataPageProps(), static_cast<const DataPage&>(object));
  }
  return {};
}

void WriteObject(QXmlStreamWriter& w, const Component& object, const ObjectXmlOptions& options) {
  w.writeStartElement(object.ClassName());
  switch (object.Type()) {
    case ObjectType::MemoView:
      WriteProps(w, static_cast<const MemoView&>(object), MemoView(), MemoProps());
      break;
    case ObjectType::PictureView: {
      const auto& view = static_cast<const PictureView&>(object);
      WriteProps(w, view, PictureView(), PictureProps());
      if (!view.Picture().IsEmpty()) {
        w.writeAttribute(QStringLiteral("Picture.Format"), view.Picture().Format());
        if (options.pictureSink) {
          w.writeAttribute(QStringLiteral("Picture.Ref"), options.pictureSink(view.Picture()));
        } else {
          w.writeAttribute(QStringLiteral("Picture.Data"),
                           QString::fromLatin1(view.Picture().Data().toBase64()));
        }
      }
      break;
    }
    case ObjectType::Band: {
      const auto& band = static_cast<const Band&>(object);
      WriteProps(w, band, Band(band.Kind()), BandProps());
      for (const auto& view : band.Objects()) WriteObject(w, *view, options);
      break;
    }
    case ObjectType::ReportPage: {
      const auto& page = static_cast<const ReportPage&>(object);
      WriteProps(w, page, ReportPage(), ReportPageProps());
      for (const auto& child : page.Objects()) WriteObject(w, *child, options);
      break;
    }
    case ObjectType::DataPage:
      WriteProps(w, static_cast<const DataPage&>(object), DataPage(), DataPageProps());
      break;
  }
  w.writeEndElement();
}

std::unique_ptr<Component> ReadObject(QXmlStreamReader& reader, const ObjectXmlOptions& options,
                                      QString& message) {
  return ReadOne(reader, options, nullptr, message);
}

}  // namespace report
