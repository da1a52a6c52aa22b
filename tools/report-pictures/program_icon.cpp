#include "program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace report_pictures {

QList<QImage> ProgramIconPictures(const QString& svgFile) {
  QSvgRenderer renderer(svgFile);
  if (!renderer.isValid()) return {};
  QList<QImage> pictures;
  for (const int size : kIconSizes) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
      QPainter painter(&icon);
      painter.setRenderHint(QPainter::Antialiasing);
      QSizeF picture = renderer.defaultSize();
      picture.scale(size, size, Qt::KeepAspectRatio);
      renderer.render(&painter, QRectF((size - picture.width()) / 2, (size - picture.height()) / 2,
                                       picture.width(), picture.height()));
    }
    pictures.append(icon.convertToFormat(QImage::Format_ARGB32));
  }
  return pictures;
}

}  // namespace report_pictures
