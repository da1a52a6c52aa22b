#include "main_form.h"

#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <array>
#include <optional>

#include "application.h"
#include "centre_on_screen.h"
#include "cost_lists.h"
#include "data_safety.h"
#include "help_context.h"
#include "loads/calculator.h"
#include "loads/field_link.h"
#include "program_folder.h"
#include "prompter.h"
#include "raster/random.h"
#include "regional/regional_qt.h"
#include "resources.h"
#include "slideshow/diorama.h"
#include "slideshow/slideshow_controller.h"
#include "ui_main_form.h"

namespace app {

namespace {

MainForm* g_mainForm = nullptr;

constexpr int kToolBarHeight = 29;     // pixels
constexpr int kToolButtonWidth = 145;  // pixels
constexpr int kStatusBarHeight = 19;   // pixels
constexpr std::array kStatusPanelWidths{150, 150, 100, 568};  // pixels
constexpr int kGridColumnWidth = 400;  // pixels, wider than the grid: it scrolls sideways

std::optional<QString> g_pictureFolderArgument;

// The slideshow's errors go to the program's standard error box.
class SlideshowBoxes : public slideshow::SlideshowDialogs {
 public:
  void Error(const QString& text) override { ShowStandardError(text); }
};

// The small picture the window keeps for the slideshow's background: a
// dark, finely woven cloth, tiled behind the pictures.
QImage StoredBackgroundPicture() {
  constexpr int kSide = 16;  // pixels
  QImage cloth(kSide, kSide, QImage::Format_RGB32);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool warp = ((x / 4) + (y / 4)) % 2 == 0;
      const int shade = (warp ? 40 : 28) + ((warp ? y : x) % 4 == 0 ? -8 : 0);
      cloth.setPixel(x, y, qRgb(shade, shade, shade + 6));
    }
  }
  return cloth;
}

// The picture show's settings as the window stores them.
void ApplyStoredSettings(slideshow::Diorama& diorama) {
  diorama.SetStyle(0);
  diorama.SetStep(3);
  diorama.SetDelay(30);
  diorama.SetExactTiming(true);
  diorama.SetThreaded(true);
  diorama.SetManual(false);
  diorama.SetOverDraw(true);
  diorama.SetCenter(true);
  diorama.SetStretch(false);
  diorama.SetProportional(true);
  diorama.SetBgMode(slideshow::BackgroundMode::bmTiled);
  diorama.SetFrameWidth(1);
  diorama.SetFrameColor(QColor(0x80, 0x80, 0x80));  // the classic grey
  diorama.SetColor(QColor(Qt::black));
  diorama.BgPicture().SetImage(StoredBackgroundPicture());
  diorama.SetAlign(slideshow::Align::alNone);
}

void ShowMessages(const std::vector<loads::Message>& messages) {
  for (const loads::Message& m : messages) {
    const QString text = QString::fromStdString(m.text);
    switch (m.kind) {
      case loads::MessageKind::Plain:
        Prompts().Message(text);
        break;
      case loads::MessageKind::Error:
        ShowStandardError(text);
        break;
      case loads::MessageKind::ConfirmBadData:
        // The answer changes nothing: the box only tells the data were wrong.
        Prompts().Question(text, QString::fromStdString(m.caption));
        break;
    }
  }
}

}  // namespace

MainForm* MainFormWindow() { return g_mainForm; }

QString PictureFolderArgument() {
  if (g_pictureFolderArgument) return *g_pictureFolderArgument;
  const QStringList arguments = QCoreApplication::arguments();
  return arguments.size() >= 2 ? arguments.at(1) : QString();
}

void SetPictureFolderArgument(const QString& folder) { g_pictureFolderArgument = folder; }

MainForm::MainForm(const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::MainForm>()) {
  EnsureResources();
  if (g_mainForm == nullptr) g_mainForm = this;
  m_ui->setupUi(this);

  const QDir folder(dataFolder);
  m_pistolTable = new loads::LoadTable(folder.filePath(QString::fromLatin1(loads::kPistolFileName)),
                                       loads::SampleSet::Pistol, this);
  m_rifleTable = new loads::LoadTable(folder.filePath(QString::fromLatin1(loads::kRifleFileName)),
                                      loads::SampleSet::Rifle, this);
  m_pistolTable->SetRegional(UserRegional());
  m_rifleTable->SetRegional(UserRegional());
  m_pistolSource = new loads::DataSource(m_pistolTable, this);
  m_rifleSource = new loads::DataSource(m_rifleTable, this);
  m_activeSource = m_pistolSource;
  m_dataSafety = new DataSafety(this, m_pistolTable, m_rifleTable);
  m_costLists = new CostLists(*this);

  SetUpLook();
  SetUpStatusBar();
  SetUpBinding();
  SetUpSlideshow();
  WireCommands();
  WireServices();
  resize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);

  OpenDefaultMusic();
  FormCreate();
}

