#include "report/ui/preview_form.h"

#include "report/ui/preview.h"
#include "report/ui/preview_source.h"
#include "report/ui/rep_resources.h"
#include "report/ui/search_dialog.h"
#include "report/ui/tool_images.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace report {

namespace {

constexpr int kStatusPanelWidth = 200;  // pixels
constexpr int kFirstPagesLaidOut = 50;  // pages entered into the layout as they come
constexpr int kSplitterWidth = 4;       // pixels

// "Page %d of %d" and the like: each "%d" takes the next number.
QString FormatD(QString format, std::initializer_list<int> values) {
  for (int v : values) {
    const qsizetype at = format.indexOf(QLatin1String("%d"));
    if (at < 0) break;
    format.replace(at, 2, QString::number(v));
  }
  return format;
}

// The table keeps filters as "description|pattern|…"; Qt wants
// "description (pattern);;…".
QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    out << (description.contains(u'(') ? description
                                       : description + QStringLiteral(" (") + parts[i + 1] + u')');
  }
  return out.join(QStringLiteral(";;"));
}

QString PreparedReportFilter() {
  return QtFilter(RepResources::Text(140) + u' ' + RepResources::Text(141));
}

}  // namespace

PreviewForm::PreviewForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RepPreviewForm"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowTitle(RepResources::Text(100));
  setFont(QFont(QStringLiteral("Tahoma"), 8));
  setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  m_toolBar = new QToolBar(this);
  m_toolBar->setObjectName(QStringLiteral("ToolBar"));
  m_toolBar->setIconSize(QSize(16, 16));
  m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  m_toolBar->setMovable(false);
  layout->addWidget(m_toolBar);

  m_splitter = new QSplitter(Qt::Horizontal, this);
  m_splitter->setHandleWidth(kSplitterWidth);
  m_splitter->setChildrenCollapsible(false);
  m_leftPanel = new QStackedWidget(m_splitter);
  m_outline = new QTreeWidget(m_leftPanel);
  m_outline->setObjectName(QStringLiteral("OutlineTree"));
  m_outline->setHeaderHidden(true);
  m_thumbnails = new Preview(m_leftPanel);
  m_thumbnails->setObjectName(QStringLiteral("Thumbnails"));
  m_thumbnails->SetThumbnails(true);
  m_leftPanel->addWidget(m_outline);
  m_leftPanel->addWidget(m_thumbnails);
  m_leftPanel->hide();
  m_preview = new Preview(m_splitter);
  m_preview->setObjectName(QStringLiteral("Preview"));
  m_splitter->addWidget(m_leftPanel);
  m_splitter->addWidget(m_preview);
  m_splitter->setStretchFactor(0, 0);
  m_splitter->setStretchFactor(1, 1);
  layout->addWidget(m_splitter, 1);

  m_statusBar = new QStatusBar(this);
  m_statusBar->setSizeGripEnabled(false);
  for (QLabel*& panel : m_status) panel = new QLabel(m_statusBar);
  m_status[0]->setFixedWidth(kStatusPanelWidth);
  m_statusBar->addWidget(m_status[0]);
  m_statusBar->addWidget(m_status[1], 1);
  layout->addWidget(m_statusBar);

  m_lockPanel = new QLabel(this);
  m_lockPanel->setObjectName(QStringLiteral("LockPanel"));
  m_lockPanel->setAlignment(Qt::AlignCenter);
  m_lockPanel->setFrameShape(QFrame::Panel);
  m_lockPanel->setFrameShadow(QFrame::Raised);
  m_lockPanel->setAutoFillBackground(true);
  m_lockPanel->hide();

  BuildToolBar();

  connect(m_preview, &Preview::PageChanged, this, [this](int pageNo) {
    m_pageEdit->setText(QString::number(pageNo));
    if (m_leftPanel->currentWidget() == m_thumbnails && m_thumbnails->PageNo() != pageNo)
      m_thumbnails->SetPageNo(pageNo);
    UpdateStatus();
  });
  connect(m_thumbnails, &Preview::PageChanged, this, [this](int pageNo) {
    if (m_preview->PageNo() != pageNo) m_preview->SetPageNo(pageNo);
  });
  connect(m_preview, &Preview::ZoomChanged, this, &PreviewForm::UpdateZoomCombo);
  connect(m_preview, &Preview::DoubleClicked, this, &PreviewForm::FullScreenClick);
  auto when = [this](const char* name, void (PreviewForm::*command)()) {
    return [this, name, command] {
      QAction* a = Item(QString::fromLatin1(name));
      if (a && a->isVisible() && a->isEnabled()) (this->*command)();
    };
  };
  connect(m_preview, &Preview::PrintKey, this, when("PrintB", &PreviewForm::PrintClick));
  connect(m_preview, &Preview::SaveKey, this, when("SaveB", &PreviewForm::SaveClick));
  connect(m_preview, &Preview::OpenKey, this, when("OpenB", &PreviewForm::OpenClick));
  connect(m_preview, &Preview::FindKey, this, when("FindB", &PreviewForm::FindClick));
  connect(m_preview, &Preview::FindNextKey, this, when("FindB", &PreviewForm::FindNextClick));

  m_preview->viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_preview->viewport(), &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    menu->exec(m_preview->viewport()->mapToGlobal(at));
  });

  auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
  connect(fullScreen, &QShortcut::activated, this, &PreviewForm::FullScreenClick);

  resize(803, 584);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect centred(QPoint(0, 0), size());
    centred.moveCenter(screen->availableGeometry().center());
    move(centred.topLeft());
  }
  m_preview->setFocus();
}

