#include "report/ui/print_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/ui/rep_resources.h"

namespace report {

PrintProgressWindow::PrintProgressWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RepProgressForm"));
  setWindowTitle(RepResources::Text(200));
  m_label = new QLabel(RepResources::Text("clPrinting").replace(QStringLiteral("%d"), QString()).trimmed());
  m_label->setObjectName(QStringLiteral("LabelL"));
  m_label->setMinimumWidth(220);
  auto* cancel = new QPushButton(RepResources::Text(234));
  cancel->setObjectName(QStringLiteral("CancelB"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_label);
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
  connect(cancel, &QPushButton::clicked, this, &PrintProgressWindow::Terminate);
}

void PrintProgressWindow::PagePrinted(int pageNo) {
  m_label->setText(RepResources::Text("clPrinting").replace(QStringLiteral("%d"), QString::number(pageNo)));
  // The job runs on this thread: let the window paint and its Cancel work.
  QCoreApplication::processEvents();
}

void PrintProgressWindow::reject() { Terminate(); }

}  // namespace report
