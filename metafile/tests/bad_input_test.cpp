// Broken and borderline files against Load(), which must refuse each broken
// one with an error saying what and where, and play the borderline ones with
// a warning. Runs without a QGuiApplication, as a fuzzing harness would.
#include "metafile/metafile.h"

#include "testing/test_support.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using metafile::ErrorKind;
using metafile::WarningKind;

QByteArray Fixture(const std::string& name) {
  const std::string bytes = testing_support::ReadFileBytes(testing_support::TestDataDir() / "bad" / name);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

struct BadCase {
  const char* file;
  ErrorKind kind;
  int record;          // -1: the file header
  std::int64_t offset;  // -1: not checked
};

class RefusedTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(RefusedTest, IsRefusedWithWhatAndWhere) {
  const BadCase& c = GetParam();
  const QByteArray bytes = Fixture(c.file);
  ASSERT_FALSE(bytes.isEmpty()) << c.file;
  const metafile::LoadResult result = metafile::Load(bytes);
  ASSERT_FALSE(result.Ok()) << c.file << " was accepted";
  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(result.error->kind, c.kind) << result.error->ToString().toStdString();
  EXPECT_EQ(result.error->recordIndex, c.record) << result.error->ToString().toStdString();
  if (c.offset >= 0) {
    EXPECT_EQ(result.error->byteOffset, c.offset);
  }
  EXPECT_FALSE(result.error->message.isEmpty());
  if (c.record >= 0) {
    const std::string text = result.error->ToString().toStdString();
    EXPECT_NE(text.find("record " + std::to_string(c.record)), std::string::npos) << text;
    EXPECT_NE(text.find("byte " + std::to_string(result.error->byteOffset)), std::string::npos) << text;
  }
}

// The small fixtures: WMF records 0 (map mode, 8 bytes at 40), 1 (window,
// 10 bytes at 48), 2 (rectangle, 14 bytes at 58), then the faulty record 3 at
// 72; EMF header 0 (108 bytes), rectangle 1 (24 bytes at 108), faulty record
// 2 at 132.
INSTANTIATE_TEST_SUITE_P(
    Fixtures, RefusedTest,
    ::testing::Values(BadCase{"bad-wmf-not-a-metafile.wmf", ErrorKind::kNotAMetafile, -1, 0},
                      BadCase{"bad-wmf-truncated-header.wmf", ErrorKind::kTruncated, -1, -1},
                      BadCase{"bad-wmf-truncated-in-record.wmf", ErrorKind::kRecordPastEnd, 2, 58},
                      BadCase{"bad-wmf-truncated-at-record.wmf", ErrorKind::kTruncated, 1, 48},
                      BadCase{"bad-wmf-record-size-zero.wmf", ErrorKind::kBadRecordSize, 0, 40},
                      BadCase{"bad-wmf-record-past-end.wmf", ErrorKind::kRecordPastEnd, 1, 48},
                      BadCase{"bad-wmf-absurd-extents.wmf", ErrorKind::kAbsurdSize, -1, -1},
                      BadCase{"bad-wmf-zero-size.wmf", ErrorKind::kZeroSize, -1, -1},
                      BadCase{"bad-wmf-units-per-inch-zero.wmf", ErrorKind::kBadHeader, -1, -1},
                      BadCase{"bad-wmf-polygon-count.wmf", ErrorKind::kBadRecord, 3, 72},
                      BadCase{"bad-wmf-polypolygon-count.wmf", ErrorKind::kBadRecord, 3, 72},
                      BadCase{"bad-wmf-dib-short.wmf", ErrorKind::kBadBitmap, 3, 72},
                      BadCase{"bad-wmf-dib-huge.wmf", ErrorKind::kBadBitmap, 3, 72},
                      BadCase{"bad-wmf-dib-header-size.wmf", ErrorKind::kBadBitmap, 3, 72},
                      BadCase{"bad-wmf-text-length.wmf", ErrorKind::kBadRecord, 3, 72},
                      BadCase{"bad-wmf-region-scans.wmf", ErrorKind::kBadRecord, 3, 72},
                      BadCase{"bad-emf-truncated-header.emf", ErrorKind::kTruncated, 0, 0},
                      BadCase{"bad-emf-header-size.emf", ErrorKind::kBadHeader, 0, 0},
                      BadCase{"bad-emf-record-size-unaligned.emf", ErrorKind::kBadRecordSize, 1, 108},
                      BadCase{"bad-emf-record-size-small.emf", ErrorKind::kBadRecordSize, 1, 108},
                      BadCase{"bad-emf-record-past-end.emf", ErrorKind::kRecordPastEnd, 1, 108},
                      BadCase{"bad-emf-truncated-at-record.emf", ErrorKind::kTruncated, 2, 132},
                      BadCase{"bad-emf-zero-size.emf", ErrorKind::kZeroSize, 0, -1},
                      BadCase{"bad-emf-absurd-frame.emf", ErrorKind::kAbsurdSize, 0, -1},
                      BadCase{"bad-emf-polyline-count-huge.emf", ErrorKind::kTooLarge, 2, 132},
                      BadCase{"bad-emf-polyline-count.emf", ErrorKind::kBadRecord, 2, 132},
                      BadCase{"bad-emf-polypolygon-counts.emf", ErrorKind::kBadRecord, 2, 132},
                      BadCase{"bad-emf-dib-offsets.emf", ErrorKind::kBadBitmap, 2, 132},
                      BadCase{"bad-emf-dib-short.emf", ErrorKind::kBadBitmap, 2, 132},
                      BadCase{"bad-emf-dib-huge.emf", ErrorKind::kBadBitmap, 2, 132},
                      BadCase{"bad-emf-text-count.emf", ErrorKind::kBadRecord, 2, 132},
                      BadCase{"bad-emf-region-count.emf", ErrorKind::kTooLarge, 2, 132},
                      BadCase{"bad-emf-pen-entries.emf", ErrorKind::kBadRecord, 2, 132}),
    [](const auto& param) {
      std::string name = param.param.file;
      for (char& ch : name) {
        if (ch == '-' || ch == '.') ch = '_';
      }
      return name;
    });

struct TolerableCase {
  const char* file;
  std::optional<WarningKind> warning;  // nullopt: plays without one
};

class TolerableTest : public ::testing::TestWithParam<TolerableCase> {};

TEST_P(TolerableTest, PlaysWithAWarning) {
  const TolerableCase& c = GetParam();
  const metafile::LoadResult result = metafile::Load(Fixture(c.file));
  ASSERT_TRUE(result.Ok()) << c.file << ": " << result.error->ToString().toStdString();
  const auto& warnings = result.picture->Warnings();
  if (!c.warning) {
    EXPECT_TRUE(warnings.empty()) << warnings.front().message.toStdString();
    return;
  }
  ASSERT_FALSE(warnings.empty());
  EXPECT_EQ(warnings.front().kind, *c.warning) << warnings.front().message.toStdString();
  EXPECT_FALSE(warnings.front().message.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TolerableTest,
                         ::testing::Values(TolerableCase{"ok-wmf-deep-saves.wmf", WarningKind::kSaveDepthClipped},
                                           TolerableCase{"ok-wmf-no-end-record.wmf", WarningKind::kMissingEnd},
                                           TolerableCase{"ok-wmf-bad-checksum.wmf", WarningKind::kBadChecksum},
                                           TolerableCase{"ok-wmf-absurd-window.wmf", WarningKind::kOutOfRange},
                                           TolerableCase{"ok-emf-deep-saves.emf", WarningKind::kSaveDepthClipped},
                                           TolerableCase{"ok-emf-no-end-record.emf", WarningKind::kMissingEnd},
                                           TolerableCase{"ok-emf-nan-transform.emf", std::nullopt},
                                           TolerableCase{"ok-emf-bad-handles.emf", std::nullopt},
                                           TolerableCase{"ok-emf-huge-coordinates.emf", WarningKind::kOutOfRange}),
                         [](const auto& param) {
                           std::string name = param.param.file;
                           for (char& ch : name) {
                             if (ch == '-' || ch == '.') ch = '_';
                           }
                           return name;
                         });

// The EMF card's header followed by `records` copies of one record.
QByteArray EmfWithRecords(int records, const QByteArray& record) {
  const std::string card = testing_support::ReadFileBytes(testing_support::TestDataDir() / "card-emf.emf");
  QByteArray bytes(card.data(), 108);
  bytes.reserve(108 + static_cast<qsizetype>(records) * record.size() + 20);
  for (int i = 0; i < records; ++i) bytes.append(record);
  const quint32 total = static_cast<quint32>(bytes.size());
  for (int i = 0; i < 4; ++i) bytes[48 + i] = static_cast<char>((total >> (8 * i)) & 0xFF);
  return bytes;
}

QByteArray Le32(quint32 v) {
  QByteArray out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

TEST(Caps, TooManyRecordsIsRefusedAtTheFirstOneOver) {
  const QByteArray unknown = Le32(200) + Le32(8);  // a record type no writer uses
  const metafile::LoadResult result = metafile::Load(EmfWithRecords(metafile::limits::kMaxRecords, unknown));
  ASSERT_FALSE(result.Ok());
  EXPECT_EQ(result.error->kind, ErrorKind::kTooLarge);
  EXPECT_EQ(result.error->recordIndex, metafile::limits::kMaxRecords);
}

TEST(Caps, JustUnderTheRecordCapLoads) {
  const QByteArray unknown = Le32(200) + Le32(8);
  const metafile::LoadResult result =
      metafile::Load(EmfWithRecords(metafile::limits::kMaxRecords - 2, unknown) + Le32(14) + Le32(20) +
                     QByteArray(12, '\0'));
  ASSERT_TRUE(result.Ok()) << result.error->ToString().toStdString();
  ASSERT_EQ(result.picture->Skipped().size(), 1u);
  EXPECT_EQ(result.picture->Skipped().front().type, 200u);
  EXPECT_EQ(result.picture->Skipped().front().count, metafile::limits::kMaxRecords - 2);
}

QByteArray Le16(int v) {
  QByteArray out(2, '\0');
  out[0] = static_cast<char>(v & 0xFF);
  out[1] = static_cast<char>((v >> 8) & 0xFF);
  return out;
}

QByteArray WmfRecord(int function, const QByteArray& params) {
  return Le32(3 + params.size() / 2) + Le16(function) + params;
}

// The load pass measures a region by its bounds, so filling one region of
// many rectangles again and again costs one step per record, not one per
// rectangle: a file cannot make loading quadratic.
TEST(Caps, ARegionFilledAgainAndAgainLoadsInLinearTime) {
  constexpr int kRects = 20'000;
  QByteArray scans;
  for (int i = 0; i < kRects; ++i) {
    scans += Le16(2) + Le16(i % 100 * 10) + Le16(i % 100 * 10 + 5) + Le16(i / 100 * 5) + Le16(i / 100 * 5 + 3) + Le16(2);
  }
  const QByteArray region = Le16(0) + Le16(6) + Le32(0) + Le16(0) + Le16(kRects) + Le16(2) + Le16(0) + Le16(0) +
                            Le16(1000) + Le16(1000) + scans;
  QByteArray records = WmfRecord(0x06FF, region) + WmfRecord(0x02FC, Le16(0) + Le32(0) + Le16(0));
  const QByteArray fill = WmfRecord(0x0228, Le16(0) + Le16(1));
  for (int i = 0; i < 200'000; ++i) records += fill;
  records += WmfRecord(0, QByteArray());
  const QByteArray file = Le16(1) + Le16(9) + Le16(0x0300) + Le32((18 + records.size()) / 2) + Le16(2) + Le32(0) +
                          Le16(0) + records;
  const metafile::LoadResult result = metafile::Load(file);
  ASSERT_TRUE(result.Ok()) << result.error->ToString().toStdString();
  EXPECT_EQ(result.picture->RecordCount(), 200'003);
}

// Loading must not reach for fonts, which need a QGuiApplication this test
// binary does not have; text inside a path is where it once did.
TEST(LoadWithoutGui, TextInAPathIsMeasuredWithoutFonts) {
  // Bounds, graphics mode and scales; then the text: reference point, two
  // characters at byte 76 of the record, no options, no rectangle, no advances.
  const QByteArray body = QByteArray(16, '\0') + Le32(1) + Le32(0x3F800000) + Le32(0x3F800000) + Le32(10) +
                          Le32(20) + Le32(2) + Le32(76) + Le32(0) + QByteArray(16, '\0') + Le32(0) +
                          QByteArray("a\0b\0", 4);
  const QByteArray records = Le32(59) + Le32(8) +                      // begin path
                             Le32(84) + Le32(8 + body.size()) + body +  // wide text
                             Le32(60) + Le32(8) +                      // end path
                             Le32(64) + Le32(24) + QByteArray(16, '\0') +  // stroke it
                             Le32(14) + Le32(20) + QByteArray(12, '\0');
  const metafile::LoadResult result = metafile::Load(EmfWithRecords(0, {}) + records);
  ASSERT_TRUE(result.Ok()) << result.error->ToString().toStdString();
  EXPECT_EQ(result.picture->RecordCount(), 6);
}

TEST(Caps, DataBeyondTheFileCapIsRefusedBeforeReading) {
  const QByteArray bytes(static_cast<qsizetype>(metafile::limits::kMaxFileBytes + 1), '\0');
  const metafile::LoadResult result = metafile::Load(bytes);
  ASSERT_FALSE(result.Ok());
  EXPECT_EQ(result.error->kind, ErrorKind::kTooLarge);
}

TEST(Caps, EmptyAndTinyDataAreNotMetafiles) {
  for (const QByteArray& bytes : {QByteArray(), QByteArray("\x01", 1), QByteArray("\xD7\xCD\xC6\x9A", 4)}) {
    const metafile::LoadResult result = metafile::Load(bytes);
    ASSERT_FALSE(result.Ok());
    EXPECT_TRUE(result.error->kind == ErrorKind::kNotAMetafile || result.error->kind == ErrorKind::kTruncated);
  }
}

}  // namespace
