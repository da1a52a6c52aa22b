// Random damage to the good files: whatever the bytes, Load() and Render()
// return. Only that is checked; what they return is up to the damage.
#include "test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray Mutate(const QByteArray& original, std::mt19937& random) {
  QByteArray bytes = original;
  std::uniform_int_distribution<int> kind(0, 9);
  const int what = kind(random);
  std::uniform_int_distribution<qsizetype> position(0, bytes.size() - 1);
  if (what == 0) {
    bytes.truncate(position(random));
    return bytes;
  }
  if (what == 1) {
    // A run of bytes copied over another place, as a broken writer might.
    const qsizetype from = position(random);
    const qsizetype to = position(random);
    const qsizetype length = std::min<qsizetype>({32, bytes.size() - from, bytes.size() - to});
    for (qsizetype i = 0; i < length; ++i) bytes[to + i] = original[from + i];
    return bytes;
  }
  std::uniform_int_distribution<int> count(1, 12);
  std::uniform_int_distribution<int> value(0, 255);
  for (int i = count(random); i > 0; --i) {
    const qsizetype at = position(random);
    // Large values where sizes and counts live do the most damage.
    bytes[at] = static_cast<char>(what == 2 ? 0xFF : what == 3 ? 0x7F : value(random));
  }
  return bytes;
}

TEST(Mutation, DamagedFilesNeverCrashOrHang) {
  metafile_test::EnsureGuiApplication();
  std::mt19937 random(20240519);
  int loaded = 0;
  int refused = 0;
  for (const char* file : {"card-wmf-placeable.wmf", "card-wmf-plain.wmf", "card-emf.emf", "bad/ok-emf-bad-handles.emf",
                           "bad/ok-wmf-bad-checksum.wmf"}) {
    const QByteArray original = metafile_test::ReadBytes(metafile_test::DataDir() / file);
    ASSERT_FALSE(original.isEmpty()) << file;
    for (int i = 0; i < 300; ++i) {
      const metafile::LoadResult result = metafile::Load(Mutate(original, random));
      if (!result.Ok()) {
        ++refused;
        continue;
      }
      ++loaded;
      const metafile::RenderResult rendered = metafile::Render(*result.picture, QSize(64, 48));
      EXPECT_TRUE(rendered.Ok());
    }
  }
  std::cout << "  mutants loaded and drawn: " << loaded << ", refused: " << refused << '\n';
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