MainForm::~MainForm() {
  // Before the widgets it drives, which the window's children take with them.
  m_slideshow.reset();
  FormDestroy();
  if (g_mainForm == this) g_mainForm = nullptr;
}

QWidget* MainForm::PictureArea() const { return m_ui->Diorama; }

QLabel* MainForm::StatusPanel(int index) const {
  return statusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(index));
}

regional::Regional MainForm::UserRegional() const { return regional::FromQLocale(QLocale()); }

void MainForm::SetUpLook() {
  m_ui->ToolBar1->setFixedHeight(kToolBarHeight);
  m_ui->ToolBar1->setIconSize(QSize(20, 20));
  m_ui->ToolBar1->setContentsMargins(0, 0, 0, 0);
  for (QAction* action : m_ui->ToolBar1->actions()) {
    QWidget* button = m_ui->ToolBar1->widgetForAction(action);
    if (button == nullptr) continue;
    button->setFixedWidth(kToolButtonWidth);
    // F1 over a tool button finds the help context of its action.
    button->setProperty(kHelpContextProperty, action->property(kHelpContextProperty));
  }

  QFont gridFont(QStringLiteral("System"));
  gridFont.setStyleHint(QFont::System);
  m_ui->DBGrid1->setFont(gridFont);
  m_ui->DBGrid1->horizontalHeader()->setFont(font());  // titles in the window's Tahoma
  m_ui->DBGrid1->SetColumns({{QStringLiteral("tipologia"), QStringLiteral(" Tipologia")}});

  m_ui->DBNavigator1->SetVisibleButtons({loads::NavButton::Prior, loads::NavButton::Next,
                                         loads::NavButton::Insert, loads::NavButton::Delete,
                                         loads::NavButton::Edit});
  m_ui->DBNavigator1->SetHints({QStringLiteral("Primo record"), QStringLiteral("Precedente"),
                                QStringLiteral("Successivo"), QStringLiteral("ultimo record"),
                                QStringLiteral("Aggiungi un tipo"), QStringLiteral("CAncella un Tipo"),
                                QStringLiteral("Edita i Dati"), QStringLiteral("Post edit"),
                                QStringLiteral("Cancel edit"), QStringLiteral("Refresh data")});
}

void MainForm::SetUpStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setFixedHeight(kStatusBarHeight);
  bar->setSizeGripEnabled(true);
  for (std::size_t i = 0; i < kStatusPanelWidths.size(); ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (i == 2) panel->setAlignment(Qt::AlignCenter);
    // The last panel takes what the others and the size grip leave, so the
    // bar never makes the window wider than its client width.
    const bool last = i + 1 == kStatusPanelWidths.size();
    if (last) {
      panel->setMinimumWidth(0);
      panel->setMaximumWidth(kStatusPanelWidths[i]);
    } else {
      panel->setFixedWidth(kStatusPanelWidths[i]);
    }
    bar->addWidget(panel, last ? 1 : 0);
  }
}

void MainForm::SetUpBinding() {
  const auto onError = [](const QString& message) { ShowStandardError(message); };
  for (QLineEdit* edit : BoundEdits()) {
    // The boxes are named after their fields.
    auto* link = new loads::FieldLink(edit, edit->objectName(), m_pistolSource);
    link->SetErrorHandler(onError);
  }
  m_ui->DBNavigator1->SetErrorHandler(onError);
  m_ui->DBNavigator1->SetConfirmDelete([](const QString& q) { return Prompts().Confirm(q); });
  m_ui->DBGrid1->SetErrorHandler(onError);
  m_ui->DBNavigator1->SetDataSource(m_pistolSource);
  m_ui->DBGrid1->SetDataSource(m_pistolSource);
  m_ui->DBGrid1->setColumnWidth(0, kGridColumnWidth);
}

