#pragma once

#include <QDialog>

#include "report/print/print_job.h"

class QLabel;

namespace report {

// "Printing page %d" with a Cancel button, shown while a job is drawn.
class PrintProgressWindow : public QDialog, public PrintProgress {
  Q_OBJECT

 public:
  explicit PrintProgressWindow(QWidget* parent = nullptr);

  void PagePrinted(int pageNo) override;
  bool Terminated() const override { return m_terminated; }
  void Terminate() { m_terminated = true; }

  void reject() override;  // Cancel and Escape stop the job, not the window

 private:
  QLabel* m_label = nullptr;
  bool m_terminated = false;
};

}  // namespace report