PreviewForm::~PreviewForm() {
  // Children still send signals while QWidget's destructor takes them down
  // (the zoom box's editor reports "editing finished" when it loses focus);
  // by then this is no longer a PreviewForm.
  for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

QAction* PreviewForm::AddButton(const QString& name, int hintKey, int image,
                                void (PreviewForm::*slot)()) {
  auto* action = new QAction(RepResources::Text(hintKey), this);
  action->setObjectName(name);
  action->setToolTip(RepResources::Text(hintKey));
  if (image >= 0) action->setIcon(ToolIcon(static_cast<ToolImage>(image)));
  if (slot) connect(action, &QAction::triggered, this, slot);
  m_toolBar->addAction(action);
  if (QWidget* w = m_toolBar->widgetForAction(action)) w->setObjectName(name);
  m_itemIndex[name] = m_items.size();
  m_items.push_back({name, action, false, true});
  return action;
}

QAction* PreviewForm::AddWidget(const QString& name, int hintKey, QWidget* widget) {
  widget->setObjectName(name);
  widget->setToolTip(RepResources::Text(hintKey));
  QAction* action = m_toolBar->addWidget(widget);
  action->setObjectName(name);
  m_itemIndex[name] = m_items.size();
  m_items.push_back({name, action, false, false});
  return action;
}

void PreviewForm::AddSeparator() {
  m_items.push_back({QString(), m_toolBar->addSeparator(), true, false});
}

void PreviewForm::BuildToolBar() {
  using TI = ToolImage;
  auto img = [](TI t) { return static_cast<int>(t); };
  AddButton(QStringLiteral("PrintB"), 101, img(TI::Print), &PreviewForm::PrintClick);
  AddButton(QStringLiteral("OpenB"), 102, img(TI::Open), &PreviewForm::OpenClick);
  AddButton(QStringLiteral("SaveB"), 103, img(TI::Save), &PreviewForm::SaveClick);
  // No export formats are registered: these stay hidden and do nothing.
  AddButton(QStringLiteral("ExportB"), 104, img(TI::Export), nullptr);
  AddButton(QStringLiteral("PdfB"), 105, img(TI::Pdf), nullptr);
  AddButton(QStringLiteral("EmailB"), 106, img(TI::Email), nullptr);
  AddButton(QStringLiteral("FindB"), 107, img(TI::Find), &PreviewForm::FindClick);
  AddSeparator();
  AddButton(QStringLiteral("ZoomPlusB"), 108, img(TI::ZoomIn), nullptr);
  connect(Item(QStringLiteral("ZoomPlusB")), &QAction::triggered, m_preview, &Preview::ZoomIn);

  m_zoomCombo = new QComboBox(this);
  m_zoomCombo->setEditable(true);
  m_zoomCombo->setInsertPolicy(QComboBox::NoInsert);
  for (int key = 130; key <= 137; ++key) m_zoomCombo->addItem(RepResources::Text(key));
  m_zoomCombo->setMinimumContentsLength(8);
  AddWidget(QStringLiteral("ZoomCB"), 109, m_zoomCombo);
  connect(m_zoomCombo, &QComboBox::activated, this, &PreviewForm::ZoomComboActivated);
  connect(m_zoomCombo->lineEdit(), &QLineEdit::returnPressed, this,
          &PreviewForm::ZoomComboEntered);

  AddButton(QStringLiteral("ZoomMinusB"), 110, img(TI::ZoomOut), nullptr);
  connect(Item(QStringLiteral("ZoomMinusB")), &QAction::triggered, m_preview, &Preview::ZoomOut);
  AddButton(QStringLiteral("FullScreenBtn"), 111, img(TI::FullScreen),
            &PreviewForm::FullScreenClick);
  AddSeparator();
  AddButton(QStringLiteral("OutlineB"), 112, img(TI::Outline), &PreviewForm::OutlineClick);
  AddButton(QStringLiteral("ThumbB"), 113, img(TI::Thumbnails), &PreviewForm::ThumbClick);
  AddButton(QStringLiteral("PageSettingsB"), 114, img(TI::PageSettings),
            &PreviewForm::PageSettingsClick);
  // The template editor is not part of the program; the button is hidden
  // rather than shown doing nothing.
  AddButton(QStringLiteral("DesignerB"), 115, img(TI::Edit), nullptr);
  AddSeparator();
  AddButton(QStringLiteral("FirstB"), 116, img(TI::First), nullptr);
  connect(Item(QStringLiteral("FirstB")), &QAction::triggered, m_preview, &Preview::First);
  AddButton(QStringLiteral("PriorB"), 117, img(TI::Prior), nullptr);
  connect(Item(QStringLiteral("PriorB")), &QAction::triggered, m_preview, &Preview::Prior);
  m_pageEdit = new QLineEdit(this);
  m_pageEdit->setFixedWidth(48);
  m_pageEdit->setAlignment(Qt::AlignCenter);
  AddWidget(QStringLiteral("PageE"), 118, m_pageEdit);
  connect(m_pageEdit, &QLineEdit::returnPressed, this, &PreviewForm::PageEditEntered);
  AddButton(QStringLiteral("NextB"), 119, img(TI::Next), nullptr);
  connect(Item(QStringLiteral("NextB")), &QAction::triggered, m_preview, &Preview::Next);
  AddButton(QStringLiteral("LastB"), 120, img(TI::Last), nullptr);
  connect(Item(QStringLiteral("LastB")), &QAction::triggered, m_preview, &Preview::Last);
  QAction* cancel = AddButton(QStringLiteral("CancelB"), 121, -1, &PreviewForm::CancelClick);
  cancel->setToolTip(QString());  // a caption, not a hint
  if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(cancel)))
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

