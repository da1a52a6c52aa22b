#include "tprezzi.h"

#include "centre_on_screen.h"
#include "resources.h"
#include "ui_tprezzi.h"

namespace app {

namespace {
Tprezzi* g_prezzi = nullptr;
}  // namespace

Tprezzi* PrezziWindow() { return g_prezzi; }

Tprezzi::Tprezzi(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::Tprezzi>()) {
  EnsureResources();
  if (g_prezzi == nullptr) g_prezzi = this;
  m_ui->setupUi(this);
  setFixedSize(size());
  // Modal to the main window only, so that the help window stays usable.
  setWindowModality(Qt::WindowModal);

  QPalette red = palette();
  red.setColor(QPalette::Window, Qt::red);
  setPalette(red);
  setAutoFillBackground(true);

  connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
}

Tprezzi::~Tprezzi() {
  if (g_prezzi == this) g_prezzi = nullptr;
}

void Tprezzi::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
}

}  // namespace app
