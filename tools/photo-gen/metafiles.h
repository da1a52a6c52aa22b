#pragma once

#include <QByteArray>

// The sample folder's two drawings as metafiles, written record by record
// with the metafile test cards' writers.
namespace photo_gen {

// A target on a card, placeable WMF of 4 x 3 inches.
QByteArray TargetWmf();

// Misty hills under a pale sun, EMF of 800 x 600 pixels.
QByteArray HillsEmf();

}  // namespace photo_gen
