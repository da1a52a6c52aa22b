#pragma once

#include <QLocale>

#include "regional/regional.h"

namespace regional {

// The number and money settings of a Qt locale, read by writing probe amounts
// with it, so that our formatting matches what Qt shows for that locale.
Regional FromQLocale(const QLocale& locale);

}  // namespace regional
