#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <set>

#include "window_fixture.h"
#include "window_image.h"

namespace app {
namespace {

using testing::WindowTest;
using testing::Kind;

const QString kTestQueue = QStringLiteral("PDF");
const QString kPrinterError = QStringLiteral("message: Errore Stampante");

bool RunTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) return false;
  if (output != nullptr) *output = process.readAllStandardOutput();
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool SchedulerRuns() {
  QByteArray out;
  return RunTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) && out.contains("is running");
}

// The PDF printer writes into the folder PDF of the job's user's home (from
// the password database, whatever HOME says), one file per job named after
// the job's title and number.
QDir PdfFolder() {
  const passwd* user = getpwuid(getuid());
  return QDir(QString::fromLocal8Bit(user != nullptr ? user->pw_dir : "/nonexistent") +
              QStringLiteral("/PDF"));
}

std::set<QString> ScreenPrints() {
  const QStringList names =
      PdfFolder().entryList({QStringLiteral("Versanto_Schermata-job_*.pdf")}, QDir::Files);
  return {names.begin(), names.end()};
}

// Points the user's default printer elsewhere for the test's lifetime.
class DefaultPrinter {
 public:
  explicit DefaultPrinter(const QString& name) { setenv("LPDEST", name.toLocal8Bit().constData(), 1); }
  ~DefaultPrinter() { unsetenv("LPDEST"); }
};

// Mean difference per colour channel (0..255) between two pictures of the
// same size.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y);
      const QColor q = b.pixelColor(x, y);
      sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

// The part of a page that is not paper.
QRect InkBounds(const QImage& page) {
  QRect bounds;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      if (std::min({c.red(), c.green(), c.blue()}) < 245) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

class WindowPrintTest : public WindowTest {};

TEST_F(WindowPrintTest, TheWindowComesOutAsOnePageOnTheDefaultPrinter) {
  if (!QPrinterInfo::availablePrinterNames().contains(kTestQueue)) {
    GTEST_SKIP() << "no CUPS queue \"PDF\" (scripts/start-cups sets one up when run as root); "
                    "nothing is printed";
  }
  // The test's own home has no printer settings: the queue becomes this
  // user's default, as a user would choose it.
  const DefaultPrinter testQueue(kTestQueue);
  ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName(), kTestQueue);
  Make();
  const QImage window = ClientAreaImage(*form);
  for (const auto& [place, kind] : {std::pair{"BitBtn4", Kind::Button}, std::pair{"Schermata1", Kind::MenuEntry}}) {
    SCOPED_TRACE(place);
    prompter.log.clear();
    const std::set<QString> before = ScreenPrints();
    Activate(place, kind);
    EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();

    // The job goes through the queue on its own time.
    QString printed;
    QByteArray info;
    for (int i = 0; i < 600 && printed.isEmpty(); ++i) {
      for (const QString& name : ScreenPrints()) {
        if (before.count(name) == 0 &&
            RunTool(QStringLiteral("pdfinfo"), {PdfFolder().filePath(name)}, &info)) {
          printed = PdfFolder().filePath(name);
        }
      }
      if (printed.isEmpty()) QTest::qWait(100);
    }
    ASSERT_FALSE(printed.isEmpty()) << "no new PDF in " << PdfFolder().path().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")).match(QString::fromLatin1(info)).hasMatch())
        << info.toStdString();

    const QString raster = QDir(dir).filePath(QStringLiteral("page"));
    ASSERT_TRUE(RunTool(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("48"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), printed, raster}));
    const QImage page(raster + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    const QRect ink = InkBounds(page);
    ASSERT_TRUE(ink.isValid());
    // At the top-left, within the margins (48 dots an inch), with the window's proportions.
    EXPECT_LT(ink.left(), 48);
    EXPECT_LT(ink.top(), 48);
    EXPECT_NEAR(double(ink.width()) / ink.height(), double(window.width()) / window.height(), 0.05);
    const QImage printedWindow = page.copy(ink).convertToFormat(QImage::Format_RGB32);
    const QImage shownWindow =
        window.scaled(ink.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(MeanDifference(printedWindow, shownWindow), 25.0);
    QFile::remove(printed);
  }
}

TEST_F(WindowPrintTest, NoDefaultPrinterIsAPrinterError) {
  const DefaultPrinter none(QStringLiteral("VersantoNessunaStampante"));
  ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull());
  Make();
  for (const auto& [place, kind] : {std::pair{"BitBtn4", Kind::Button}, std::pair{"Schermata1", Kind::MenuEntry}}) {
    SCOPED_TRACE(place);
    prompter.log.clear();
    Activate(place, kind);
    EXPECT_EQ(prompter.log, QStringList{kPrinterError});
  }
}

// A queue of its own that does not accept jobs, made for this test and
// removed after it.
class RefusingQueue {
 public:
  RefusingQueue() {
    m_made = RunTool(QStringLiteral("lpadmin"),
                     {QStringLiteral("-p"), m_name, QStringLiteral("-E"), QStringLiteral("-v"),
                      QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                      QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")}) &&
             RunTool(QStringLiteral("cupsreject"), {m_name});
  }
  ~RefusingQueue() { RunTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_name}); }
  bool Made() const { return m_made; }
  const QString& Name() const { return m_name; }

 private:
  // Of this process: builds tested side by side do not share it.
  const QString m_name = QStringLiteral("VersantoRifiuta%1").arg(getpid());
  bool m_made = false;
};

TEST_F(WindowPrintTest, APrinterThatRefusesTheJobIsAPrinterError) {
  if (geteuid() != 0 || !SchedulerRuns()) {
    GTEST_SKIP() << "needs root and a running CUPS scheduler to set up a queue that refuses jobs";
  }
  const RefusingQueue queue;
  ASSERT_TRUE(queue.Made());
  const DefaultPrinter refusing(queue.Name());
  ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName(), queue.Name());
  Make();
  QTest::mouseClick(Find<QAbstractButton>("BitBtn4"), Qt::LeftButton);
  EXPECT_EQ(prompter.log, QStringList{kPrinterError});
}

}  // namespace
}  // namespace app
