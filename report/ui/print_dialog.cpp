#include "report/ui/print_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "report/print/page_numbers.h"
#include "report/print/page_sequence.h"
#include "report/ui/print_messages.h"
#include "report/ui/print_pictures.h"
#include "report/ui/rep_resources.h"
#include "report/ui/tool_images.h"

namespace report {

namespace {

QString T(int key) { return RepResources::Text(key); }

// The table writes filters as "description|pattern"; Qt wants the description.
QString QtFilter(const QString& filter) { return filter.section(QLatin1Char('|'), 0, 0); }

QString ChangeExtension(const QString& path, const QString& extension) {
  const QFileInfo info(path);
  QString name = info.fileName();
  if (!info.suffix().isEmpty()) name.chop(info.suffix().size() + 1);
  return info.dir().filePath(name + extension);
}

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

PrintDialog::PrintDialog(PrinterList& printers, const PrintJobOptions& options, int currentPage, int pageCount,
                         QWidget* parent)
    : QDialog(parent),
      m_printers(printers),
      m_previousPrinter(printers.PrinterIndex()),
      m_options(options),
      m_currentPage(currentPage),
      m_pageCount(pageCount) {
  setObjectName(QStringLiteral("RepPrintDialog"));
  setWindowTitle(T(200));
  resize(557, 334);
  ChooseFile = [](QWidget* owner, const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(owner, caption, QString(), filter);
  };
  ShowError = [](QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, RepResources::Text("clError"), text);
  };

  // Printer
  auto* printerGroup = Named(new QGroupBox(T(201)), "PrinterGB");
  auto* printerGrid = new QGridLayout(printerGroup);
  m_printersCB = Named(new QComboBox, "PrintersCB");
  m_printersCB->setIconSize(QSize(16, 16));
  auto* properties = Named(new QPushButton(T(204)), "PropButton");
  m_whereL = Named(new QLabel, "WhereL");
  m_fileCB = Named(new QCheckBox(T(205)), "FileCB");
  printerGrid->addWidget(new QLabel(T(202)), 0, 0);
  printerGrid->addWidget(m_printersCB, 0, 1);
  printerGrid->addWidget(properties, 0, 2);
  printerGrid->addWidget(new QLabel(T(203)), 1, 0);
  printerGrid->addWidget(m_whereL, 1, 1);
  printerGrid->addWidget(m_fileCB, 1, 2);
  printerGrid->setColumnStretch(1, 1);

  // Pages
  auto* pagesGroup = Named(new QGroupBox(T(206)), "PagesGB");
  auto* pagesGrid = new QGridLayout(pagesGroup);
  m_allRB = Named(new QRadioButton(T(207)), "AllRB");
  m_currentRB = Named(new QRadioButton(T(208)), "CurPageRB");
  m_pagesRB = Named(new QRadioButton(T(209)), "PageNumbersRB");
  m_pagesE = Named(new QLineEdit, "PageNumbersE");
  auto* help = Named(new QLabel(T(210)), "DescrL");
  help->setWordWrap(true);
  // The hint is small print, as under a form field; three lines of it.
  QFont small = help->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  help->setFont(small);
  help->setMinimumHeight(QFontMetrics(small).lineSpacing() * 3);
  pagesGrid->addWidget(m_allRB, 0, 0, 1, 2);
  pagesGrid->addWidget(m_currentRB, 1, 0, 1, 2);
  pagesGrid->addWidget(m_pagesRB, 2, 0);
  pagesGrid->addWidget(m_pagesE, 2, 1);
  pagesGrid->addWidget(help, 3, 0, 1, 2);

  // Copies
  auto* copiesGroup = Named(new QGroupBox(T(211)), "CopiesGB");
  auto* copiesGrid = new QGridLayout(copiesGroup);
  m_copiesE = Named(new QSpinBox, "CopiesE");
  m_copiesE->setRange(1, 9999);  // digits only, at least one
  m_collateCB = Named(new QCheckBox(T(213)), "CollateCB");
  m_collateImage = Named(new QLabel, "CollateImage");
  copiesGrid->addWidget(new QLabel(T(212)), 0, 0);
  copiesGrid->addWidget(m_copiesE, 0, 1);
  copiesGrid->addWidget(m_collateImage, 1, 0);
  copiesGrid->addWidget(m_collateCB, 1, 1);

