#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace report_pictures {

// An icon file holding every picture given, each as an uncompressed 32-bit
// bottom-up DIB with its AND mask, the form every icon reader understands.
// Qt's own ICO writer keeps only one picture, so the cost lists' multi-size
// icon is written here. Pictures wider or taller than 256 pixels, or an
// empty list, give an empty result.
QByteArray IcoFile(const QList<QImage>& pictures);

}  // namespace report_pictures
