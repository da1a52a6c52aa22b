#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Formabout;
}

namespace app {

// The about box: the program's name, its logo and its programmer, on red.
// Made once at start-up and shown modally, over its parent, each time.
class Formabout : public QDialog {
  Q_OBJECT

 public:
  explicit Formabout(QWidget* parent = nullptr);
  ~Formabout() override;

 public slots:
  void Button1Click();

 private:
  std::unique_ptr<Ui::Formabout> m_ui;
};

// The about box, from its creation to its destruction; nullptr otherwise.
Formabout* FormaboutWindow();

}  // namespace app
