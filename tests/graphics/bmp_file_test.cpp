#include <gtest/gtest.h>

#include "graphics/bmp_file.h"
#include "platform/little_endian.h"
#include "support/files.h"
#include "support/pictures.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BmpSize {
  std::int32_t Width;
  std::int32_t Height;
  std::uint32_t Stride;
  std::uint32_t FileSize;
};

class BmpLayout : public ::testing::TestWithParam<BmpSize> {
 protected:
  // Writes a picture whose pixel (x, y) is 10 * y + x + 1 (y = 0 the bottom row) and whose
  // palette has a Spare byte that must not reach the file.
  Bytes Write() {
    const BmpSize& size = GetParam();
    PictureState picture;
    picture.BmpHeader.bfType[0] = 'X';  // the constant fields are set anew for every sprite
    picture.BmpHeader.biCompression = 7;
    SetBmpConstantFields(picture.BmpHeader);
    SetBmpPictureSize(picture.BmpHeader, size.Width, size.Height);
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
      const auto v = static_cast<std::uint8_t>(i);
      picture.BmpPalette[i] = {v, static_cast<std::uint8_t>(v ^ 0x55),
                               static_cast<std::uint8_t>(v ^ 0xAA), 99};
    }
    ResetPixelBuffer(picture.PixelBuffer, size.Width, size.Height);
    for (std::int32_t y = 0; y < size.Height; ++y) {
      for (std::int32_t x = 0; x < size.Width; ++x) {
        picture.PixelBuffer.Row(y)[x] = static_cast<std::uint8_t>(10 * y + x + 1);
      }
    }
    testing::WriteBmpFile(temp / "P.BMP", picture);
    return testing::ReadFile(temp / "P.BMP");
  }

  testing::TempFolder temp;
};

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return platform::ReadUint32(b.data() + at);
}
std::uint16_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(platform::ReadInt16(b.data() + at));
}

TEST_P(BmpLayout, HeaderFieldsAreThoseOfAnUncompressed8BitBmp) {
  const BmpSize& size = GetParam();
  const Bytes bmp = Write();
  ASSERT_EQ(bmp.size(), size.FileSize);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), size.FileSize);  // bfSize
  EXPECT_EQ(U32(bmp, 6), 0u);             // bfReserved1, bfReserved2
  EXPECT_EQ(U32(bmp, 10), 1078u);         // bfOffBits
  EXPECT_EQ(U32(bmp, 14), 40u);           // biSize
  EXPECT_EQ(U32(bmp, 18), static_cast<std::uint32_t>(size.Width));
  EXPECT_EQ(U32(bmp, 22), static_cast<std::uint32_t>(size.Height));
  EXPECT_EQ(U16(bmp, 26), 1);   // biPlanes
  EXPECT_EQ(U16(bmp, 28), 8);   // biBitCount
  EXPECT_EQ(U32(bmp, 30), 0u);  // biCompression
  EXPECT_EQ(U32(bmp, 34), size.Stride * static_cast<std::uint32_t>(size.Height));
  EXPECT_EQ(U32(bmp, 38), 0u);
  EXPECT_EQ(U32(bmp, 42), 0u);
  EXPECT_EQ(U32(bmp, 46), 256u);  // biClrUsed
  EXPECT_EQ(U32(bmp, 50), 0u);    // biClrImportant
}

TEST_P(BmpLayout, PaletteHasItsFourthByteZero) {
  const Bytes bmp = Write();
  ASSERT_GE(bmp.size(), 1078u);
  for (std::size_t i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    EXPECT_EQ(
        Bytes(bmp.begin() + 54 + 4 * i, bmp.begin() + 58 + 4 * i),
        (Bytes{v, static_cast<std::uint8_t>(v ^ 0x55), static_cast<std::uint8_t>(v ^ 0xAA), 0}))
        << i;
  }
}

TEST_P(BmpLayout, RowsGoBottomUpPaddedWithZeros) {
  const BmpSize& size = GetParam();
  const Bytes bmp = Write();
  ASSERT_EQ(bmp.size(), size.FileSize);
  for (std::int32_t y = 0; y < size.Height; ++y) {
    for (std::uint32_t x = 0; x < size.Stride; ++x) {
      const std::uint8_t expected = x < static_cast<std::uint32_t>(size.Width)
                                        ? static_cast<std::uint8_t>(10 * y + x + 1)
                                        : 0;
      ASSERT_EQ(bmp[1078 + y * size.Stride + x], expected) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpLayout,
                         ::testing::Values(BmpSize{1, 1, 4, 1082}, BmpSize{5, 2, 8, 1094},
                                           BmpSize{64, 48, 64, 4150}, BmpSize{7, 3, 8, 1102},
                                           BmpSize{4, 1, 4, 1082}));

TEST(Stride, RoundsTheWidthUpToAMultipleOfFour) {
  EXPECT_EQ(Stride(4), 4);
  EXPECT_EQ(Stride(5), 8);
  EXPECT_EQ(Stride(7), 8);
  EXPECT_EQ(Stride(32768), 32768);
}

}  // namespace
}  // namespace zorvane::graphics