  // Other
  auto* otherGroup = Named(new QGroupBox(T(214)), "OtherGB");
  auto* otherGrid = new QGridLayout(otherGroup);
  m_printPagesCB = Named(new QComboBox, "PrintPagesCB");
  m_printPagesCB->addItems({T(216), T(217), T(218)});
  m_orderCB = Named(new QComboBox, "OrderCB");
  m_orderCB->addItems({T(220), T(221)});
  m_duplexCB = Named(new QComboBox, "DuplexCB");
  m_duplexCB->addItems({T(223), T(224), T(225), T(226)});
  otherGrid->addWidget(new QLabel(T(215)), 0, 0);
  otherGrid->addWidget(m_printPagesCB, 0, 1);
  otherGrid->addWidget(new QLabel(T(219)), 1, 0);
  otherGrid->addWidget(m_orderCB, 1, 1);
  otherGrid->addWidget(new QLabel(T(222)), 2, 0);
  otherGrid->addWidget(m_duplexCB, 2, 1);

  // Print mode
  auto* modeGroup = Named(new QGroupBox(T(227)), "ScaleGB");
  auto* modeGrid = new QGridLayout(modeGroup);
  m_modeCB = Named(new QComboBox, "ScaleCB");
  m_modeCB->setIconSize(QSize(24, 24));
  const PrintMode modes[] = {PrintMode::pmDefault, PrintMode::pmSplit, PrintMode::pmJoin, PrintMode::pmScale};
  for (int i = 0; i < 4; ++i) m_modeCB->addItem(PrintModeIcon(modes[i]), T(228 + i));
  m_paperL = Named(new QLabel(T(232)), "PaperL");
  m_paperCB = Named(new QComboBox, "PaperCB");
  modeGrid->addWidget(m_modeCB, 0, 0, 1, 2);
  modeGrid->addWidget(m_paperL, 1, 0);
  modeGrid->addWidget(m_paperCB, 1, 1);
  modeGrid->setColumnStretch(1, 1);

  auto* buttons = Named(new QDialogButtonBox, "Buttons");
  auto* ok = buttons->addButton(T(233), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OkB"));
  ok->setDefault(true);
  buttons->addButton(T(234), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CancelB"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(printerGroup, 0, 0, 1, 2);
  grid->addWidget(pagesGroup, 1, 0);
  grid->addWidget(copiesGroup, 1, 1);
  grid->addWidget(otherGroup, 2, 0);
  grid->addWidget(modeGroup, 2, 1);
  grid->addWidget(buttons, 3, 0, 1, 2);

  // The design's 557 x 334 was drawn for a smaller font: keep every group tight.
  for (QGridLayout* inner : {printerGrid, pagesGrid, copiesGrid, otherGrid, modeGrid}) {
    inner->setContentsMargins(8, 4, 8, 4);
    inner->setVerticalSpacing(2);
  }
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(4);

  FillPrinters();
  connect(m_printersCB, &QComboBox::currentIndexChanged, this, &PrintDialog::PrinterChanged);
  connect(properties, &QPushButton::clicked, this, [this] {
    // The print system's own settings of the printer: its paper and orientation.
    const PrinterEntry& entry = m_printers.Current();
    if (entry.isVirtual) return;
    QPrinter printer(QPrinterInfo::printerInfo(entry.name));
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    PrinterEntry changed = entry;
    const QPageLayout layout = printer.pageLayout();
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    changed.paper = PaperName{layout.pageSize().name(), layout.pageSize().windowsId(),
                              QSizeF(std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height()))};
    changed.orientation = layout.orientation() == QPageLayout::Landscape ? PaperOrientation::poLandscape
                                                                         : PaperOrientation::poPortrait;
    m_printers.SetEntry(m_printers.PrinterIndex(), changed);
  });
  connect(m_pagesRB, &QRadioButton::toggled, this, [this](bool on) {
    if (on && !m_pagesE->hasFocus()) m_pagesE->setFocus(Qt::OtherFocusReason);
  });
  m_pagesE->installEventFilter(this);
  connect(m_pagesE, &QLineEdit::textEdited, this, [this] { m_pagesRB->setChecked(true); });
  connect(m_collateCB, &QCheckBox::toggled, this,
          [this](bool on) { m_collateImage->setPixmap(CollatePicture(on)); });
  connect(m_modeCB, &QComboBox::currentIndexChanged, this, &PrintDialog::UpdatePaperVisibility);
  connect(buttons, &QDialogButtonBox::accepted, this, &PrintDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PrintDialog::reject);

  ShowOptions();
}

void PrintDialog::FillPrinters() {
  const QIcon icon = ToolIcon(ToolImage::Print);
  for (const PrinterEntry& entry : m_printers.Printers()) m_printersCB->addItem(icon, entry.name);
  m_printersCB->setCurrentIndex(m_printers.PrinterIndex());
  PrinterChanged(m_printers.PrinterIndex());
}

void PrintDialog::PrinterChanged(int index) {
  m_printers.SetPrinterIndex(index);
  const PrinterEntry& entry = m_printers.Current();
  m_whereL->setText(entry.port);
  const QString paper = m_paperCB->currentText();
  m_paperCB->clear();
  m_paperCB->addItem(T(228));
  for (const PaperName& name : entry.papers) m_paperCB->addItem(name.name, name.code);
  m_paperCB->setCurrentIndex(std::max(0, m_paperCB->findText(paper)));
}

void PrintDialog::ShowOptions() {
  m_copiesE->setValue(std::max(1, m_options.Copies));
  m_collateCB->setChecked(m_options.Collate);
  m_collateImage->setPixmap(CollatePicture(m_options.Collate));
  m_pagesE->setText(m_options.PageNumbers);
  (m_options.PageNumbers.isEmpty() ? m_allRB : m_pagesRB)->setChecked(true);
  m_printPagesCB->setCurrentIndex(static_cast<int>(m_options.PrintPages));
  m_orderCB->setCurrentIndex(m_options.Reverse ? 1 : 0);
  m_duplexCB->setCurrentIndex(static_cast<int>(m_options.Duplex));
  m_modeCB->setCurrentIndex(static_cast<int>(m_options.PrintMode));
  const int paper = m_paperCB->findData(m_options.PrintOnSheet);
  m_paperCB->setCurrentIndex(m_options.PrintOnSheet != 0 && paper >= 0 ? paper : 0);
  UpdatePaperVisibility();
}

void PrintDialog::UpdatePaperVisibility() {
  const auto mode = static_cast<PrintMode>(m_modeCB->currentIndex());
  const bool sheet = mode == PrintMode::pmJoin || mode == PrintMode::pmScale;
  m_paperL->setVisible(sheet);
  m_paperCB->setVisible(sheet);
}

bool PrintDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pagesE && event->type() == QEvent::FocusIn) m_pagesRB->setChecked(true);
  return QDialog::eventFilter(watched, event);
}

