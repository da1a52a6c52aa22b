#include "formabout.h"

#include "resources.h"
#include "ui_formabout.h"

namespace app {

namespace {
Formabout* g_formabout = nullptr;
const QColor kMoneyGreen(0xC0, 0xDC, 0xC0);
}  // namespace

Formabout* FormaboutWindow() { return g_formabout; }

Formabout::Formabout(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::Formabout>()) {
  EnsureResources();
  if (g_formabout == nullptr) g_formabout = this;
  m_ui->setupUi(this);
  // Modal to the main window only, so that the help window stays usable.
  setWindowModality(Qt::WindowModal);

  QPalette red = palette();
  red.setColor(QPalette::Window, Qt::red);
  setPalette(red);
  setAutoFillBackground(true);
  QPalette green = m_ui->Panel1->palette();
  green.setColor(QPalette::Window, kMoneyGreen);
  m_ui->Panel1->setPalette(green);

  connect(m_ui->Button1, &QPushButton::clicked, this, &Formabout::Button1Click);
}

Formabout::~Formabout() {
  if (g_formabout == this) g_formabout = nullptr;
}

void Formabout::Button1Click() { close(); }

}  // namespace app