void MainForm::SetUpSlideshow() {
  ApplyStoredSettings(*m_ui->Diorama);
  slideshow::SlideshowControls c;
  c.diorama = m_ui->Diorama;
  c.lblStyleNumber = m_ui->lblStyleNumber;
  c.cbStyle = m_ui->cbStyle;
  c.rbStyleSequential = m_ui->rbStyleSequential;
  c.rbStyleRandom = m_ui->rbStyleRandom;
  c.rbStyleDisabled = m_ui->rbStyleDisabled;
  c.rbProgressAuto = m_ui->rbProgressAuto;
  c.rbProgressManual = m_ui->rbProgressManual;
  c.lblProgressStep = m_ui->lblProgressStep;
  c.edtProgressStep = m_ui->edtProgressStep;
  c.lblProgressDelay = m_ui->lblProgressDelay;
  c.edtProgressDelay = m_ui->edtProgressDelay;
  c.ckExactTiming = m_ui->ckExactTiming;
  c.ckThreaded = m_ui->ckThreaded;
  c.tbProgress = m_ui->tbProgress;
  c.ckCenter = m_ui->ckCenter;
  c.ckStretch = m_ui->ckStretch;
  c.ckProportional = m_ui->ckProportional;
  c.cbBackgroundMode = m_ui->cbBackgroundMode;
  c.btnChangeBackground = m_ui->btnChangeBackground;
  c.edtFrameWidth = m_ui->edtFrameWidth;
  c.btnChangeFrameColor = m_ui->btnChangeFrameColor;
  c.btnChangePath = m_ui->btnChangePath;
  c.ckOverDraw = m_ui->ckOverDraw;
  c.lblDisplayIntervalValue = m_ui->lblDisplayIntervalValue;
  c.tbDisplayInterval = m_ui->tbDisplayInterval;
  for (std::size_t i = 0; i < c.statusPanels.size(); ++i) c.statusPanels[i] = StatusPanel(static_cast<int>(i));
  c.statusBar = statusBar();
  m_slideshowDialogs = std::make_unique<SlideshowBoxes>();
  m_slideshow = std::make_unique<slideshow::SlideshowController>(c, *m_slideshowDialogs, m_imageFiles, this);
  // "Ferma il Diorama" ends a running transition at once; the show goes on
  // after the display interval.
  connect(m_ui->StopTool, &QAction::triggered, m_slideshow.get(), &slideshow::SlideshowController::DioramaStop);
}

// The eight cost boxes in the calculator's order, then Minima and Massima.
std::array<QLineEdit*, 10> MainForm::BoundEdits() const {
  return {m_ui->copalle, m_ui->Palle, m_ui->coinn,  m_ui->Inneschi, m_ui->CoPol,
          m_ui->Polvere, m_ui->CoBoss, m_ui->Bossoli, m_ui->Minima, m_ui->Massima};
}

// Commands whose subsystems come with their own windows (reports,
// slideshow) are connected where those are built; the auxiliary services in
// WireServices.
void MainForm::WireCommands() {
  connect(m_ui->Bitesci, &QPushButton::clicked, this, &MainForm::BitesciClick);
  connect(m_ui->Esci1, &QAction::triggered, this, &MainForm::BitesciClick);
  connect(m_ui->BitCalcola, &QPushButton::clicked, this, &MainForm::BitCalcolaClick);
  connect(m_ui->Bitconverti, &QPushButton::clicked, this, &MainForm::BitconvertiClick);
  connect(m_ui->BitModifica, &QPushButton::clicked, this, &MainForm::BitModificaClick);
  connect(m_ui->BitSalva, &QPushButton::clicked, this, &MainForm::BitSalvaClick);
  connect(m_ui->EsportaCSV1, &QAction::triggered, this, &MainForm::EsportaCSV1Click);
  connect(m_ui->ImportaCSV1, &QAction::triggered, this, &MainForm::ImportaCSV1Click);
  connect(m_ui->RipristinaCopia1, &QAction::triggered, this, &MainForm::RipristinaCopia1Click);
  connect(m_ui->RBtabella1, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) RBtabella1Click();
  });
  connect(m_ui->RBtabella2, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) RBtabella2Click();
  });
}

void MainForm::FormCreate() {
  // 1. The slideshow's picture and style choices draw from it.
  raster::Randomize();

  // 2. A table that cannot be opened is reported; the window still comes up.
  if (const loads::Status opened = m_pistolTable->Open(); !opened) {
    ShowStandardError(opened.Message());
  }

  // 3. The help file in use is the one beside the program.
  SetHelpFile(BesideProgram(QStringLiteral("versanto713.qch")));

  // 4.
  m_imageFiles.clear();

  // 5. Effect list, settings controls from the picture show, picture
  //    folder, slideshow timer.
  const QString folder = PictureFolderArgument();
  m_slideshow->SetUp(folder.isEmpty() ? BesideProgram(QStringLiteral("Photos")) : folder);
}

