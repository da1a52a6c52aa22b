#include "number_form_choice.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace app {

namespace {

QString Example(loads::NumberForm form, const regional::Regional& user) {
  const loads::CsvLayout layout = loads::LayoutFor(form, user);
  return QStringLiteral("%1 (campi separati da \"%2\")")
      .arg(loads::NumberText(16.5, layout.numbers), layout.separator == u'\t' ? QStringLiteral("tab")
                                                                              : QString(layout.separator));
}

}  // namespace

NumberFormChoice::NumberFormChoice(const regional::Regional& user, loads::NumberForm initial, QWidget* parent)
    : QGroupBox(QStringLiteral("Formato dei numeri"), parent),
      m_local(new QRadioButton(
          QStringLiteral("Come nelle impostazioni del sistema: %1").arg(Example(loads::NumberForm::Local, user)), this)),
      m_plain(new QRadioButton(
          QStringLiteral("Formato C: %1").arg(Example(loads::NumberForm::Plain, user)), this)) {
  m_local->setObjectName(QStringLiteral("rbNumeriLocali"));
  m_plain->setObjectName(QStringLiteral("rbNumeriC"));
  (initial == loads::NumberForm::Local ? m_local : m_plain)->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_local);
  layout->addWidget(m_plain);
  connect(m_local, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) emit FormChanged(loads::NumberForm::Local);
  });
  connect(m_plain, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) emit FormChanged(loads::NumberForm::Plain);
  });
}

loads::NumberForm NumberFormChoice::Form() const {
  return m_local->isChecked() ? loads::NumberForm::Local : loads::NumberForm::Plain;
}

}  // namespace app
