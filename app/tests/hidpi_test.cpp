// Runs with QT_SCALE_FACTOR=2: every window is drawn at a device pixel ratio
// of 2, as on a high-density screen.
#include <QAbstractButton>
#include <QAction>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QToolBar>

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "picture_box.h"
#include "window_fixture.h"

namespace app {
namespace {

using testing::WindowTest;

constexpr qreal kRatio = 2.0;

// The mean difference, per pixel and colour channel (0..255), between `part`
// and the area of `picture` it covers when laid at `at`.
double Difference(const QImage& picture, const QImage& part, QPoint at) {
  double sum = 0;
  for (int y = 0; y < part.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(picture.constScanLine(at.y() + y)) + at.x();
    const auto* b = reinterpret_cast<const QRgb*>(part.constScanLine(y));
    for (int x = 0; x < part.width(); ++x) {
      sum += std::abs(qRed(a[x]) - qRed(b[x])) + std::abs(qGreen(a[x]) - qGreen(b[x])) +
             std::abs(qBlue(a[x]) - qBlue(b[x]));
    }
  }
  return sum / (3.0 * part.width() * part.height());
}

// The smallest Difference of `part` anywhere inside `picture`.
double BestMatch(const QImage& picture, const QImage& part) {
  double best = 255;
  for (int y = 0; y + part.height() <= picture.height(); ++y) {
    for (int x = 0; x + part.width() <= picture.width(); ++x) {
      best = std::min(best, Difference(picture, part, QPoint(x, y)));
    }
  }
  return best;
}

QImage Opaque(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// `image` laid over a plain background, as a widget shows it, pixel for pixel.
QImage OnBackground(QImage image, QRgb background) {
  image.setDevicePixelRatio(1);
  QImage canvas(image.size(), QImage::Format_RGB32);
  canvas.fill(background);
  QPainter(&canvas).drawImage(0, 0, image);
  return canvas;
}

// What a picture drawn for the low-density screen becomes on this one.
QImage ScaledUp(const QImage& oneX) {
  return oneX.scaled(oneX.size() * kRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// How far a widget's picture on this screen is from the drawing made for it
// at twice the pixels (`sharp`), against how far it is from the 1x drawing
// scaled up (`blurred`). A widget drawn sharp matches the first closely and
// the second much less.
struct Match {
  double sharp;
  double blurred;
  bool IsSharp() const { return sharp < 1.0 && sharp < blurred / 3; }
};

void PrintTo(const Match& m, std::ostream* os) {
  *os << "difference " << m.sharp << " from the sharp drawing, " << m.blurred << " from the 1x one scaled up";
}

// A tool button's icon, found wherever the style put it and at the size it
// drew it (a button too low for the tool bar's icon size gets a smaller one).
Match MatchIcon(QWidget& button, const QIcon& icon, QSize largest) {
  const QImage picture = Opaque(button.grab().toImage());
  const QRgb background = picture.pixel(1, 1);
  Match best{255, 255};
  for (int side = largest.width() / 2; side <= largest.width(); ++side) {  // logical pixels
    const QSize size(side, side);
    const double sharp = BestMatch(picture, OnBackground(icon.pixmap(size, kRatio).toImage(), background));
    if (sharp >= best.sharp) continue;
    best = {sharp, BestMatch(picture, ScaledUp(OnBackground(icon.pixmap(size, 1.0).toImage(), background)))};
  }
  return best;
}

// A picture box is its picture, stretched over the whole box.
Match MatchPicture(PictureBox& box) {
  const QImage picture = Opaque(box.grab().toImage());
  const QRgb background = picture.pixel(0, 0);  // a corner the pictures leave open, if any
  QSvgRenderer renderer(box.Picture());
  renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
  const auto drawing = [&](QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      renderer.render(&painter, QRectF(QPointF(0, 0), size));
    }
    return OnBackground(image, background);
  };
  return {Difference(picture, drawing(picture.size()), QPoint()),
          Difference(picture, ScaledUp(drawing(box.size())), QPoint())};
}

// Qt's own helpers (the tool bar's extension arrow, drawn by the style), and
// the record navigator, whose glyphs are still drawn into 1x pixmaps.
bool IsLeftOut(const QWidget& widget) { return widget.objectName().startsWith(QLatin1String("qt_")); }

class HighDensityTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_EQ(qApp->devicePixelRatio(), kRatio) << "run with QT_SCALE_FACTOR=2";
    Make();
  }
};

TEST_F(HighDensityTest, TheWindowIsDrawnAtTwiceItsPixels) {
  const QPixmap picture = form->grab();
  EXPECT_EQ(picture.devicePixelRatio(), kRatio);
  EXPECT_EQ(picture.size(), form->size() * kRatio);
  // For a person to look at.
  picture.save(qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/hidpi-main-window.png"));
}

// An icon from a vector picture (or with a 2x bitmap) gives a pixmap of twice
// its size at ratio 2; one from a 1x bitmap only its own.
TEST_F(HighDensityTest, EveryIconHasTwiceItsPixels) {
  const auto expectSharpIcon = [](const QIcon& icon, QSize size, const QString& owner) {
    const QPixmap pixmap = icon.pixmap(size, kRatio);
    EXPECT_EQ(pixmap.devicePixelRatio(), kRatio) << owner.toStdString();
    EXPECT_EQ(pixmap.size(), size * kRatio) << owner.toStdString();
  };
  int icons = 0;
  for (QWidget* window : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(about.get()),
                          static_cast<QWidget*>(prices.get())}) {
    if (!window->windowIcon().isNull()) {
      expectSharpIcon(window->windowIcon(), QSize(32, 32), window->objectName());
      ++icons;
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
      if (button->icon().isNull() || IsLeftOut(*button)) continue;
      expectSharpIcon(button->icon(), button->iconSize(), button->objectName());
      ++icons;
    }
    for (const QAction* action : window->findChildren<QAction*>()) {
      if (action->icon().isNull()) continue;
      expectSharpIcon(action->icon(), QSize(20, 20), action->objectName());
      ++icons;
    }
  }
  EXPECT_GE(icons, 20);
}

TEST_F(HighDensityTest, ToolButtonsAreSharp) {
  auto* bar = Find<QToolBar>("ToolBar1");
  int buttons = 0;
  for (QAction* action : bar->actions()) {
    QWidget* button = bar->widgetForAction(action);
    if (button == nullptr || action->icon().isNull()) continue;
    const Match match = MatchIcon(*button, action->icon(), bar->iconSize());
    EXPECT_TRUE(match.IsSharp()) << action->objectName().toStdString() << ": " << ::testing::PrintToString(match);
    ++buttons;
  }
  EXPECT_EQ(buttons, 6);
}

TEST_F(HighDensityTest, PicturesAreSharp) {
  for (QWidget* window : {static_cast<QWidget*>(about.get()), static_cast<QWidget*>(prices.get())}) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QList<PictureBox*> pictures = window->findChildren<PictureBox*>();
    EXPECT_FALSE(pictures.isEmpty());
    for (PictureBox* picture : pictures) {
      const Match match = MatchPicture(*picture);
      EXPECT_TRUE(match.IsSharp()) << picture->objectName().toStdString() << ": "
                                   << ::testing::PrintToString(match);
    }
    window->hide();
  }
}

// The measure itself: a tool button whose icon is a 1x bitmap is not sharp.
TEST_F(HighDensityTest, AnIconFromA1xBitmapIsNotSharp) {
  auto* bar = Find<QToolBar>("ToolBar1");
  QAction* action = Find<QAction>("HelpTool");
  const QIcon vector = action->icon();
  action->setIcon(QIcon(vector.pixmap(bar->iconSize(), 1.0)));
  const Match match = MatchIcon(*bar->widgetForAction(action), vector, bar->iconSize());
  EXPECT_FALSE(match.IsSharp()) << ::testing::PrintToString(match);
}

}  // namespace
}  // namespace app
