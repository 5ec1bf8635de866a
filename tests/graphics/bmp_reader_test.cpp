#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/bmp_file.h"
#include "graphics/bmp_reader.h"
#include "support/files.h"
#include "support/pictures.h"
#include "support/sprite_builder.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BmpBytesOf;
using testing::Rows;
using testing::WithField;

// Field offsets of the BMP header.
constexpr std::size_t kType = 0, kOffBits = 10, kInfoSize = 14, kWidth = 18, kHeight = 22,
                      kBitCount = 28, kCompression = 30, kClrUsed = 46;

const Rows kFiveByTwo{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}};

// Reads the bytes both ways, as a file on disk and held in memory; both must agree.
struct Read {
  bool Ok = false;
  PixelBuffer Pixels;
  BmpHeader Header;
};

Read ReadBoth(const Bytes& bmp) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "PICTURE.BMP", bmp);
  Read fromFile, fromMemory;
  fromFile.Ok = ReadBmpFile(folder / "PICTURE.BMP", fromFile.Header, fromFile.Pixels);
  fromMemory.Ok = ReadBmpPicture(bmp, fromMemory.Header, fromMemory.Pixels);
  EXPECT_EQ(fromFile.Ok, fromMemory.Ok);
  EXPECT_EQ(fromFile.Pixels.Bytes, fromMemory.Pixels.Bytes);
  EXPECT_EQ(fromFile.Pixels.Width, fromMemory.Pixels.Width);
  EXPECT_EQ(fromFile.Pixels.Height, fromMemory.Pixels.Height);
  return fromFile;
}

TEST(BmpReading, ABmpWrittenByTheToolComesBackIntoTheSamePixels) {
  PictureState picture;
  SetBmpPictureSize(picture.BmpHeader, 5, 2);
  picture.PixelBuffer = testing::PictureOf(kFiveByTwo);
  testing::TempFolder folder;
  testing::WriteBmpFile(folder / "X.BMP", picture);
  Read read;
  ASSERT_TRUE(ReadBmpFile(folder / "X.BMP", read.Header, read.Pixels));
  EXPECT_EQ(read.Pixels.Stride, 8);
  EXPECT_EQ(read.Pixels.Bytes, picture.PixelBuffer.Bytes);
  EXPECT_EQ(read.Header.biWidth, 5);
  EXPECT_EQ(read.Header.biHeight, 2);
}