void PrintDialog::accept() {
  PrintJobOptions chosen = m_options;
  chosen.Copies = m_copiesE->value();
  chosen.Collate = m_collateCB->isChecked();
  if (m_allRB->isChecked()) {
    chosen.PageNumbers.clear();
  } else if (m_currentRB->isChecked()) {
    chosen.PageNumbers = QString::number(m_currentPage);
  } else {
    chosen.PageNumbers = m_pagesE->text();
  }
  chosen.PrintPages = static_cast<PrintPages>(m_printPagesCB->currentIndex());
  chosen.Reverse = m_orderCB->currentIndex() == 1;
  chosen.Duplex = static_cast<Duplex>(m_duplexCB->currentIndex());
  chosen.PrintMode = static_cast<PrintMode>(m_modeCB->currentIndex());
  chosen.PrintOnSheet = m_paperCB->currentIndex() > 0 ? m_paperCB->currentData().toInt() : 0;

  // A slip in the pages is said here, where it can be mended, rather than
  // after the dialog has gone.
  const PageSelection selection = ParsePageNumbers(chosen.PageNumbers, m_pageCount);
  const bool nothingLeft =
      !selection.error && PagesOnce(selection.pages, chosen.PrintPages, false).empty();
  if (selection.error || nothingLeft) {
    ShowError(this, selection.error ? PageNumbersMessage(*selection.error, m_pageCount)
                                    : PrintResultMessage(PrintResult{PrintResult::Status::kNothingToPrint, {}, 0},
                                                         PrintRequest{{}, {}, {}, chosen}, m_pageCount));
    if (!m_allRB->isChecked()) {
      m_pagesRB->setChecked(true);
      m_pagesE->setFocus(Qt::OtherFocusReason);
      m_pagesE->selectAll();
    }
    return;
  }

  m_outputFile.clear();
  if (m_fileCB->isChecked()) {
    const QString name = ChooseFile(this, T(235), QtFilter(T(236)));
    if (name.isEmpty()) {
      reject();
      return;
    }
    m_outputFile = ChangeExtension(name, T(237));
  }
  m_options = chosen;
  QDialog::accept();
}

void PrintDialog::reject() {
  m_printers.SetPrinterIndex(m_previousPrinter);
  QDialog::reject();
}

}  // namespace report
