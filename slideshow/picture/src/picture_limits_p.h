#pragma once

#include <QtGlobal>

namespace slideshow::detail {

// The most a decoded picture may take: the allocation limit Qt's own image
// readers keep by default, so that every kind of file meets the same bound.
inline constexpr qint64 kMaxPictureBytes = qint64{256} * 1024 * 1024;
// Files larger than this are not read at all.
inline constexpr qint64 kMaxFileBytes = qint64{512} * 1024 * 1024;

inline bool FitsPictureLimit(qint64 width, qint64 height) {
  return width > 0 && height > 0 && width <= kMaxPictureBytes / 4 / height;
}

}  // namespace slideshow::detail