void MainForm::FormDestroy() { m_imageFiles.clear(); }

void MainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_centred) return;
  m_centred = true;
  CentreOnScreen(*this);
}

void MainForm::BitesciClick() {
  if (!Prompts().Question(QStringLiteral("Sicuro di voler uscire ? !"),
                          QStringLiteral("Termina il Programma"))) {
    return;
  }
  close();
}

// A change still being edited is written before the program ends; if it
// cannot be, the user sees why and the window stays, so nothing is lost.
bool MainForm::PostPendingEdits() {
  for (loads::LoadTable* table : {m_pistolTable, m_rifleTable}) {
    if (!table->Editing()) continue;
    if (const loads::Status posted = table->Post(); !posted) {
      ShowStandardError(posted.Message());
      return false;
    }
  }
  return true;
}

void MainForm::closeEvent(QCloseEvent* event) {
  // The backup comes after the edits are written, so that it holds them.
  if (!PostPendingEdits() || !m_dataSafety->BackUpAtExit()) {
    event->ignore();
    return;
  }
  event->accept();
  // Windows of the slideshow may still be open on their own; the program ends.
  QCoreApplication::quit();
}

void MainForm::BitCalcolaClick() {
  loads::CostInputs inputs;
  const auto boxes = BoundEdits();
  for (std::size_t i = 0; i < inputs.size(); ++i) inputs[i] = boxes[i]->text().toStdString();

  const loads::Calculation result = loads::Calculate(inputs, UserRegional());
  ShowMessages(result.messages);
  if (!result.labels) return;
  const std::array<QLabel*, loads::kCostLabelCount> labels{
      m_ui->Lblresult1, m_ui->Lblresult2, m_ui->lblresult3, m_ui->lblresult4,
      m_ui->risultatoCent, m_ui->risultatoLire, m_ui->euro50, m_ui->lire50};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    labels[i]->setText(QString::fromStdString((*result.labels)[i]));
  }
}

void MainForm::BitconvertiClick() {
  const loads::Conversion result =
      loads::ConvertPoundPrice(m_ui->Editlibbre1->text().toStdString(), UserRegional());
  ShowMessages(result.messages);
  if (result.output) m_ui->Editchili2->setText(QString::fromStdString(*result.output));
}

void MainForm::RBtabella1Click() { ChooseTable(m_pistolSource, m_ui->RBtabella1, m_ui->RBtabella2); }

void MainForm::RBtabella2Click() { ChooseTable(m_rifleSource, m_ui->RBtabella2, m_ui->RBtabella1); }

void MainForm::ChooseTable(loads::DataSource* source, QRadioButton* chosen, QRadioButton* other) {
  m_activeSource = source;
  m_ui->DBNavigator1->SetDataSource(source);
  m_ui->DBGrid1->SetDataSource(source);
  m_ui->DBGrid1->setColumnWidth(0, kGridColumnWidth);

  QFont chosenFont = chosen->font();
  chosenFont.setPointSize(10);
  chosen->setFont(chosenFont);
  QFont otherFont = other->font();
  otherFont.setPointSize(6);
  other->setFont(otherFont);
  chosen->setStyleSheet(QStringLiteral("color: red; background-color: yellow;"));
  other->setStyleSheet(QStringLiteral("color: black; background-color: yellow;"));

  for (QLineEdit* edit : BoundEdits()) loads::FieldLink::Of(edit)->SetDataSource(source);

  // The other table is left as it is, a pending change included.
  if (const loads::Status opened = source->DataSet()->Open(); !opened) {
    ShowStandardError(opened.Message());
  }
}

void MainForm::BitModificaClick() {
  if (const loads::Status edited = m_activeSource->DataSet()->Edit(); !edited) {
    ShowStandardError(edited.Message());
  }
}

void MainForm::EsportaCSV1Click() { m_dataSafety->ExportTable(*m_activeSource->DataSet()); }

void MainForm::ImportaCSV1Click() { m_dataSafety->ImportIntoTable(*m_activeSource->DataSet()); }

void MainForm::RipristinaCopia1Click() { m_dataSafety->RestoreBackup(); }

void MainForm::BitSalvaClick() {
  if (const loads::Status posted = m_activeSource->DataSet()->Post(); !posted) {
    ShowStandardError(posted.Message());
  }
}

}  // namespace app
