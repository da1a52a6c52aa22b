#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "render_options.h"

namespace effect_render {

enum ExitCode { kDone = 0, kFileError = 1, kUsageError = 2, kNoProcedure = 3 };

// The generated pictures used without --old and --new: cool colours with a
// grid for the old one, warm rings with a white mark in the top-left corner
// for the new one, so that direction and mirroring are easy to see.
raster::Bitmap OldTestCard(int width, int height);
raster::Bitmap NewTestCard(int width, int height);

// A picture file (any format the image library reads) as a bitmap of the
// given size, stretched to it when its own size differs. Empty, with the
// reason in `error`, when it cannot be read.
std::optional<raster::Bitmap> LoadPicture(const std::string& path, int width, int height,
                                          std::string& error);
// Writes the bitmap in the format of the file's extension (PNG, JPEG...).
bool SavePicture(const raster::Bitmap& picture, const std::string& path, std::string& error);

// The frame of `row` at `progress`, drawn as the picture show draws it.
raster::Bitmap RenderFrame(const effects::Effect& row, const raster::Bitmap& oldPicture,
                           const raster::Bitmap& newPicture, int progress);

// Progress 0, 10, ..., 100 in rows of four on a grey field, each frame scaled
// down to at most 320 pixels wide.
raster::Bitmap ContactSheet(const effects::Effect& row, const raster::Bitmap& oldPicture,
                            const raster::Bitmap& newPicture);

// Does what the options ask with the given row; messages go to `err`, the
// list to `out`. Gives the program's exit status.
int Run(const Options& options, const effects::Effect& row, std::ostream& out, std::ostream& err);

// --list: number, tab, name, tab, yes or no, one row a line.
void ListEffects(std::ostream& out);

}  // namespace effect_render
