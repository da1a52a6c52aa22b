#pragma once

#include <optional>
#include <string>
#include <vector>

// The command line of effect-render, which scripts rely on:
//   effect-render --effect N|NAME --progress P[,P...] --size WxH
//                 [--old FILE] [--new FILE] --out PATTERN
//   effect-render --effect N|NAME --size WxH [--old FILE] [--new FILE] --sheet FILE
//   effect-render --list
namespace effect_render {

struct Options {
  bool list = false;
  bool help = false;
  int style = 0;               // 1 .. 176
  std::vector<int> progress;   // each 0 .. 100
  int width = 0;               // pixels
  int height = 0;              // pixels
  std::string oldFile;         // empty: the generated old test card
  std::string newFile;         // empty: the generated new test card
  std::string outPattern;      // %p stands for the progress
  std::string sheetFile;
};

struct ParseResult {
  std::optional<Options> options;
  std::string error;  // what is wrong, for the user, when options is empty
};

// Options may be written "--name value" or "--name=value".
ParseResult ParseOptions(const std::vector<std::string>& args);

std::string Usage();

// The file for one progress value: every %p of the pattern becomes the
// number, %% a single %.
std::string FramePath(const std::string& pattern, int progress);

}  // namespace effect_render
