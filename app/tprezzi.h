#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Tprezzi;
}

namespace app {

// The example-prices window: a picture of typical component prices and an
// OK button. A fixed dialog, centred on the screen; made once at start-up
// and shown modally each time.
class Tprezzi : public QDialog {
  Q_OBJECT

 public:
  explicit Tprezzi(QWidget* parent = nullptr);
  ~Tprezzi() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::Tprezzi> m_ui;
};

// The example-prices window, from its creation to its destruction; nullptr otherwise.
Tprezzi* PrezziWindow();

}  // namespace app
