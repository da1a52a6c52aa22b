#pragma once

#include <QString>
#include <QSvgRenderer>
#include <QWidget>

namespace app {

// A picture drawn from an SVG file (usually a resource), stretched to the
// whole widget whatever its proportions.
class PictureBox : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString picture READ Picture WRITE SetPicture)

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  QString Picture() const { return m_picture; }
  void SetPicture(const QString& path);
  // False when the picture could not be read.
  bool IsValid() const { return m_renderer.isValid(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_picture;
  QSvgRenderer m_renderer;
};

}  // namespace app
