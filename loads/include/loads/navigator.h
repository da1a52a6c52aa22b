#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <initializer_list>

#include "loads/data_source.h"
#include "loads/error_handler.h"

class QToolButton;

namespace loads {

// The full set of record buttons, in their fixed order.
enum class NavButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
inline constexpr int kNavButtonCount = 10;

// A row of record buttons over a data source. Moves post a pending change
// first; Delete asks before it deletes. Each button's tool tip is taken from
// the hint list, one hint per button of the full set.
class Navigator : public QWidget {
  Q_OBJECT

 public:
  explicit Navigator(QWidget* parent = nullptr);

  void SetDataSource(DataSource* source);
  DataSource* Source() const { return m_source; }
  void SetVisibleButtons(std::initializer_list<NavButton> buttons);
  void SetHints(const QStringList& hints);
  void SetConfirmDelete(Confirmation confirm) { m_confirmDelete = std::move(confirm); }
  void SetErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }

  QToolButton* Button(NavButton which) const;
  // What a click on the button does.
  void BtnClick(NavButton which);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateButtons();
  void LayOut();

  std::array<QToolButton*, kNavButtonCount> m_buttons{};
  QPointer<DataSource> m_source;
  std::vector<QMetaObject::Connection> m_connections;
  Confirmation m_confirmDelete;
  ErrorHandler m_onError;
};

}  // namespace loads
