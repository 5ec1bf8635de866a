#include <gtest/gtest.h>

#include <random>

#include "graphics/sprite_decoder.h"
#include "graphics/sprite_encoder.h"
#include "graphics/sprite_format.h"
#include "graphics/sprite_packer.h"
#include "support/pictures.h"
#include "support/sprite_builder.h"

namespace zorvane::graphics {
namespace {

using testing::PictureOf;
using testing::Rows;
using Bytes = std::vector<std::uint8_t>;

constexpr int T = 213;

// A row of `count` pixels of one colour.
std::vector<int> Repeat(int colour, int count) {
  return std::vector<int>(static_cast<std::size_t>(count), colour);
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> row;
  for (const auto& part : parts) row.insert(row.end(), part.begin(), part.end());
  return row;
}

struct Box {
  std::int32_t XStart, YStart, XEnd, YEnd;
  bool operator==(const Box&) const = default;
};

struct EncodeCase {
  const char* Name;
  Rows Picture;
  bool UseTransparency;
  Box ExpectedBox;
  Bytes ExpectedStream;
};

void PrintTo(const EncodeCase& c, std::ostream* out) {
  *out << c.Name;
}

Bytes StreamOf(const EncodedImage& image) {
  return Bytes(image.ImageStream.begin(),
               image.ImageStream.begin() + static_cast<std::ptrdiff_t>(image.StreamLength));
}

class Encoding : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Encoding, GivesTheBoxAndTheStream) {
  const EncodeCase& c = GetParam();
  EncodedImage image;
  // Pad bytes that differ from every pixel must never be coded.
  EncodeShpImage(PictureOf(c.Picture, 77), c.UseTransparency, image);
  EXPECT_FALSE(image.Empty);
  EXPECT_EQ(image.Header.MaxRow, static_cast<std::int16_t>(c.Picture.size() - 1));
  EXPECT_EQ(image.Header.MaxColumn, static_cast<std::int16_t>(c.Picture[0].size() - 1));
  EXPECT_EQ((Box{image.Header.XStart, image.Header.YStart, image.Header.XEnd, image.Header.YEnd}),
            c.ExpectedBox);
  EXPECT_EQ(StreamOf(image), c.ExpectedStream);
}

const std::vector<int> kAlternating130 = [] {
  std::vector<int> row;
  for (int i = 0; i < 130; ++i) row.push_back(1 + i % 2);
  return row;
}();

Bytes LiteralOf130() {
  Bytes stream{255};
  for (int i = 0; i < 127; ++i) stream.push_back(static_cast<std::uint8_t>(1 + i % 2));
  stream.insert(stream.end(), {7, 2, 1, 2, 0});
  return stream;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Encoding,
    ::testing::Values(
        EncodeCase{"SixByThree",
                   {{T, T, 5, 5, 5, 9}, Repeat(T, 6), {7, T, T, 8, 8, T}},
                   true,
                   {0, 0, 5, 2},
                   {1, 2, 6, 5, 3, 9, 0, 0, 3, 7, 1, 2, 4, 8, 0}},
        EncodeCase{
            "GapBeforeTheLastPixel", {{5, T, T, 9}}, true, {0, 0, 3, 0}, {3, 5, 1, 2, 3, 9, 0}},
        EncodeCase{"WithoutTransparencyEveryRowEnds",
                   {{1, 1, 1, 1}, {2, 3, 3, 3}},
                   false,
                   {0, 0, 3, 1},
                   {8, 1, 0, 3, 2, 6, 3, 0}},
        EncodeCase{"PairAtTheStartIsARunFinalPairIsLiteral",
                   {{4, 4, 6, 6, 6, 6, 9, 9}},
                   false,
                   {0, 0, 7, 0},
                   {4, 4, 8, 6, 5, 9, 9, 0}},
        EncodeCase{"NoThreeEqualStaysLiteral",
                   {{1, 2, 1, 2, 1, 2, 7, 7}},
                   false,
                   {0, 0, 7, 0},
                   {17, 1, 2, 1, 2, 1, 2, 7, 7, 0}},
        EncodeCase{"PairAfterARunStaysLiteral",
                   {{5, 5, 5, 7, 7, 9}},
                   false,
                   {0, 0, 5, 0},
                   {6, 5, 7, 7, 7, 9, 0}},
        EncodeCase{"PairInsideALiteralStaysLiteral",
                   {{1, 2, 2, 3, 4}},
                   false,
                   {0, 0, 4, 0},
                   {11, 1, 2, 2, 3, 4, 0}},
        EncodeCase{"PairAfterAGapIsARun",
                   {{5, T, 7, 7, 8}},
                   true,
                   {0, 0, 4, 0},
                   {3, 5, 1, 1, 4, 7, 3, 8, 0}},
        EncodeCase{"LeadingGapLeftOfTheBoxCodesNothing",
                   {Concat({Repeat(T, 300), {9}})},
                   true,
                   {300, 0, 300, 0},
                   {3, 9, 0}},
        EncodeCase{"GapOf300",
                   {Concat({{9}, Repeat(T, 300), {9, 9}})},
                   true,
                   {0, 0, 302, 0},
                   {3, 9, 1, 255, 1, 45, 4, 9, 0}},
        EncodeCase{"GapOf255",
                   {Concat({{9}, Repeat(T, 255), {9}})},
                   true,
                   {0, 0, 256, 0},
                   {3, 9, 1, 255, 3, 9, 0}},
        EncodeCase{"GapOf510",
                   {Concat({{9}, Repeat(T, 510), {9}})},
                   true,
                   {0, 0, 511, 0},
                   {3, 9, 1, 255, 1, 255, 3, 9, 0}},
        EncodeCase{"LeadingGapRightOfTheBoxIsCoded",
                   {{T, T, 4, 4}, {3, T, T, T}},
                   true,
                   {0, 0, 3, 1},
                   {1, 2, 4, 4, 0, 3, 3, 0}},
        EncodeCase{
            "GapAtTheRightEndIsNotCoded", {{6, 6, 6, T, T, T, T}}, true, {0, 0, 2, 0}, {6, 6, 0}},
        EncodeCase{"OnlyTheBottomRowVisible",
                   {Repeat(T, 3), Repeat(T, 3), Repeat(T, 3), {1, 2, 3}},
                   true,
                   {0, 3, 2, 3},
                   {7, 1, 2, 3, 0}},
        EncodeCase{"TransparentRowsInsideTheBoxAreEnded",
                   {{T, 1, T}, Repeat(T, 3), {T, 2, T}, Repeat(T, 3)},
                   true,
                   {1, 0, 1, 2},
                   {3, 1, 0, 0, 3, 2, 0}},
        EncodeCase{"All213WithoutTransparencyIsCoded",
                   {{T, T}, {T, T}},
                   false,
                   {0, 0, 1, 1},
                   {4, 213, 0, 4, 213, 0}},
        EncodeCase{
            "WidthOneNeverRuns", {{4}, {4}, {6}}, false, {0, 0, 0, 2}, {3, 4, 0, 3, 4, 0, 3, 6, 0}},
        EncodeCase{"RunOf200", {Repeat(3, 200)}, false, {0, 0, 199, 0}, {254, 3, 146, 3, 0}},
        EncodeCase{"RunOf127", {Repeat(3, 127)}, false, {0, 0, 126, 0}, {254, 3, 0}},
        EncodeCase{"RunOf128", {Repeat(3, 128)}, false, {0, 0, 127, 0}, {254, 3, 2, 3, 0}},
        EncodeCase{"LiteralOf130", {kAlternating130}, false, {0, 0, 129, 0}, LiteralOf130()}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Encoding, AnAll213PictureWithTransparencyIsStoredAsTheEmptyMarker) {
  EncodedImage image;
  EncodeShpImage(PictureOf({Repeat(T, 4), Repeat(T, 4)}), true, image);
  EXPECT_TRUE(image.Empty);
  EXPECT_EQ(image.StreamLength, 0u);
  Bytes pack{0xAA};  // what lies in front stays
  StoreShpImage(image, pack);
  EXPECT_EQ(pack,
            (Bytes{0xAA, 1,    0,    3,    0,    0,    0,    0,    0,    0xFE, 0xFE, 0xFE, 0x7F,
                   0xFE, 0xFE, 0xFE, 0x7F, 0xFE, 0xFE, 0xFE, 0x80, 0xFE, 0xFE, 0xFE, 0x80}));
}

TEST(Encoding, TheSubImageIsItsHeaderFollowedByItsStream) {
  EncodedImage image;
  EncodeShpImage(PictureOf({{T, T, 5, 5, 5, 9}, Repeat(T, 6), {7, T, T, 8, 8, T}}), true, image);
  Bytes pack;
  StoreShpImage(image, pack);
  EXPECT_EQ(pack, (Bytes{2, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0,
                         2, 0, 0, 0, 1, 2, 6, 5, 3, 9, 0, 0, 3, 7, 1, 2, 4, 8, 0}));
}

TEST(Encoding, TheStreamBufferOfAnEarlierPictureIsNotCarriedOver) {
  EncodedImage image;
  EncodeShpImage(PictureOf({Repeat(1, 40), Repeat(2, 40)}), false, image);
  EncodeShpImage(PictureOf({{5}}), false, image);
  Bytes pack;
  StoreShpImage(image, pack);
  EXPECT_EQ(pack, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 5, 0}));
}