QAction* PreviewForm::Item(const QString& name) const {
  const auto found = m_itemIndex.find(name);
  return found == m_itemIndex.end() ? nullptr : m_items[found->second].action;
}

QWidget* PreviewForm::ItemWidget(const QString& name) const {
  QAction* action = Item(name);
  return action ? m_toolBar->widgetForAction(action) : nullptr;
}

QStringList PreviewForm::VisibleItems() const {
  QStringList names;
  for (const ToolItem& item : m_items)
    if (!item.separator && item.action->isVisible()) names << item.name;
  return names;
}

void PreviewForm::Init(PreviewSource* source, const PreviewWindowOptions& options) {
  m_source = source;
  m_options = options;
  ApplyButtons();
  if (options.showCaptions) m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  if (options.maximized) setWindowState(windowState() | Qt::WindowMaximized);
  m_preview->SetSource(source);
  m_thumbnails->SetSource(source);
  m_preview->SetZoom(options.zoom);
  if (options.zoomMode != ZoomMode::zmDefault) m_preview->SetZoomMode(options.zoomMode);
  UpdateZoomCombo(m_preview->Zoom());
  ShowLeftPanel(options.thumbnailVisible ? 2 : options.outlineVisible ? 1 : 0);
  m_preview->SetPageNo(1);
  m_pageEdit->setText(QString::number(m_preview->PageNo()));
  UpdateCommands();
  UpdateStatus();
}

