#include "report/ui/page_settings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

#include "report/ui/print_messages.h"
#include "report/ui/print_pictures.h"
#include "report/ui/rep_resources.h"

namespace report {

namespace {

QString T(int key) { return RepResources::Text(key); }

QLineEdit* Edit(const char* name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaximumWidth(80);
  return edit;
}

}  // namespace

PageSettingsForm::PageSettingsForm(const PrinterEntry& printer, const PagePaper& page, SizeUnits units,
                                   QWidget* parent)
    : QDialog(parent), m_page(page), m_units(units), m_papers(printer.papers) {
  setObjectName(QStringLiteral("RepPageSettingsForm"));
  setWindowTitle(T(300));
  ShowError = [](QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, RepResources::Text("clError"), text);
  };
  const QString unit = T(units == SizeUnits::kInches ? 318 : 317);
  const auto unitLabel = [&] { return new QLabel(unit); };

  auto* sizeGroup = new QGroupBox(T(301));
  sizeGroup->setObjectName(QStringLiteral("SizeGB"));
  auto* sizeGrid = new QGridLayout(sizeGroup);
  m_paperCB = new QComboBox;
  m_paperCB->setObjectName(QStringLiteral("SizeCB"));
  m_paperCB->addItem(CustomPaperName(), kPaperCustom);
  for (const PaperName& paper : m_papers) m_paperCB->addItem(paper.name, paper.code);
  m_widthE = Edit("WidthE");
  m_heightE = Edit("HeightE");
  sizeGrid->addWidget(m_paperCB, 0, 0, 1, 3);
  sizeGrid->addWidget(new QLabel(T(302)), 1, 0);
  sizeGrid->addWidget(m_widthE, 1, 1);
  sizeGrid->addWidget(unitLabel(), 1, 2);
  sizeGrid->addWidget(new QLabel(T(303)), 2, 0);
  sizeGrid->addWidget(m_heightE, 2, 1);
  sizeGrid->addWidget(unitLabel(), 2, 2);

  auto* orientationGroup = new QGroupBox(T(304));
  orientationGroup->setObjectName(QStringLiteral("OrientationGB"));
  auto* orientationGrid = new QGridLayout(orientationGroup);
  m_portraitRB = new QRadioButton(T(305));
  m_portraitRB->setObjectName(QStringLiteral("PortraitRB"));
  m_landscapeRB = new QRadioButton(T(306));
  m_landscapeRB->setObjectName(QStringLiteral("LandscapeRB"));
  m_orientationImage = new QLabel;
  m_orientationImage->setObjectName(QStringLiteral("OrientationImage"));
  orientationGrid->addWidget(m_portraitRB, 0, 0);
  orientationGrid->addWidget(m_landscapeRB, 1, 0);
  orientationGrid->addWidget(m_orientationImage, 0, 1, 2, 1);

  auto* marginsGroup = new QGroupBox(T(307));
  marginsGroup->setObjectName(QStringLiteral("MarginsGB"));
  auto* marginsGrid = new QGridLayout(marginsGroup);
  m_leftE = Edit("MarginLeftE");
  m_topE = Edit("MarginTopE");
  m_rightE = Edit("MarginRightE");
  m_bottomE = Edit("MarginBottomE");
  const std::pair<int, QLineEdit*> margins[] = {{308, m_leftE}, {309, m_topE}, {310, m_rightE}, {311, m_bottomE}};
  for (int i = 0; i < 4; ++i) {
    marginsGrid->addWidget(new QLabel(T(margins[i].first)), i / 2, (i % 2) * 3);
    marginsGrid->addWidget(margins[i].second, i / 2, (i % 2) * 3 + 1);
    marginsGrid->addWidget(unitLabel(), i / 2, (i % 2) * 3 + 2);
  }

  auto* otherGroup = new QGroupBox(T(312));
  otherGroup->setObjectName(QStringLiteral("OtherGB"));
  auto* otherLayout = new QVBoxLayout(otherGroup);
  m_currentRB = new QRadioButton(T(313));
  m_currentRB->setObjectName(QStringLiteral("ApplyToCurRB"));
  m_allRB = new QRadioButton(T(314));
  m_allRB->setObjectName(QStringLiteral("ApplyToAllRB"));
  otherLayout->addWidget(m_currentRB);
  otherLayout->addWidget(m_allRB);
  // A cost list has one page design: a new paper is meant for all its pages.
  m_allRB->setChecked(true);

