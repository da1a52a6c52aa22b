#pragma once

// The preview window: tool bar, page view (with the outline or thumbnail
// panel at its left) and a two-panel status bar. A build feeds it through
// BuildStarted, PageAdded and BuildFinished and runs inside its event loop.

#include "report/ui/page_layout.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QRect>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QTreeWidget;

namespace report {

class Preview;
class PreviewSource;

// Bits of the Buttons option, in their stored order.
enum PreviewButton : int {
  pbPrint = 1 << 0,
  pbLoad = 1 << 1,
  pbSave = 1 << 2,
  pbExport = 1 << 3,
  pbZoom = 1 << 4,
  pbFind = 1 << 5,
  pbOutline = 1 << 6,
  pbPageSetup = 1 << 7,
  pbTools = 1 << 8,
  pbEdit = 1 << 9,
  pbNavigator = 1 << 10,
  pbExportQuick = 1 << 11,
  pbNoClose = 1 << 12,
  pbNoFullScreen = 1 << 13,
  pbNoEmail = 1 << 14,
};
inline constexpr int kProgramButtons = 0xFFF;  // pbPrint … pbExportQuick

struct PreviewWindowOptions {
  int buttons = kProgramButtons;
  bool allowEdit = true;
  bool maximized = true;
  bool outlineVisible = false;
  int outlineWidth = 120;  // pixels
  bool thumbnailVisible = false;
  bool showCaptions = false;
  double zoom = 1.0;
  report::ZoomMode zoomMode = ZoomMode::zmDefault;
};

class PreviewForm : public QDialog {
  Q_OBJECT

 public:
  explicit PreviewForm(QWidget* parent = nullptr);
  ~PreviewForm() override;

  // Applies the options and shows page 1; call before showing.
  void Init(PreviewSource* source, const PreviewWindowOptions& options);

  Preview* PreviewView() const { return m_preview; }
  Preview* ThumbnailView() const { return m_thumbnails; }

  // The tool bar's items by their names (PrintB … CancelB, ZoomCB, PageE).
  QAction* Item(const QString& name) const;
  QWidget* ItemWidget(const QString& name) const;
  QStringList VisibleItems() const;
  std::unique_ptr<QMenu> BuildContextMenu();
  QComboBox* ZoomCombo() const { return m_zoomCombo; }
  QLineEdit* PageEdit() const { return m_pageEdit; }
  QString StatusText(int panel) const;

  // The build's notifications; PageAdded hands pending events back so that
  // the window stays live while the build runs on its loop.
  void BuildStarted();
  void PageAdded(int index);  // from 0
  void BuildFinished();
  bool Running() const { return m_running; }

  // Asked to stop the build (the report's Terminated flag).
  void SetCancelHandler(std::function<void()> handler) { m_cancel = std::move(handler); }
  // Print and page settings belong to the print dialogs; without a handler
  // their buttons stay disabled.
  void SetPrintHandler(std::function<void()> handler);
  void SetPageSettingsHandler(std::function<void()> handler);
  // Shows an error; a message box unless replaced (tests).
  void SetErrorHandler(std::function<void(const QString&)> handler) { m_error = std::move(handler); }

  // The commands behind the buttons; Open and Save ask for a file first.
  void PrintClick();
  void OpenClick();
  void SaveClick();
  void FindClick();
  void FindNextClick();
  void PageSettingsClick();
  void CancelClick();
  void FullScreenClick();
  void OutlineClick();
  void ThumbClick();
  bool OpenFile(const QString& fileName);
  bool SaveFile(const QString& fileName);
  // "name.txt" and "name" become "name.vpr".
  static QString WithPreparedReportExtension(const QString& fileName);

  bool FullScreen() const { return m_fullScreen; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
  void changeEvent(QEvent* event) override;

 private:
  struct ToolItem {
    QString name;
    QAction* action = nullptr;  // the tool bar's action for this item
    bool separator = false;
    bool button = false;        // a tool button (not the combo or the page box)
  };

  void BuildToolBar();
  QAction* AddButton(const QString& name, int hintKey, int image, void (PreviewForm::*slot)());
  void AddSeparator();
  QAction* AddWidget(const QString& name, int hintKey, QWidget* widget);
  void ApplyButtons();
  void UpdateCommands();
  void UpdateStatus();
  void UpdateZoomCombo(double zoom);
  void ZoomComboActivated(int index);
  void ZoomComboEntered();
  void PageEditEntered();
  void ShowLeftPanel(int which);  // 0 none, 1 outline, 2 thumbnails
  void SetLocked(bool locked, const QString& text);
  void ShowError(const QString& text);

  PreviewSource* m_source = nullptr;
  PreviewWindowOptions m_options;
  QToolBar* m_toolBar = nullptr;
  QComboBox* m_zoomCombo = nullptr;
  QLineEdit* m_pageEdit = nullptr;
  QSplitter* m_splitter = nullptr;
  QStackedWidget* m_leftPanel = nullptr;
  QTreeWidget* m_outline = nullptr;
  Preview* m_preview = nullptr;
  Preview* m_thumbnails = nullptr;
  QStatusBar* m_statusBar = nullptr;
  QLabel* m_status[2] = {nullptr, nullptr};
  QLabel* m_lockPanel = nullptr;
  std::vector<ToolItem> m_items;
  std::map<QString, std::size_t> m_itemIndex;

  std::function<void()> m_cancel;
  std::function<void()> m_print;
  std::function<void()> m_pageSettings;
  std::function<void(const QString&)> m_error;

  bool m_running = false;
  bool m_locked = false;
  bool m_closeAfterBuild = false;
  int m_statusEvery = 1;  // pages between status refreshes during a build
  QElapsedTimer m_firstPageTimer;

  bool m_fullScreen = false;
  Qt::WindowFlags m_savedFlags;
  Qt::WindowStates m_savedState;
  QRect m_savedGeometry;
};

}  // namespace report