void PreviewForm::ApplyButtons() {
  const int b = m_options.buttons;
  const bool zoom = b & pbZoom;
  const bool navigator = b & pbNavigator;
  // No export formats exist in the program.
  constexpr bool kExports = false;
  const std::pair<const char*, bool> visible[] = {
      {"PrintB", b & pbPrint},
      {"OpenB", b & pbLoad},
      {"SaveB", b & pbSave},
      {"ExportB", (b & pbExport) && kExports},
      {"PdfB", (b & pbExportQuick) && kExports},
      {"EmailB", (b & pbExportQuick) && !(b & pbNoEmail) && kExports},
      {"FindB", b & pbFind},
      {"ZoomPlusB", zoom},
      {"ZoomCB", zoom},
      {"ZoomMinusB", zoom},
      {"FullScreenBtn", zoom && !(b & pbNoFullScreen)},
      {"OutlineB", b & pbOutline},
      {"ThumbB", b & pbOutline},
      {"PageSettingsB", b & pbPageSetup},
      {"DesignerB", false},
      {"FirstB", navigator},
      {"PriorB", navigator},
      {"PageE", navigator},
      {"NextB", navigator},
      {"LastB", navigator},
      {"CancelB", !(b & pbNoClose)},
  };
  for (const auto& [name, on] : visible) Item(QString::fromLatin1(name))->setVisible(on);
}

std::unique_ptr<QMenu> PreviewForm::BuildContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  int separators = 0;
  for (const ToolItem& item : m_items) {
    if (item.separator) {
      if (++separators == 2) break;
      menu->addSeparator();
      continue;
    }
    if (!item.button || !item.action->isVisible() || item.action->toolTip().isEmpty()) continue;
    menu->addAction(item.action);
  }
  return menu;
}

void PreviewForm::UpdateCommands() {
  const bool idle = !m_running && !m_locked;
  for (const char* name : {"OpenB", "SaveB", "ExportB", "PdfB", "EmailB", "FindB", "DesignerB"})
    Item(QString::fromLatin1(name))->setEnabled(idle);
  Item(QStringLiteral("PrintB"))->setEnabled(idle && m_print);
  Item(QStringLiteral("PageSettingsB"))->setEnabled(idle && m_pageSettings);
  Item(QStringLiteral("DesignerB"))->setEnabled(idle && m_options.allowEdit);
  Item(QStringLiteral("CancelB"))->setText(RepResources::Text(m_running ? 122 : 121));
}

void PreviewForm::UpdateStatus() {
  const int count = m_preview->PageCount();
  m_status[0]->setText(count > 0 ? FormatD(RepResources::Text("clPageOf"),
                                           {m_preview->PageNo(), count})
                                 : QString());
}

QString PreviewForm::StatusText(int panel) const {
  return panel >= 0 && panel < 2 ? m_status[panel]->text() : QString();
}

void PreviewForm::UpdateZoomCombo(double zoom) {
  m_zoomCombo->setEditText(ZoomText(zoom));
}

void PreviewForm::ZoomComboActivated(int index) {
  if (index == 6) {
    m_preview->SetZoomMode(ZoomMode::zmPageWidth);
  } else if (index == 7) {
    m_preview->SetZoomMode(ZoomMode::zmWholePage);
  } else {
    double zoom = 0;
    if (ParseZoomText(m_zoomCombo->itemText(index), zoom)) m_preview->SetZoom(zoom);
  }
  UpdateZoomCombo(m_preview->Zoom());
  m_preview->setFocus();
}

void PreviewForm::ZoomComboEntered() {
  const QString text = m_zoomCombo->currentText();
  const int named = m_zoomCombo->findText(text, Qt::MatchFixedString);
  if (named == 6 || named == 7) {
    ZoomComboActivated(named);
    return;
  }
  double zoom = 0;
  if (ParseZoomText(text, zoom)) m_preview->SetZoom(zoom);
  // A text that is no number leaves the zoom; the box shows it again.
  UpdateZoomCombo(m_preview->Zoom());
}

