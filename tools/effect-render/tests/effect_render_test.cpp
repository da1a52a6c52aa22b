#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "effects/effect_helpers.h"
#include "raster/canvas.h"
#include "render.h"
#include "render_options.h"
#include "testing/test_support.h"

namespace {

using effect_render::Options;
using effect_render::ParseOptions;
using raster::Bitmap;

Options Parsed(const std::vector<std::string>& args) {
  const auto result = ParseOptions(args);
  EXPECT_TRUE(result.options.has_value()) << result.error;
  return result.options.value_or(Options{});
}

TEST(EffectRenderOptions, ReadsTheCommandLineScriptsUse) {
  const Options o = Parsed({"--effect", "51", "--progress", "0,10,99", "--size", "320x200",
                            "--old", "a.png", "--new=b.jpg", "--out", "f%p.png"});
  EXPECT_EQ(o.style, 51);
  EXPECT_EQ(o.progress, (std::vector<int>{0, 10, 99}));
  EXPECT_EQ(o.width, 320);
  EXPECT_EQ(o.height, 200);
  EXPECT_EQ(o.oldFile, "a.png");
  EXPECT_EQ(o.newFile, "b.jpg");
  EXPECT_EQ(o.outPattern, "f%p.png");
  EXPECT_EQ(Parsed({"--effect", "expand FROM bottom", "--size", "8x8", "--sheet", "s.png"}).style, 18);
  EXPECT_TRUE(Parsed({"--list"}).list);
}

TEST(EffectRenderOptions, RefusesWhatItCannotDo) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--effect", "0", "--progress", "1", "--size", "8x8", "--out", "a.png"}, "numero 0"},
      {{"--effect", "177", "--progress", "1", "--size", "8x8", "--out", "a.png"}, "numero 177"},
      {{"--effect", "Nothing", "--progress", "1", "--size", "8x8", "--out", "a.png"}, "di nome"},
      {{"--effect", "1", "--progress", "101", "--size", "8x8", "--out", "a.png"}, "Avanzamento"},
      {{"--effect", "1", "--progress", "5,,6", "--size", "8x8", "--out", "a.png"}, "Avanzamento"},
      {{"--effect", "1", "--progress", "1", "--size", "0x8", "--out", "a.png"}, "Dimensione"},
      {{"--effect", "1", "--progress", "1", "--size", "8", "--out", "a.png"}, "Dimensione"},
      {{"--effect", "1", "--progress", "1,2", "--size", "8x8", "--out", "a.png"}, "%p"},
      {{"--effect", "1", "--size", "8x8", "--out", "a.png"}, "--progress"},
      {{"--effect", "1", "--progress", "1", "--size", "8x8"}, "--out"},
      {{"--effect", "1", "--progress", "1", "--out", "a.png"}, "--size"},
      {{"--progress", "1", "--size", "8x8", "--out", "a.png"}, "--effect"},
      {{"--effect"}, "valore"},
      {{"--colour", "red"}, "sconosciuta"},
  };
  for (const auto& [args, expected] : cases) {
    const auto result = ParseOptions(args);
    EXPECT_FALSE(result.options.has_value()) << expected;
    EXPECT_NE(result.error.find(expected), std::string::npos) << result.error;
  }
}

TEST(EffectRenderOptions, PutsTheProgressIntoThePattern) {
  EXPECT_EQ(effect_render::FramePath("out/f%p.png", 7), "out/f7.png");
  EXPECT_EQ(effect_render::FramePath("%p-%p.png", 100), "100-100.png");
  EXPECT_EQ(effect_render::FramePath("100%%-%p.png", 5), "100%-5.png");
  EXPECT_EQ(effect_render::FramePath("frame.png", 5), "frame.png");
}

// A row of the tool's own: the new picture revealed from the left.
void RevealFromLeft(Bitmap& Screen, const Bitmap& Image, int, int H, int X, int, int) {
  raster::BitBlt(Screen.Canvas(), 0, 0, X, H, Image, 0, 0);
}
constexpr effects::Effect kTestRow{"Reveal from left", RevealFromLeft};

TEST(EffectRender, WritesFramesThatReadBackAsDrawn) {
  const auto dir = testing_support::FreshDir("frames");
  Options o = Parsed({"--effect", "5", "--progress", "0,50,100", "--size", "40x30", "--out",
                      (dir / "f%p.png").string()});
  std::ostringstream out, err;
  ASSERT_EQ(effect_render::Run(o, kTestRow, out, err), effect_render::kDone) << err.str();
  const Bitmap oldCard = effect_render::OldTestCard(40, 30);
  const Bitmap newCard = effect_render::NewTestCard(40, 30);
  for (int progress : {0, 50, 100}) {
    std::string error;
    const auto frame = effect_render::LoadPicture((dir / ("f" + std::to_string(progress) + ".png")).string(), 40, 30, error);
    ASSERT_TRUE(frame.has_value()) << error;
    const Bitmap expected = effect_render::RenderFrame(kTestRow, oldCard, newCard, progress);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(frame->PixelRow(y)[x], expected.PixelRow(y)[x]) << progress;
  }
  // Progress 0 is the start frame, 100 the new picture whole, 50 half of each.
  const Bitmap half = effect_render::RenderFrame(kTestRow, oldCard, newCard, 50);
  EXPECT_EQ(half.PixelRow(10)[19], newCard.PixelRow(10)[19]);
  EXPECT_EQ(half.PixelRow(10)[20], oldCard.PixelRow(10)[20]);
  EXPECT_EQ(effect_render::RenderFrame(kTestRow, oldCard, newCard, 0).PixelRow(0)[0], oldCard.PixelRow(0)[0]);
  EXPECT_EQ(effect_render::RenderFrame(kTestRow, oldCard, newCard, 100).PixelRow(29)[39], newCard.PixelRow(29)[39]);
}

