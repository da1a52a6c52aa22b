#include "loads/navigator.h"

#include <QToolButton>

#include "navigator_glyphs_p.h"

namespace loads {

namespace {

constexpr std::array<const char*, kNavButtonCount> kButtonNames{
    "nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert",
    "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};

constexpr char kDeleteQuestion[] = "Delete record?";

}  // namespace

Navigator::Navigator(QWidget* parent)
    : QWidget(parent), m_confirmDelete(QuestionBox(this)), m_onError(CriticalBox(this)) {
  for (int i = 0; i < kNavButtonCount; ++i) {
    const auto which = static_cast<NavButton>(i);
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(kButtonNames[static_cast<std::size_t>(i)]));
    button->setIcon(detail::NavigatorGlyph(which));
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, which] { BtnClick(which); });
    m_buttons[static_cast<std::size_t>(i)] = button;
  }
  UpdateButtons();
}

QToolButton* Navigator::Button(NavButton which) const {
  return m_buttons[static_cast<std::size_t>(which)];
}

void Navigator::SetDataSource(DataSource* source) {
  for (const auto& c : m_connections) disconnect(c);
  m_connections.clear();
  m_source = source;
  if (source != nullptr) {
    m_connections.push_back(connect(source, &DataSource::DataChanged, this, &Navigator::UpdateButtons));
    m_connections.push_back(connect(source, &DataSource::StateChanged, this, &Navigator::UpdateButtons));
  }
  UpdateButtons();
}

void Navigator::SetVisibleButtons(std::initializer_list<NavButton> buttons) {
  for (QToolButton* b : m_buttons) b->setVisible(false);
  for (const NavButton which : buttons) Button(which)->setVisible(true);
  LayOut();
}

void Navigator::SetHints(const QStringList& hints) {
  for (int i = 0; i < kNavButtonCount; ++i) {
    m_buttons[static_cast<std::size_t>(i)]->setToolTip(i < hints.size() ? hints[i] : QString());
  }
}

void Navigator::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

// The visible buttons share the width evenly, the last taking what is left.
void Navigator::LayOut() {
  std::vector<QToolButton*> shown;
  for (QToolButton* b : m_buttons) {
    if (!b->isHidden()) shown.push_back(b);
  }
  if (shown.empty()) return;
  const int count = static_cast<int>(shown.size());
  const int each = width() / count;  // pixels
  for (int i = 0; i < count; ++i) {
    const int left = i * each;
    const int w = i == count - 1 ? width() - left : each;
    shown[static_cast<std::size_t>(i)]->setGeometry(left, 0, w, height());
  }
}

void Navigator::UpdateButtons() {
  const LoadTable* table = m_source ? m_source->DataSet() : nullptr;
  const bool active = table != nullptr && table->Active();
  const bool editing = active && table->Editing();
  const bool any = active && !table->IsEmpty();
  const bool canBack = any && !table->Bof();
  const bool canForward = any && !table->Eof();
  Button(NavButton::First)->setEnabled(canBack);
  Button(NavButton::Prior)->setEnabled(canBack);
  Button(NavButton::Next)->setEnabled(canForward);
  Button(NavButton::Last)->setEnabled(canForward);
  Button(NavButton::Insert)->setEnabled(active);
  Button(NavButton::Delete)->setEnabled(any);
  Button(NavButton::Edit)->setEnabled(active && !editing);
  Button(NavButton::Post)->setEnabled(editing);
  Button(NavButton::Cancel)->setEnabled(editing);
  Button(NavButton::Refresh)->setEnabled(active);
}

void Navigator::BtnClick(NavButton which) {
  LoadTable* table = m_source ? m_source->DataSet() : nullptr;
  if (table == nullptr) return;
  Status status = Status::Ok();
  switch (which) {
    case NavButton::First:
      status = table->First();
      break;
    case NavButton::Prior:
      status = table->Prior();
      break;
    case NavButton::Next:
      status = table->Next();
      break;
    case NavButton::Last:
      status = table->Last();
      break;
    case NavButton::Insert:
      status = table->Insert();
      break;
    case NavButton::Delete:
      if (m_confirmDelete && !m_confirmDelete(QString::fromLatin1(kDeleteQuestion))) return;
      status = table->Delete();
      break;
    case NavButton::Edit:
      status = table->Edit();
      break;
    case NavButton::Post:
      status = table->Post();
      break;
    case NavButton::Cancel:
      table->Cancel();
      break;
    case NavButton::Refresh:
      status = table->Refresh();
      break;
  }
  if (!status && m_onError) m_onError(status.Message());
  UpdateButtons();
}

}  // namespace loads