void PreviewForm::PageEditEntered() {
  bool ok = false;
  const int pageNo = m_pageEdit->text().trimmed().toInt(&ok);
  if (!ok) {
    const QString bad = m_pageEdit->text();
    m_pageEdit->setText(QString::number(m_preview->PageNo()));
    ShowError(QStringLiteral("'%1' is not a valid integer value").arg(bad));
    return;
  }
  m_preview->SetPageNo(pageNo);
  m_pageEdit->setText(QString::number(m_preview->PageNo()));
  m_preview->setFocus();
}

void PreviewForm::ShowLeftPanel(int which) {
  if (which == 0) {
    m_leftPanel->hide();
    return;
  }
  m_leftPanel->setCurrentWidget(which == 1 ? static_cast<QWidget*>(m_outline) : m_thumbnails);
  m_leftPanel->show();
  const int total = m_splitter->width();
  const int panel = std::max(1, m_options.outlineWidth);
  m_splitter->setSizes({panel, std::max(1, total - panel - kSplitterWidth)});
  if (which == 2) {
    m_thumbnails->UpdatePages();
    m_thumbnails->SetPageNo(m_preview->PageNo());
  }
}

void PreviewForm::OutlineClick() {
  const bool shown = m_leftPanel->isVisible() && m_leftPanel->currentWidget() == m_outline;
  ShowLeftPanel(shown ? 0 : 1);
}

void PreviewForm::ThumbClick() {
  const bool shown = m_leftPanel->isVisible() && m_leftPanel->currentWidget() == m_thumbnails;
  ShowLeftPanel(shown ? 0 : 2);
}

void PreviewForm::SetPrintHandler(std::function<void()> handler) {
  m_print = std::move(handler);
  UpdateCommands();
}

void PreviewForm::SetPageSettingsHandler(std::function<void()> handler) {
  m_pageSettings = std::move(handler);
  UpdateCommands();
}

void PreviewForm::PrintClick() {
  if (m_running || m_locked || !m_print) return;
  m_print();
}

void PreviewForm::PageSettingsClick() {
  if (m_running || m_locked || !m_pageSettings) return;
  // A rebuild for all pages replaces every page: come back to the same page
  // and spot where the new pages allow it.
  const int pageNo = m_preview->PageNo();
  const QPoint scroll = m_preview->ScrollPosition();
  m_pageSettings();
  m_preview->UpdatePages();
  m_preview->SetPageNo(pageNo);
  if (m_preview->PageNo() == pageNo) m_preview->SetScrollPosition(scroll);
  m_pageEdit->setText(QString::number(m_preview->PageNo()));
  UpdateStatus();
}

void PreviewForm::FindClick() {
  if (m_running || m_locked) return;
  SearchDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  m_preview->Find(dialog.Text(), dialog.CaseSensitive(), dialog.FromBeginning());
}

void PreviewForm::FindNextClick() {
  if (m_running || m_locked) return;
  m_preview->FindNext();
}

QString PreviewForm::WithPreparedReportExtension(const QString& fileName) {
  const QString extension = RepResources::Text(142);  // ".vpr"
  const QFileInfo info(fileName);
  const QString suffix = info.suffix();
  if (suffix.isEmpty()) return fileName + extension;
  return fileName.left(fileName.size() - suffix.size() - 1) + extension;
}

void PreviewForm::OpenClick() {
  if (m_running || m_locked || !m_source) return;
  const QString name = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                    PreparedReportFilter());
  if (!name.isEmpty()) OpenFile(name);
}

void PreviewForm::SaveClick() {
  if (m_running || m_locked || !m_source) return;
  const QString name = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                    PreparedReportFilter());
  if (!name.isEmpty()) SaveFile(name);
}

bool PreviewForm::OpenFile(const QString& fileName) {
  if (!m_source || m_running || m_locked) return false;
  SetLocked(true, RepResources::Text(144));
  const QString error = m_source->LoadFromFile(fileName);
  SetLocked(false, QString());
  m_preview->SetSource(m_source);
  if (m_leftPanel->currentWidget() == m_thumbnails) m_thumbnails->SetSource(m_source);
  m_preview->SetPageNo(1);
  m_pageEdit->setText(QString::number(m_preview->PageNo()));
  UpdateStatus();
  const QString name = m_source->ReportName();
  setWindowTitle(name.isEmpty() ? RepResources::Text(100) : name);
  if (!error.isEmpty()) {
    ShowError(error);
    return false;
  }
  return true;
}