TEST(EffectRender, LaysTheContactSheetOutInRowsOfFour) {
  const Bitmap oldCard = effect_render::OldTestCard(40, 30);
  const Bitmap newCard = effect_render::NewTestCard(40, 30);
  const Bitmap sheet = effect_render::ContactSheet(kTestRow, oldCard, newCard);
  EXPECT_EQ(sheet.Width(), 8 + 4 * (40 + 8));
  EXPECT_EQ(sheet.Height(), 8 + 3 * (30 + 8));
  const auto cell = [&](int i, int x, int y) { return sheet.PixelRow(8 + (i / 4) * 38 + y)[8 + (i % 4) * 48 + x]; };
  EXPECT_EQ(cell(0, 39, 29), oldCard.PixelRow(29)[39]);   // progress 0
  EXPECT_EQ(cell(10, 39, 29), newCard.PixelRow(29)[39]);  // progress 100, last cell
  EXPECT_EQ(cell(5, 19, 5), newCard.PixelRow(5)[19]);     // progress 50
  EXPECT_EQ(cell(5, 20, 5), oldCard.PixelRow(5)[20]);
  EXPECT_EQ(sheet.PixelRow(0)[0], raster::MakePixel(96, 96, 96));
}

TEST(EffectRender, ReadsPicturesOfAnySizeAndNamesOnesItCannotRead) {
  const auto dir = testing_support::FreshDir("pictures");
  const Bitmap card = effect_render::NewTestCard(16, 12);
  std::string error;
  ASSERT_TRUE(effect_render::SavePicture(card, (dir / "card.png").string(), error)) << error;
  const auto same = effect_render::LoadPicture((dir / "card.png").string(), 16, 12, error);
  ASSERT_TRUE(same.has_value());
  EXPECT_EQ(same->PixelRow(11)[15], card.PixelRow(11)[15]);
  const auto doubled = effect_render::LoadPicture((dir / "card.png").string(), 32, 24, error);
  ASSERT_TRUE(doubled.has_value());
  EXPECT_EQ(doubled->PixelRow(23)[31], card.PixelRow(11)[15]);

  EXPECT_FALSE(effect_render::LoadPicture((dir / "missing.png").string(), 8, 8, error).has_value());
  EXPECT_NE(error.find("missing.png"), std::string::npos);
  EXPECT_FALSE(effect_render::SavePicture(card, (dir / "no-such-folder" / "x.png").string(), error));

  Options o = Parsed({"--effect", "5", "--progress", "5", "--size", "8x8", "--old",
                      (dir / "missing.png").string(), "--out", (dir / "x.png").string()});
  std::ostringstream out, err;
  EXPECT_EQ(effect_render::Run(o, kTestRow, out, err), effect_render::kFileError);
}

// Runs the installed program and gives its exit status and standard output.
std::pair<int, std::string> RunProgram(const std::string& arguments) {
  const char* binaryDir = std::getenv("VERSANTO_BINARY_DIR");
  const std::string command =
      std::string(binaryDir != nullptr ? binaryDir : ".") + "/bin/effect-render " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = pipe != nullptr ? pclose(pipe) : -1;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(EffectRenderProgram, ListsTheTable) {
  const auto [status, output] = RunProgram("--list");
  ASSERT_EQ(status, 0);
  std::istringstream lines(output);
  std::string line;
  std::vector<std::string> names;
  while (std::getline(lines, line)) {
    const std::size_t first = line.find('\t');
    const std::size_t second = line.find('\t', first + 1);
    ASSERT_NE(second, std::string::npos) << line;
    EXPECT_EQ(line.substr(0, first), std::to_string(names.size() + 1));
    const std::string draws = line.substr(second + 1);
    EXPECT_TRUE(draws == "yes" || draws == "no") << line;
    EXPECT_EQ(draws == "yes", effects::EffectTable[names.size()].Proc != nullptr) << line;
    names.push_back(line.substr(first + 1, second - first - 1));
  }
  ASSERT_EQ(names.size(), 176u);
  EXPECT_EQ(names[32], names[17]);
  EXPECT_EQ(names[75], "Unven shred from bottom");
}

TEST(EffectRenderProgram, RefusesARowWithoutProcedureWithStatusThree) {
  const auto dir = testing_support::FreshDir("program");
  for (int style = 1; style <= effects::kEffectCount; ++style) {
    if (effects::EffectTable[std::size_t(style) - 1].Proc != nullptr) continue;
    const auto [status, output] =
        RunProgram("--effect " + std::to_string(style) + " --progress 5 --size 8x8 --out " + (dir / "x.png").string());
    EXPECT_EQ(status, 3) << style;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
    break;  // one is enough; they all go the same way
  }
  EXPECT_EQ(RunProgram("--effect 1 --size 8x8").first, 2);
  EXPECT_EQ(RunProgram("--bogus").first, 2);
}

}  // namespace