  auto* buttons = new QDialogButtonBox;
  auto* ok = buttons->addButton(T(315), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OkB"));
  ok->setDefault(true);
  buttons->addButton(T(316), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CancelB"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(sizeGroup, 0, 0);
  grid->addWidget(orientationGroup, 0, 1);
  grid->addWidget(marginsGroup, 1, 0);
  grid->addWidget(otherGroup, 1, 1);
  grid->addWidget(buttons, 2, 0, 1, 2);

  // The page as it is.
  const bool landscape = page.Orientation == PaperOrientation::poLandscape;
  (landscape ? m_landscapeRB : m_portraitRB)->setChecked(true);
  m_orientationImage->setPixmap(OrientationPicture(page.Orientation));
  const int paper = page.PaperSize == kPaperCustom ? -1 : m_paperCB->findData(page.PaperSize);
  m_paperCB->setCurrentIndex(std::max(paper, 0));
  ShowMm(m_widthE, page.PaperWidth);
  ShowMm(m_heightE, page.PaperHeight);
  ShowMm(m_leftE, page.LeftMargin);
  ShowMm(m_topE, page.TopMargin);
  ShowMm(m_rightE, page.RightMargin);
  ShowMm(m_bottomE, page.BottomMargin);

  connect(m_paperCB, &QComboBox::activated, this, &PageSettingsForm::PaperChosen);
  connect(m_portraitRB, &QRadioButton::toggled, this, &PageSettingsForm::OrientationChanged);
  for (QLineEdit* size : {m_widthE, m_heightE}) {
    connect(size, &QLineEdit::textEdited, this, [this] { m_paperCB->setCurrentIndex(0); });
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &PageSettingsForm::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PageSettingsForm::reject);
}

bool PageSettingsForm::ApplyToAll() const { return m_allRB->isChecked(); }

void PageSettingsForm::ShowMm(QLineEdit* edit, double mm) {
  const double shown = mm / (m_units == SizeUnits::kInches ? 25.4 : 10.0);
  const QString text = QString::number(std::round(shown * 100) / 100, 'g', 10);
  edit->setText(text);
  m_shown[edit] = {text, mm};
}

void PageSettingsForm::PaperChosen(int index) {
  if (index <= 0 || index > m_papers.size()) return;
  const QSizeF size = m_papers[index - 1].sizeMm;
  const bool landscape = m_landscapeRB->isChecked();
  ShowMm(m_widthE, landscape ? size.height() : size.width());
  ShowMm(m_heightE, landscape ? size.width() : size.height());
}

void PageSettingsForm::OrientationChanged() {
  const bool landscape = m_landscapeRB->isChecked();
  m_orientationImage->setPixmap(
      OrientationPicture(landscape ? PaperOrientation::poLandscape : PaperOrientation::poPortrait));
  if (m_paperCB->currentIndex() > 0) {
    PaperChosen(m_paperCB->currentIndex());
    return;
  }
  // A size of one's own turns with the paper.
  const QString width = m_widthE->text();
  const auto shownWidth = m_shown[m_widthE];
  m_widthE->setText(m_heightE->text());
  m_shown[m_widthE] = m_shown[m_heightE];
  m_heightE->setText(width);
  m_shown[m_heightE] = shownWidth;
}

std::optional<double> PageSettingsForm::Mm(QLineEdit* edit) {
  const auto shown = m_shown.find(edit);
  if (shown != m_shown.end() && shown->second.first == edit->text()) return shown->second.second;
  QString text = edit->text();
  text.remove(QLatin1Char(' '));
  text.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (!ok || !std::isfinite(value)) {
    ShowError(this, NotANumberMessage(edit->text()));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return std::nullopt;
  }
  return value * (m_units == SizeUnits::kInches ? 25.4 : 10.0);
}

void PageSettingsForm::accept() {
  QLineEdit* const edits[] = {m_widthE, m_heightE, m_leftE, m_topE, m_rightE, m_bottomE};
  double mm[6];
  for (int i = 0; i < 6; ++i) {
    const std::optional<double> value = Mm(edits[i]);
    if (!value) return;
    mm[i] = *value;
  }
  const auto [width, height, left, top, right, bottom] = mm;
  // A page no larger than a dot, or margins that eat it, could not be laid out.
  QString problem;
  if (width < 1 || height < 1) {
    problem = QStringLiteral("The width and height of the paper must be greater than zero");
  } else if (left < 0 || top < 0 || right < 0 || bottom < 0) {
    problem = QStringLiteral("The margins cannot be less than zero");
  } else if (left + right >= width || top + bottom >= height) {
    problem = QStringLiteral("The margins leave no room on the page");
  }
  if (!problem.isEmpty()) {
    ShowError(this, problem);
    return;
  }
  m_page.Orientation = m_landscapeRB->isChecked() ? PaperOrientation::poLandscape : PaperOrientation::poPortrait;
  m_page.PaperWidth = width;
  m_page.PaperHeight = height;
  m_page.PaperSize = m_paperCB->currentData().toInt();
  m_page.LeftMargin = left;
  m_page.TopMargin = top;
  m_page.RightMargin = right;
  m_page.BottomMargin = bottom;
  QDialog::accept();
}

}  // namespace report
