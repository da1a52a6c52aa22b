#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <array>

namespace report_pictures {

// The sizes of the program's icon as the main window and the cost lists
// carry it.
inline constexpr std::array kIconSizes{16, 24, 32, 48, 64, 72, 96, 128};  // pixels

// The program's SVG icon drawn afresh at every size of kIconSizes (so no
// size is a scaled copy of another), 32-bit with alpha; empty when the file
// is not a readable SVG picture.
QList<QImage> ProgramIconPictures(const QString& svgFile);

}  // namespace report_pictures
