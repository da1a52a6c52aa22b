#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Small pictures of our own, written when the tests run: every kind the
// picture holder reads, and damaged or deceptive files beside them.
namespace slideshow_test {

// A card whose colour is a function of the position; with alpha, the left
// column is transparent and the second column half transparent.
QImage TestCard(int width, int height, bool withAlpha = false);
QRgb TestCardColor(int x, int y);

// A GIF of the given palette indices (row by row), written with a clear code
// after every two pixels so that the encoder needs no table.
QByteArray EncodeGif(int width, int height, const std::vector<std::array<std::uint8_t, 3>>& palette,
                     const std::vector<std::uint8_t>& indices);

// A four-channel JPEG (Adobe convention: 255 means no ink) whose pixels are
// the test card's colours.
QByteArray EncodeCmykJpeg(int width, int height);

// A JPEG whose frame header claims another size than its data has.
QByteArray WithJpegSize(QByteArray jpeg, int width, int height);

// A PNG whose header claims another size (with a valid checksum).
QByteArray WithPngSize(QByteArray png, int width, int height);

QByteArray Encode(const QImage& image, const char* format, int quality = -1);

void WriteFile(const QString& path, const QByteArray& bytes);

// A file the metafile generator made (metafile/tests/data, or below it).
QString MetafileFixture(const char* name);
QByteArray ReadFile(const QString& path);

}  // namespace slideshow_test
