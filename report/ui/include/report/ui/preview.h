#pragma once

// The page view of the preview window (and, at zoom 0.1, its thumbnail
// panel): lays the prepared pages out at a zoom, paints only the pages in
// view, moves between pages and finds text.

#include "report/ui/page_layout.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <vector>

namespace report {

class PreviewSource;

inline const QColor kPreviewBackground(128, 128, 128);
inline const QColor kCurrentPageFrame(32, 64, 128);

class Preview : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit Preview(QWidget* parent = nullptr);
  ~Preview() override;

  // Not owned; the view asks it for every page it paints.
  void SetSource(PreviewSource* source);
  PreviewSource* Source() const { return m_source; }

  // Thumbnails: fixed zoom 0.1, each page labelled with its number, no
  // keyboard commands.
  void SetThumbnails(bool on);
  bool Thumbnails() const { return m_thumbnails; }

  int PageNo() const { return m_pageNo; }  // from 1
  int PageCount() const;
  // Clamps to 1 … page count, scrolls the page's top 10 pixels below the
  // view's top and makes it current.
  void SetPageNo(int pageNo);
  void First() { SetPageNo(1); }
  void Prior() { SetPageNo(m_pageNo - 1); }
  void Next() { SetPageNo(m_pageNo + 1); }
  void Last() { SetPageNo(PageCount()); }

  double Zoom() const { return m_zoom; }
  // Sets a zoom value (clamped) and switches the mode back to zmDefault.
  void SetZoom(double zoom);
  report::ZoomMode ZoomMode() const { return m_zoomMode; }
  void SetZoomMode(report::ZoomMode mode);
  void ZoomIn() { SetZoom(m_zoom + 0.25); }
  void ZoomOut() { SetZoom(m_zoom - 0.25); }

  // The page count or a page size changed; a build calls it as pages come.
  void UpdatePages();

  // Find: the first run after the last hit that contains the text, from the
  // first page or from the current one. False when nothing more is found.
  bool Find(const QString& text, bool caseSensitive, bool fromBeginning);
  bool FindNext();
  void ClearFind();
  QString FindText() const { return m_findText; }
  int FoundPage() const { return m_foundPage; }  // from 0, -1 none
  QRectF FoundRect() const { return m_foundRect; }  // report units on that page

  // Layout, pixels in the scrollable area (for tests and the thumbnails).
  QRect PageRect(int index) const;
  QPoint ScrollPosition() const;
  void SetScrollPosition(QPoint position);
  int PagesPainted() const { return m_pagesPainted; }  // in the last paint

 signals:
  void PageChanged(int pageNo);
  void ZoomChanged(double zoom);
  void DoubleClicked();
  // After each paint of the view; PagesPainted() says how many pages it drew.
  void Painted();
  void PrintKey();
  void SaveKey();
  void OpenKey();
  void FindKey();
  void FindNextKey();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Relayout();
  void ApplyFitZoom();
  void UpdateScrollBars();
  void MakeCurrent(int pageNo);
  void CurrentFromScroll();
  int PageAt(QPoint viewportPoint) const;
  void ScrollToVisible(const QRect& area, int spare);
  bool FindFrom(int pageIndex);

  PreviewSource* m_source = nullptr;
  bool m_thumbnails = false;
  int m_pageNo = 1;
  double m_zoom = 1.0;
  report::ZoomMode m_zoomMode = ZoomMode::zmDefault;
  PageLayoutResult m_layout;
  bool m_settingPage = false;
  int m_pagesPainted = 0;

  QString m_findText;
  bool m_findCase = false;
  int m_foundPage = -1;
  int m_foundIndex = -1;
  QRectF m_foundRect;

  bool m_dragging = false;
  QPoint m_dragFrom;
};

}  // namespace report