struct EmitCase {
  const char* Name;
  Bytes (*Emit)();
  Bytes Expected;
};

Bytes Emitted(std::uint8_t* (*emit)(std::uint8_t*), std::size_t room = 400) {
  Bytes out(room);
  out.resize(static_cast<std::size_t>(emit(out.data()) - out.data()));
  return out;
}

class Emitters : public ::testing::TestWithParam<EmitCase> {};

TEST_P(Emitters, AppendTheirCodes) {
  EXPECT_EQ(GetParam().Emit(), GetParam().Expected);
}

const Bytes kSeven{1, 2, 3, 4, 5, 6, 7};

INSTANTIATE_TEST_SUITE_P(
    Codes, Emitters,
    ::testing::Values(
        EmitCase{"SkipOf300",
                 [] { return Emitted([](std::uint8_t* out) { return EmitSkip(out, 300); }); },
                 {1, 255, 1, 45}},
        EmitCase{"SkipOf255",
                 [] { return Emitted([](std::uint8_t* out) { return EmitSkip(out, 255); }); },
                 {1, 255}},
        EmitCase{"SkipOf510",
                 [] { return Emitted([](std::uint8_t* out) { return EmitSkip(out, 510); }); },
                 {1, 255, 1, 255}},
        EmitCase{"SkipOfNothing",
                 [] { return Emitted([](std::uint8_t* out) { return EmitSkip(out, 0); }); },
                 {}},
        EmitCase{"RunOf200",
                 [] { return Emitted([](std::uint8_t* out) { return EmitRun(out, 200, 3); }); },
                 {254, 3, 146, 3}},
        EmitCase{"RunOfOne",
                 [] { return Emitted([](std::uint8_t* out) { return EmitRun(out, 1, 9); }); },
                 {2, 9}},
        EmitCase{"LiteralOfSeven",
                 [] {
                   return Emitted(
                       [](std::uint8_t* out) { return EmitLiteral(out, kSeven.data(), 7); });
                 },
                 {15, 1, 2, 3, 4, 5, 6, 7}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Random pictures coded and decoded again, in every combination of the transparency of the
// coding and of the decoding.
struct CodeThenDecodeCase {
  bool EncodeTransparent;
  bool DecodeTransparent;
  bool With213;
};

class CodeThenDecode : public ::testing::TestWithParam<CodeThenDecodeCase> {};

Rows RandomPicture(std::mt19937& random, bool with213) {
  std::uniform_int_distribution<int> side(1, 300);
  // Small sets of colours make runs and pairs; a long stretch of one colour makes long runs.
  const std::vector<int> colours =
      with213 ? std::vector<int>{T, T, 1, 2, 206, T, 255, 0} : std::vector<int>{1, 2, 206, 255, 0};
  std::uniform_int_distribution<std::size_t> pick(0, colours.size() - 1);
  std::uniform_int_distribution<int> stretch(1, 8);
  std::uniform_int_distribution<int> longStretch(1, 400);
  const int width = side(random);
  const int height = side(random);
  Rows rows(static_cast<std::size_t>(height));
  for (auto& row : rows) {
    while (static_cast<int>(row.size()) < width) {
      const int colour = colours[pick(random)];
      const int length = random() % 10 == 0 ? longStretch(random) : stretch(random);
      for (int i = 0; i < length && static_cast<int>(row.size()) < width; ++i) {
        row.push_back(random() % 7 == 0 ? static_cast<int>(random() % 256) : colour);
      }
    }
  }
  return rows;
}

// What the decoder gives for a pixel of the coded picture.
int Decoded(int pixel, const CodeThenDecodeCase& c) {
  if (c.EncodeTransparent && pixel == T) return c.DecodeTransparent ? T : 0;
  return c.DecodeTransparent && pixel == T ? 206 : pixel;
}

TEST_P(CodeThenDecode, DecodingTheCodedPictureGivesItBack) {
  const CodeThenDecodeCase& c = GetParam();
  std::mt19937 random(c.EncodeTransparent * 4 + c.DecodeTransparent * 2 + c.With213);
  for (int picture = 0; picture < 60; ++picture) {
    const Rows rows =
        picture == 0 && c.With213 ? Rows(3, Repeat(T, 5)) : RandomPicture(random, c.With213);
    SpritePacker packer;
    ASSERT_TRUE(packer.Add(PictureOf(rows, 99), c.EncodeTransparent));
    // A second sub-image keeps the file past the 40 bytes a usable file has at least.
    ASSERT_TRUE(packer.Add(PictureOf({{1}}), false));
    const Bytes file = packer.FileBytes();
    const ShpFileReader reader(file);
    const auto image = reader.SubImage(0);
    ASSERT_TRUE(image.has_value());
    PixelBuffer decoded;
    DecodeShpImage(*image, c.DecodeTransparent, decoded);
    Rows expected = rows;
    for (auto& row : expected) {
      for (int& pixel : row) pixel = Decoded(pixel, c);
    }
    ASSERT_EQ(testing::TopDownGrid(decoded), expected) << "picture " << picture;
  }
}

INSTANTIATE_TEST_SUITE_P(Random, CodeThenDecode,
                         ::testing::Values(CodeThenDecodeCase{true, true, true},
                                           CodeThenDecodeCase{true, true, false},
                                           CodeThenDecodeCase{true, false, true},
                                           CodeThenDecodeCase{false, false, true},
                                           CodeThenDecodeCase{false, true, true},
                                           CodeThenDecodeCase{false, false, false}),
                         [](const auto& info) {
                           const CodeThenDecodeCase& c = info.param;
                           return std::string(c.EncodeTransparent ? "Transparent" : "Opaque") +
                                  "Coded" +
                                  (c.DecodeTransparent ? "TransparentDecoded" : "OpaqueDecoded") +
                                  (c.With213 ? "With213" : "Without213");
                         });

// The box of a picture coded with transparency is the smallest that holds every visible pixel.
TEST(Encoding, TheBoxIsTheSmallestAroundTheVisiblePixelsWithTransparency) {
  std::mt19937 random(7);
  for (int picture = 0; picture < 40; ++picture) {
    Rows rows(static_cast<std::size_t>(random() % 30 + 1),
              Repeat(T, static_cast<int>(random() % 30 + 1)));
    const int dots = static_cast<int>(random() % 4 + 1);
    std::int32_t left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
    for (int dot = 0; dot < dots; ++dot) {
      const auto y = static_cast<std::int32_t>(random() % rows.size());
      const auto x = static_cast<std::int32_t>(random() % rows[0].size());
      rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 5;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
    EncodedImage image;
    EncodeShpImage(PictureOf(rows), true, image);
    EXPECT_EQ((Box{image.Header.XStart, image.Header.YStart, image.Header.XEnd, image.Header.YEnd}),
              (Box{left, top, right, bottom}));
  }
}

}  // namespace
}  // namespace zorvane::graphics