bool PreviewForm::SaveFile(const QString& fileName) {
  if (!m_source || m_running || m_locked) return false;
  SetLocked(true, RepResources::Text(143));
  const QString error = m_source->SaveToFile(WithPreparedReportExtension(fileName));
  SetLocked(false, QString());
  if (!error.isEmpty()) {
    ShowError(error);
    return false;
  }
  return true;
}

void PreviewForm::SetLocked(bool locked, const QString& text) {
  m_locked = locked;
  m_preview->setEnabled(!locked);
  if (locked) {
    m_lockPanel->setText(text);
    m_lockPanel->resize(m_lockPanel->sizeHint() + QSize(48, 24));
    m_lockPanel->move(rect().center() - m_lockPanel->rect().center());
    m_lockPanel->show();
    m_lockPanel->raise();
    // Painted before the file work blocks the loop.
    m_lockPanel->repaint();
  } else {
    m_lockPanel->hide();
  }
  UpdateCommands();
}

void PreviewForm::ShowError(const QString& text) {
  if (m_error) {
    m_error(text);
    return;
  }
  QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), text);
}

void PreviewForm::BuildStarted() {
  m_running = true;
  m_preview->ClearFind();
  m_preview->UpdatePages();
  m_thumbnails->UpdatePages();
  m_statusEvery = 1;
  UpdateCommands();
  UpdateStatus();
}

void PreviewForm::PageAdded(int index) {
  bool refresh = index < kFirstPagesLaidOut;
  if (index == 0) {
    m_firstPageTimer.start();
  } else if (index == 1) {
    // How long one page takes decides how often the window catches up.
    const qint64 ms = m_firstPageTimer.elapsed();
    m_statusEvery = ms <= 4 ? 50 : ms > 9 ? 5 : 20;
  } else if (index >= kFirstPagesLaidOut && (index + 1) % m_statusEvery == 0) {
    refresh = true;
  }
  if (refresh) {
    m_preview->UpdatePages();
    if (m_leftPanel->isVisible() && m_leftPanel->currentWidget() == m_thumbnails)
      m_thumbnails->UpdatePages();
    if (index == 0) m_preview->SetPageNo(1);
    UpdateStatus();
  }
  QCoreApplication::processEvents();
}

void PreviewForm::BuildFinished() {
  m_running = false;
  m_preview->UpdatePages();
  m_thumbnails->UpdatePages();
  m_status[1]->clear();
  UpdateCommands();
  UpdateStatus();
  if (m_closeAfterBuild) {
    m_closeAfterBuild = false;
    // After the build has returned to the loop, not inside it.
    QTimer::singleShot(0, this, [this] { close(); });
  }
}

void PreviewForm::CancelClick() {
  if (m_running) {
    if (m_cancel) m_cancel();
    return;
  }
  QDialog::done(QDialog::Rejected);
}

void PreviewForm::reject() { CancelClick(); }

void PreviewForm::closeEvent(QCloseEvent* event) {
  if (m_running) {
    // The build runs on this window's loop: the window stays until the
    // build has stopped, then closes by itself.
    event->ignore();
    m_closeAfterBuild = true;
    if (m_cancel) m_cancel();
    return;
  }
  QDialog::closeEvent(event);
}

void PreviewForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    CancelClick();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void PreviewForm::FullScreenClick() {
  if (!m_fullScreen) {
    m_savedFlags = windowFlags();
    m_savedState = windowState();
    m_savedGeometry = geometry();
    m_toolBar->hide();
    m_statusBar->hide();
    setWindowFlags(m_savedFlags | Qt::FramelessWindowHint);
    m_fullScreen = true;
    showMaximized();
  } else {
    setWindowFlags(m_savedFlags);
    m_toolBar->show();
    m_statusBar->show();
    m_fullScreen = false;
    if (m_savedState & Qt::WindowMaximized) {
      showMaximized();
    } else {
      showNormal();
      setGeometry(m_savedGeometry);
    }
  }
  m_preview->setFocus();
}

void PreviewForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
    return;
  // A minimized modal preview minimizes the whole program with it.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible() && w->isWindow() && !w->isMinimized()) w->showMinimized();
}

}  // namespace report
