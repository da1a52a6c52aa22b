#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "slideshow/slideshow_controls.h"

namespace slideshow {

void SlideshowDialogs::Warning(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Cancel);
  box.exec();
}

std::optional<QString> SlideshowDialogs::ChooseBackgroundFile(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Select Background Image"));
  dialog.setNameFilters({
      QStringLiteral("All (*.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf)"),
      QStringLiteral("GIF Image (*.gif)"),
      QStringLiteral("JPEG Image File (*.jpg)"),
      QStringLiteral("JPEG Image File (*.jpeg)"),
      QStringLiteral("Bitmaps (*.bmp)"),
      QStringLiteral("Icons (*.ico)"),
      QStringLiteral("Enhanced Metafiles (*.emf)"),
      QStringLiteral("Metafiles (*.wmf)"),
  });
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

std::optional<QColor> SlideshowDialogs::ChooseFrameColor(QWidget* parent, const QColor& current) {
  const QColor chosen = QColorDialog::getColor(current, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

std::optional<QString> SlideshowDialogs::ChooseFolder(QWidget* parent, const QString& start) {
  const QString from = QFileInfo(start).isDir() ? start : QString();
  const QString chosen = QFileDialog::getExistingDirectory(
      parent, QStringLiteral("Select folder of images for slide show:"), from, QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

}  // namespace slideshow