TEST(BmpReading, RowsAreBottomUpAndPadBytesAreReadAsTheFileHasThem) {
  Bytes bmp = BmpBytesOf(kFiveByTwo);
  ASSERT_EQ(bmp.size(), 1078u + 16);
  bmp[1078 + 6] = 0xEE;  // a pad byte of the bottom row
  const Read read = ReadBoth(bmp);
  ASSERT_TRUE(read.Ok);
  EXPECT_EQ(read.Pixels.Bytes, (Bytes{6, 7, 8, 9, 10, 0, 0xEE, 0, 1, 2, 3, 4, 5, 0, 0, 0}));
  EXPECT_EQ(testing::TopDownGrid(read.Pixels),
            (std::vector<std::vector<int>>{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
}

TEST(BmpReading, AShortFileLeavesTheMissingPixelsZero) {
  Bytes bmp = BmpBytesOf(kFiveByTwo);
  bmp.resize(1078 + 3);
  const Read read = ReadBoth(bmp);
  ASSERT_TRUE(read.Ok);
  EXPECT_EQ(read.Pixels.Bytes, (Bytes{6, 7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Pixels stand where bfOffBits says when it is sound, else right after the palette.
struct OffsetCase {
  const char* Name;
  std::uint32_t InfoSize;
  std::uint32_t PaletteEntries;  // biClrUsed
  std::uint32_t OffBits;
  std::size_t PixelsAt;  // where the test puts the pixels
};

class PixelOffset : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(PixelOffset, PixelsAreReadFromWhereTheyStand) {
  const OffsetCase& c = GetParam();
  const Bytes written = BmpBytesOf(kFiveByTwo);
  Bytes bmp(written.begin(), written.begin() + 54);
  bmp = WithField(bmp, kOffBits, 4, c.OffBits);
  bmp = WithField(bmp, kInfoSize, 4, c.InfoSize);
  bmp = WithField(bmp, kClrUsed, 4, c.PaletteEntries);
  bmp.resize(c.PixelsAt, 0x55);  // header rest and palette
  bmp.insert(bmp.end(), written.begin() + 1078, written.end());
  const Read read = ReadBoth(bmp);
  ASSERT_TRUE(read.Ok);
  EXPECT_EQ(read.Pixels.Bytes, Bytes(written.begin() + 1078, written.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PixelOffset,
    ::testing::Values(OffsetCase{"AsTheToolWritesThem", 40, 256, 1078, 1078},
                      OffsetCase{"ClrUsedZeroMeans256", 40, 0, 1078, 1078},
                      OffsetCase{"SixteenColourPalette", 40, 16, 54 + 64, 54 + 64},
                      OffsetCase{"LongerInformationHeader", 124, 256, 14 + 124 + 1024, 1162},
                      OffsetCase{"GapAfterThePalette", 40, 256, 2000, 2000},
                      OffsetCase{"OffBitsInsideThePaletteIsIgnored", 40, 256, 54, 1078},
                      OffsetCase{"OffBitsPastTheEndIsIgnored", 40, 256, 999999, 1078},
                      OffsetCase{"OffBitsZeroIsIgnored", 40, 16, 0, 54 + 64}),
    [](const auto& info) { return std::string(info.param.Name); });

struct RefusedCase {
  const char* Name;
  Bytes File;
};

class RefusedBmp : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedBmp, IsNotRead) {
  Read read;
  read.Pixels = testing::PictureOf({{42}});
  testing::TempFolder folder;
  testing::WriteFile(folder / "PICTURE.BMP", GetParam().File);
  EXPECT_FALSE(ReadBmpFile(folder / "PICTURE.BMP", read.Header, read.Pixels));
  EXPECT_FALSE(ReadBmpPicture(GetParam().File, read.Header, read.Pixels));
  EXPECT_EQ(testing::TopDownGrid(read.Pixels), (std::vector<std::vector<int>>{{42}}));
}

const Bytes kValid = BmpBytesOf(kFiveByTwo);

Bytes Prefix(const Bytes& bytes, std::size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedBmp,
    ::testing::Values(
        RefusedCase{"TwentyFourBit", WithField(kValid, kBitCount, 2, 24)},
        RefusedCase{"FourBit", WithField(kValid, kBitCount, 2, 4)},
        RefusedCase{"RunLengthCoded", WithField(kValid, kCompression, 4, 1)},
        RefusedCase{"LowerCaseBm", WithField(kValid, kType, 2, 'b' | ('m' << 8))},
        RefusedCase{"NotBm", WithField(kValid, kType, 2, 'B' | ('A' << 8))},
        RefusedCase{"WidthZero", WithField(kValid, kWidth, 4, 0)},
        RefusedCase{"HeightZero", WithField(kValid, kHeight, 4, 0)},
        RefusedCase{"TopDown", WithField(kValid, kHeight, 4, static_cast<std::uint32_t>(-2))},
        RefusedCase{"NegativeWidth", WithField(kValid, kWidth, 4, static_cast<std::uint32_t>(-5))},
        RefusedCase{"WiderThan32768", WithField(kValid, kWidth, 4, 32769)},
        RefusedCase{"HigherThan32768", WithField(kValid, kHeight, 4, 32769)},
        RefusedCase{"CoreHeader", WithField(kValid, kInfoSize, 4, 12)},
        RefusedCase{"ShorterThanItsHeader", Prefix(kValid, 53)},
        RefusedCase{"ShorterThanItsPalette", Prefix(kValid, 1077)},
        RefusedCase{"ShorterThanItsSmallPalette",
                    Prefix(WithField(kValid, kClrUsed, 4, 16), 54 + 63)},
        RefusedCase{"Empty", Bytes{}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BmpReading, TheLargestSidesAreAccepted) {
  const Bytes bmp = WithField(WithField(kValid, kWidth, 4, 32768), kHeight, 4, 1);
  const Read read = ReadBoth(bmp);
  ASSERT_TRUE(read.Ok);
  EXPECT_EQ(read.Pixels.Width, 32768);
  EXPECT_EQ(read.Pixels.Bytes.size(), 32768u);
}

TEST(BmpReading, AMissingFileOrAFolderIsRefused) {
  testing::TempFolder folder;
  std::filesystem::create_directory(folder / "FOLDER.BMP");
  BmpHeader header;
  PixelBuffer pixels;
  EXPECT_FALSE(ReadBmpFile(folder / "MISSING.BMP", header, pixels));
  EXPECT_FALSE(ReadBmpFile(folder / "FOLDER.BMP", header, pixels));
}

}  // namespace
}  // namespace zorvane::graphics
