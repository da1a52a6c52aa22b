#pragma once

// The preview window's tool-bar pictures: one strip of our own drawing
// (resources/report/make_tool_strip.py), stored gzip-compressed among the
// resources and inflated with zlib on first use.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

#include <vector>

namespace report {

// Order of the pictures in the strip.
enum class ToolImage {
  Print,
  Open,
  Save,
  Export,
  Pdf,
  Email,
  Find,
  ZoomIn,
  ZoomOut,
  FullScreen,
  Outline,
  Thumbnails,
  PageSettings,
  Edit,
  First,
  Prior,
  Next,
  Last,
  Count
};

// The strips of one file, one per picture size (16 and 32 pixels).
struct ToolStrip {
  int count = 0;              // pictures in each strip
  std::vector<QImage> strips;  // count * tile by tile pixels each
  QString error;              // empty when the file was read
};

// Inflates and reads a strip file; never throws, a damaged file gives an
// empty result with the reason in `error`.
ToolStrip ReadToolStrip(const QByteArray& gzipped);

// The built-in strip, read once.
const ToolStrip& BuiltInToolStrip();

// The picture at every size the strip holds; an empty icon if the strip
// could not be read, so that a button shows its hint text instead.
QIcon ToolIcon(ToolImage image);

}  // namespace report
