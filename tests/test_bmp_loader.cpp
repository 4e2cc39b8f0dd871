// The BMP loader against hand-made files with hand-computed pixels, against
// independent decoders (the BMP Suite read by ImageMagick) and against
// independent encoders (ImageMagick, ffmpeg, Pillow).
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <optional>
#include <set>

#include "imaging/bmp_loader.h"
#include "platform/scripted_platform.h"
#include "support/bmp_oracle.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

const char* const kOpenFailedPrefix = "Failed to open DIB file ";
const char* const kOutOfMemory = "Out of memory.";
const char* const kUnknownFormat = "Unknown DIB file format.";
const char* const kConversionError = "Image file conversion error.";

// ---- hand-made files -------------------------------------------------------

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

using Colour = std::array<std::uint8_t, 3>;  // red, green, blue

// What to write into a hand-made BMP. Pixel bytes are given exactly as stored.
struct DibContent {
    bool coreHeader = false;
    bool fileHeader = true;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<Colour> palette = {};
    std::vector<std::uint32_t> masks = {};  // written between header and palette
    Bytes pixels = {};
    std::optional<std::uint32_t> pixelOffset = {};  // overrides the computed one
};

Bytes BuildDib(const DibContent& content) {
    Bytes dib;
    if (content.coreHeader) {
        Put32(dib, 12);
        Put16(dib, static_cast<std::uint32_t>(content.width));
        Put16(dib, static_cast<std::uint32_t>(content.height));
        Put16(dib, 1);
        Put16(dib, content.bitCount);
    } else {
        Put32(dib, 40);
        Put32(dib, static_cast<std::uint32_t>(content.width));
        Put32(dib, static_cast<std::uint32_t>(content.height));
        Put16(dib, 1);
        Put16(dib, content.bitCount);
        Put32(dib, content.compression);
        Put32(dib, 0);  // image size
        Put32(dib, 2835);
        Put32(dib, 2835);
        Put32(dib, content.coloursUsed);
        Put32(dib, 0);
    }
    for (std::uint32_t mask : content.masks) Put32(dib, mask);
    for (const Colour& c : content.palette) {
        dib.insert(dib.end(), {c[2], c[1], c[0]});
        if (!content.coreHeader) dib.push_back(0);
    }
    Bytes file;
    if (content.fileHeader) {
        file = {'B', 'M'};
        Put32(file, static_cast<std::uint32_t>(14 + dib.size() + content.pixels.size()));
        Put32(file, 0);
        Put32(file, content.pixelOffset.value_or(static_cast<std::uint32_t>(14 + dib.size())));
    }
    file.insert(file.end(), dib.begin(), dib.end());
    file.insert(file.end(), content.pixels.begin(), content.pixels.end());
    return file;
}

struct Decoded {
    std::unique_ptr<ImageRecord> image;
    DibError error = DibError::None;
};

Decoded Decode(const Bytes& bytes) {
    Decoded result;
    result.image = DecodeDib(bytes, result.error);
    return result;
}

// Pixel (x, y) with y counted from the bottom row.
Colour PixelAt(const ImageRecord& image, int x, int y) {
    std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
}

// Flattens rows of colours given bottom row first.
Bytes Rows(std::initializer_list<std::initializer_list<Colour>> rows) {
    Bytes rgb;
    for (const auto& row : rows) {
        for (const Colour& c : row) rgb.insert(rgb.end(), c.begin(), c.end());
    }
    return rgb;
}

constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kGrey{128, 128, 128};
const std::vector<Colour> kFourColours{kRed, kGreen, kBlue, kWhite};

// ---- layout of the result --------------------------------------------------

TEST(BmpLayout, ThreePixelWide24BitRowsComeOutPackedAsRgb) {
    DibContent content{.width = 3, .height = 2, .bitCount = 24};
    // Stored blue-green-red, each 9-byte row padded by 3 junk bytes.
    content.pixels = {0,   0,   255, 0, 255, 0, 255, 0,   0,   0xEE, 0xEE, 0xEE,
                      255, 255, 255, 0, 0,   0, 128, 128, 128, 0xEE, 0xEE, 0xEE};
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
    EXPECT_EQ(d.image->width, 3);
    EXPECT_EQ(d.image->height, 2);
    EXPECT_EQ(d.image->pixels, Rows({{kRed, kGreen, kBlue}, {kWhite, kBlack, kGrey}}));
}

TEST(BmpLayout, TopDownPictureComesOutBottomRowFirst) {
    DibContent bottomUp{.width = 1, .height = 2, .bitCount = 24};
    bottomUp.pixels = {0, 0, 255, 0, 0, 255, 0, 0};  // red bottom, green top (4-byte rows)
    DibContent topDown = bottomUp;
    topDown.height = -2;
    topDown.pixels = {0, 255, 0, 0, 0, 0, 255, 0};  // green stored first
    Decoded a = Decode(BuildDib(bottomUp));
    Decoded b = Decode(BuildDib(topDown));
    ASSERT_TRUE(a.image && b.image);
    EXPECT_EQ(b.image->height, 2);
    EXPECT_EQ(a.image->pixels, Rows({{kRed}, {kGreen}}));
    EXPECT_EQ(b.image->pixels, a.image->pixels);
}

TEST(BmpLayout, SizeIsNeverScaled) {
    DibContent content{
        .width = 300, .height = 7, .bitCount = 8, .coloursUsed = 4, .palette = kFourColours};
    content.pixels.assign(300 * 7, 2);
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.image->width, 300);
    EXPECT_EQ(d.image->height, 7);
    EXPECT_EQ(d.image->pixels.size(), 300u * 7 * 3);
}

// ---- palettes and header forms ---------------------------------------------

TEST(BmpPalette, IndexedDepthsReadTheirBitsLeftmostPixelFirst) {
    struct Case {
        std::uint16_t bitCount;
        Bytes row;  // one stored row of 4 pixels: indices 1, 0, 3, 2
    };
    const Case cases[] = {
        {1, {0b10110000, 0, 0, 0}},  // 1-bit can only hold 0 and 1: indices 1,0,1,1
        {4, {0x10, 0x32, 0, 0}},
        {8, {1, 0, 3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        DibContent content{.width = 4,
                           .height = 1,
                           .bitCount = c.bitCount,
                           .coloursUsed = 4,
                           .palette = kFourColours,
                           .pixels = c.row};
        if (c.bitCount == 1) {
            content.palette = {kRed, kGreen};
            content.coloursUsed = 2;
        }
        Decoded d = Decode(BuildDib(content));
        ASSERT_TRUE(d.image);
        Bytes expected = c.bitCount == 1 ? Rows({{kGreen, kRed, kGreen, kGreen}})
                                         : Rows({{kGreen, kRed, kWhite, kBlue}});
        EXPECT_EQ(d.image->pixels, expected);
    }
}

TEST(BmpPalette, ColoursUsedSixteenReadsExactlySixteenEntries) {
    // A bare DIB: the pixels start right behind the 16 entries, so reading
    // 256 entries would both misplace the pixels and run past the data.
    DibContent content{
        .fileHeader = false, .width = 4, .height = 1, .bitCount = 8, .coloursUsed = 16};
    for (int i = 0; i < 16; ++i) {
        content.palette.push_back(
            {static_cast<std::uint8_t>(i * 16), 0, static_cast<std::uint8_t>(255 - i)});
    }
    content.pixels = {0, 5, 15, 9};
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
    EXPECT_EQ(
        d.image->pixels,
        Rows({{Colour{0, 0, 255}, Colour{80, 0, 250}, Colour{240, 0, 240}, Colour{144, 0, 246}}}));
}

TEST(BmpPalette, ColoursUsedKeepsItsLow16BitsOnly) {
    DibContent content{.fileHeader = false,
                       .width = 2,
                       .height = 1,
                       .bitCount = 8,
                       .coloursUsed = 0x00030002,
                       .palette = {kRed, kBlue},
                       .pixels = {1, 0, 0, 0}};
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
    EXPECT_EQ(d.image->pixels, Rows({{kBlue, kRed}}));
}

TEST(BmpPalette, IndexBeyondTheGivenPaletteIsBlack) {
    DibContent content{.width = 2,
                       .height = 1,
                       .bitCount = 8,
                       .coloursUsed = 2,
                       .palette = {kRed, kBlue},
                       .pixels = {1, 200, 0, 0}};
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.image->pixels, Rows({{kBlue, kBlack}}));
}

TEST(BmpHeaders, CoreAndInfoHeadersWithAndWithoutFileHeaderGiveTheSamePicture) {
    const Bytes expected = Rows({{kGreen, kRed, kWhite}, {kBlue, kBlue, kRed}});
    for (std::uint16_t bitCount : {4, 8, 24}) {
        for (bool core : {false, true}) {
            for (bool fileHeader : {true, false}) {
                SCOPED_TRACE(::testing::Message() << bitCount << " bits, core " << core
                                                  << ", file header " << fileHeader);
                DibContent content{.coreHeader = core,
                                   .fileHeader = fileHeader,
                                   .width = 3,
                                   .height = 2,
                                   .bitCount = bitCount};
                if (bitCount == 4) {
                    content.palette.assign(16, kBlack);
                    std::copy(kFourColours.begin(), kFourColours.end(), content.palette.begin());
                    content.pixels = {0x10, 0x30, 0, 0, 0x22, 0x00, 0, 0};
                } else if (bitCount == 8) {
                    content.palette.assign(256, kBlack);
                    std::copy(kFourColours.begin(), kFourColours.end(), content.palette.begin());
                    content.pixels = {1, 0, 3, 0, 2, 2, 0, 0};
                } else {
                    content.pixels = {0,   255, 0, 0,   0, 255, 255, 255, 255, 0, 0, 0,
                                      255, 0,   0, 255, 0, 0,   0,   0,   255, 0, 0, 0};
                }
                Decoded d = Decode(BuildDib(content));
                ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
                EXPECT_EQ(d.image->pixels, expected);
            }
        }
    }
}

TEST(BmpHeaders, OnlyCoreAndInfoHeaderSizesAreAccepted) {
    for (std::uint32_t size : {16u, 52u, 56u, 64u, 108u, 124u, 0u, 39u, 41u}) {
        SCOPED_TRACE(size);
        Bytes file = BuildDib({.width = 1, .height = 1, .bitCount = 24, .pixels = {1, 2, 3, 0}});
        file[14] = static_cast<std::uint8_t>(size);
        file.insert(file.end(), 128, 0);  // room for the larger header
        Decoded d = Decode(file);
        EXPECT_FALSE(d.image);
        EXPECT_EQ(d.error, DibError::UnknownFormat);
    }
}

// ---- 16- and 32-bit masks --------------------------------------------------

TEST(BmpMasks, DirectColourPixelsFollowTheirMasks) {
    struct Case {
        const char* name;
        std::uint16_t bitCount;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        Bytes pixels;  // two pixels, one row, padded
        Bytes expected;
    };
    const Case cases[] = {
        {"5-5-5 by default", 16, 0, {}, {0x00, 0x7C, 0x10, 0x42},
         Rows({{kRed, Colour{132, 132, 132}}})},
        {"5-6-5 bit fields", 16, 3, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x1F, 0x00},
         Rows({{kGreen, kBlue}})},
        {"8-8-8 by default", 32, 0, {}, {1, 2, 3, 99, 255, 0, 128, 0},
         Rows({{Colour{3, 2, 1}, Colour{128, 0, 255}}})},
        {"32-bit fields in another order", 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000},
         {1, 2, 3, 0, 255, 0, 128, 0}, Rows({{Colour{1, 2, 3}, Colour{255, 0, 128}}})},
        {"10-bit fields scale to 8", 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF},
         {0xFF, 0xFF, 0xFF, 0x3F, 0x00, 0x00, 0x00, 0x00}, Rows({{kWhite, kBlack}})},
        {"empty mask gives 0", 16, 3, {0, 0x03E0, 0x001F}, {0xFF, 0x7F, 0, 0},
         Rows({{Colour{0, 255, 255}, kBlack}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibContent content{.width = 2,
                           .height = 1,
                           .bitCount = c.bitCount,
                           .compression = c.compression,
                           .masks = c.masks,
                           .pixels = c.pixels};
        Decoded d = Decode(BuildDib(content));
        ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
        EXPECT_EQ(d.image->pixels, c.expected);
    }
}

TEST(BmpMasks, BareDibPixelsStartBehindTheMasks) {
    DibContent content{.fileHeader = false,
                       .width = 1,
                       .height = 1,
                       .bitCount = 16,
                       .compression = 3,
                       .masks = {0xF800, 0x07E0, 0x001F},
                       .pixels = {0x00, 0xF8, 0, 0}};
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
    EXPECT_EQ(d.image->pixels, Rows({{kRed}}));
}

// ---- run-length encoding ---------------------------------------------------

// Palette for the run-length cases: index 0 is grey, so a pixel the data
// never sets is told apart from black.
const std::vector<Colour> kRlePalette{kGrey, kRed, kGreen, kBlue, kWhite};

struct RleCase {
    const char* name;
    std::uint32_t compression;  // 1 = RLE8, 2 = RLE4
    std::int32_t width;
    std::int32_t height;
    Bytes data;
    Bytes expected;  // bottom row first
};

const Colour G = kGrey, R = kRed, N = kGreen, B = kBlue, W = kWhite;

Bytes BuildRleDib(const RleCase& c) {
    return BuildDib({.width = c.width,
                     .height = c.height,
                     .bitCount = static_cast<std::uint16_t>(c.compression == 1 ? 8 : 4),
                     .compression = c.compression,
                     .coloursUsed = 5,
                     .palette = kRlePalette,
                     .pixels = c.data});
}

TEST(BmpRunLength, DecodesRunsAbsoluteBlocksAndEscapes) {
    const RleCase cases[] = {
        {"RLE8 runs and end of line", 1, 3, 2, {3, 1, 0, 0, 2, 2, 1, 3, 0, 1},
         Rows({{R, R, R}, {N, N, B}})},
        {"RLE8 absolute block with odd count is padded", 1, 4, 1, {0, 3, 1, 2, 3, 0xAA, 1, 4, 0, 1},
         Rows({{R, N, B, W}})},
        {"RLE8 delta leaves index 0", 1, 3, 3, {1, 1, 0, 2, 1, 1, 1, 2, 0, 1},
         Rows({{R, G, G}, {G, G, N}, {G, G, G}})},
        {"RLE8 early end of bitmap leaves index 0", 1, 2, 2, {1, 3, 0, 1}, Rows({{B, G}, {G, G}})},
        {"RLE8 run past the right edge is cut there", 1, 2, 2, {5, 4, 0, 0, 1, 1, 0, 1},
         Rows({{W, W}, {R, G}})},
        {"RLE4 run alternates the two nibbles", 2, 5, 1, {5, 0x12, 0, 1}, Rows({{R, N, R, N, R}})},
        {"RLE4 absolute block of nibbles", 2, 3, 1, {0, 3, 0x34, 0x10, 0, 1}, Rows({{B, W, R}})},
        {"RLE4 absolute block padded to a 16-bit boundary", 2, 6, 1,
         {0, 5, 0x12, 0x34, 0x40, 0xAA, 1, 0x30, 0, 1}, Rows({{R, N, B, W, W, B}})},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(BuildRleDib(c));
        ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
        EXPECT_EQ(d.image->pixels, c.expected);
    }
}

TEST(BmpRunLength, DataThatLeavesThePictureOrItsBytesIsRefused) {
    const RleCase cases[] = {
        {"run above the top row", 1, 2, 1, {2, 1, 0, 0, 1, 1, 0, 1}, {}},
        {"delta above the top row, then a pixel", 1, 2, 2, {0, 2, 0, 5, 1, 1, 0, 1}, {}},
        {"absolute block longer than the data", 1, 8, 1, {0, 8, 1, 2, 3}, {}},
        {"delta cut off", 1, 2, 2, {0, 2, 1}, {}},
        {"no end of bitmap", 1, 2, 2, {2, 1, 0, 0}, {}},
        {"odd single byte", 1, 2, 2, {2}, {}},
        {"RLE4 absolute block longer than the data", 2, 8, 1, {0, 8, 0x12, 0x34}, {}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(BuildRleDib(c));
        EXPECT_FALSE(d.image);
        EXPECT_EQ(d.error, DibError::ConversionError);
    }
}

// ---- hostile headers -------------------------------------------------------

struct HostileCase {
    const char* name;
    Bytes file;
    DibError expected;
};

Bytes WithU32(Bytes file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return file;
}

TEST(BmpHostile, BadHeadersAreRefusedWithTheRightMessage) {
    const DibContent good{.width = 2,
                          .height = 2,
                          .bitCount = 8,
                          .coloursUsed = 4,
                          .palette = kFourColours,
                          .pixels = {0, 1, 0, 0, 2, 3, 0, 0}};
    const Bytes base = BuildDib(good);
    const Bytes bare = BuildDib({.fileHeader = false,
                                 .width = 2,
                                 .height = 2,
                                 .bitCount = 8,
                                 .coloursUsed = 4,
                                 .palette = kFourColours,
                                 .pixels = {0, 1, 0, 0, 2, 3, 0, 0}});
    auto variant = [&](auto change) {
        DibContent s = good;
        change(s);
        return BuildDib(s);
    };
    const HostileCase cases[] = {
        {"empty data", {}, DibError::UnknownFormat},
        {"only the magic", {'B', 'M'}, DibError::UnknownFormat},
        {"file header without info header", Bytes(base.begin(), base.begin() + 20),
         DibError::UnknownFormat},
        {"info header cut short", Bytes(base.begin(), base.begin() + 40), DibError::UnknownFormat},
        {"BM with a 108-byte header", WithU32(base, 14, 108), DibError::UnknownFormat},
        {"zero width", WithU32(base, 18, 0), DibError::OutOfMemory},
        {"negative width", WithU32(base, 18, 0xFFFFFFFE), DibError::OutOfMemory},
        {"huge width", WithU32(base, 18, 0x7FFFFFFF), DibError::OutOfMemory},
        {"width just over the limit", WithU32(base, 18, 16385), DibError::OutOfMemory},
        {"zero height", WithU32(base, 22, 0), DibError::OutOfMemory},
        {"most negative height", WithU32(base, 22, 0x80000000), DibError::OutOfMemory},
        {"huge top-down height", WithU32(base, 22, static_cast<std::uint32_t>(-16385)),
         DibError::OutOfMemory},
        {"pixel offset past the end", WithU32(base, 10, 0xFFFFFFF0), DibError::ConversionError},
        {"pixel offset at the end", WithU32(base, 10, static_cast<std::uint32_t>(base.size())),
         DibError::ConversionError},
        {"pixel rows cut short", Bytes(base.begin(), base.end() - 4), DibError::ConversionError},
        {"wide picture with few bytes", WithU32(base, 18, 16384), DibError::ConversionError},
        {"bare palette past the end", Bytes(bare.begin(), bare.begin() + 50),
         DibError::ConversionError},
        {"bare colours-used past the end", WithU32(bare, 32, 0xFFFF), DibError::ConversionError},
        {"BM palette past the end", Bytes(base.begin(), base.begin() + 60),
         DibError::ConversionError},
        {"bit count 2", variant([](DibContent& s) { s.bitCount = 2; }), DibError::ConversionError},
        {"bit count 0", variant([](DibContent& s) { s.bitCount = 0; }), DibError::ConversionError},
        {"bit count 64", variant([](DibContent& s) { s.bitCount = 64; }),
         DibError::ConversionError},
        {"JPEG compression", variant([](DibContent& s) { s.compression = 4; }),
         DibError::ConversionError},
        {"RLE8 on a 4-bit picture", variant([](DibContent& s) {
             s.bitCount = 4;
             s.compression = 1;
         }),
         DibError::ConversionError},
        {"RLE4 on an 8-bit picture", variant([](DibContent& s) { s.compression = 2; }),
         DibError::ConversionError},
        {"top-down RLE8", variant([](DibContent& s) {
             s.compression = 1;
             s.height = -2;
             s.pixels = {0, 1};
         }),
         DibError::ConversionError},
        {"bit fields on 8 bits", variant([](DibContent& s) { s.compression = 3; }),
         DibError::ConversionError},
        {"bit-field masks past the end",
         BuildDib({.width = 1, .height = 1, .bitCount = 32, .compression = 3, .masks = {0xFF0000}}),
         DibError::ConversionError},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(c.file);
        EXPECT_FALSE(d.image);
        EXPECT_EQ(d.error, c.expected);
    }
}

TEST(BmpHostile, LargestAcceptedSideDecodes) {
    DibContent content{
        .fileHeader = false, .width = 16384, .height = 1, .bitCount = 1, .palette = {kRed, kBlue}};
    content.pixels.assign(16384 / 8, 0xFF);
    Decoded d = Decode(BuildDib(content));
    ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
    EXPECT_EQ(PixelAt(*d.image, 16383, 0), kBlue);
}

TEST(BmpHostile, LastRowMayLeaveOutItsPadding) {
    Bytes file = BuildDib({.width = 1,
                           .height = 2,
                           .bitCount = 24,
                           .pixels = {0, 0, 255, 0, 255, 0, 0}});  // 3 bytes of the last row
    Decoded d = Decode(file);
    ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
    EXPECT_EQ(d.image->pixels, Rows({{kRed}, {kBlue}}));
}

// ---- files, paths and messages ---------------------------------------------

TEST(BmpMessages, MessagesAreTheOnesTheUserSees) {
    EXPECT_EQ(DibErrorMessage(DibError::OpenFailed, "gfx/x.bmp"),
              "Failed to open DIB file gfx/x.bmp.\n");
    EXPECT_EQ(DibErrorMessage(DibError::OutOfMemory, "p"), kOutOfMemory);
    EXPECT_EQ(DibErrorMessage(DibError::UnknownFormat, "p"), kUnknownFormat);
    EXPECT_EQ(DibErrorMessage(DibError::ConversionError, "p"), kConversionError);
}

class BmpFiles : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const Bytes& bytes) {
        fs::path file = folder_.path() / name;
        fs::create_directories(file.parent_path());
        testing::WriteFileBytes(file, bytes);
        return file;
    }
    const std::vector<RecordedMessage>& Messages() { return platform_->messages; }

    testing::ScratchFolder folder_;
    ScopedScriptedPlatform platform_;
    const Bytes picture_ =
        BuildDib({.width = 1, .height = 1, .bitCount = 24, .pixels = {0, 0, 255, 0}});
};

TEST_F(BmpFiles, ZeroLengthFileFailsToOpen) {
    std::string path = Write("empty.bmp", {}).string();
    EXPECT_FALSE(LoadDibImage(path));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, kOpenFailedPrefix + path + ".\n");
    EXPECT_EQ(Messages()[0].caption, "Error");
}

TEST_F(BmpFiles, MissingFileFailsToOpenWithItsPath) {
    std::string path = (folder_.path() / "none.bmp").string();
    EXPECT_FALSE(LoadDibImage(path));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, kOpenFailedPrefix + path + ".\n");
}

TEST_F(BmpFiles, LoadDibImageReportsDecodeFailures) {
    Bytes bad = picture_;
    bad[14] = 108;
    std::string path = Write("v4.bmp", bad).string();
    EXPECT_FALSE(LoadDibImage(path));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, kUnknownFormat);
    EXPECT_EQ(Messages()[0].caption, "Error");
}

TEST_F(BmpFiles, LoadImageFileIsSilentForWhatCannotBeOpened) {
    EXPECT_FALSE(LoadImageFile(nullptr));
    EXPECT_FALSE(LoadImageFile((folder_.path() / "none.bmp").c_str()));
    EXPECT_FALSE(LoadImageFile(folder_.path().c_str()));  // a folder is not a picture
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BmpFiles, LoadImageFileResolvesWindowsNamesAndReportsBadFiles) {
    Write("Data/Pic.bmp", picture_);
    std::string windowsName = folder_.path().string() + "\\DATA\\pic.BMP";
    std::unique_ptr<ImageRecord> image = LoadImageFile(windowsName.c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, Rows({{kRed}}));

    Write("Data/empty.bmp", {});
    EXPECT_FALSE(LoadImageFile((folder_.path() / "Data/empty.bmp").c_str()));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text.rfind(kOpenFailedPrefix, 0), 0u);
}

// ---- the BMP Suite ---------------------------------------------------------

class BmpSuite : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(testing::BmpSuiteDir() / "g")) {
            GTEST_SKIP() << "BMP Suite not found at " << testing::BmpSuiteDir();
        }
    }
};

enum class SuiteExpectation { Decodes, Decodes16Bit, Refused };

struct SuiteFile {
    const char* name;
    SuiteExpectation expectation;
};

// Every picture of the suite's "good" folder. The two refused ones carry the
// 108- and 124-byte headers this loader does not read.
const SuiteFile kGoodFiles[] = {
    {"pal1.bmp", SuiteExpectation::Decodes},
    {"pal1bg.bmp", SuiteExpectation::Decodes},
    {"pal1wb.bmp", SuiteExpectation::Decodes},
    {"pal4.bmp", SuiteExpectation::Decodes},
    {"pal4gs.bmp", SuiteExpectation::Decodes},
    {"pal4rle.bmp", SuiteExpectation::Decodes},
    {"pal8-0.bmp", SuiteExpectation::Decodes},
    {"pal8.bmp", SuiteExpectation::Decodes},
    {"pal8gs.bmp", SuiteExpectation::Decodes},
    {"pal8nonsquare.bmp", SuiteExpectation::Decodes},
    {"pal8os2.bmp", SuiteExpectation::Decodes},
    {"pal8rle.bmp", SuiteExpectation::Decodes},
    {"pal8topdown.bmp", SuiteExpectation::Decodes},
    {"pal8w124.bmp", SuiteExpectation::Decodes},
    {"pal8w125.bmp", SuiteExpectation::Decodes},
    {"pal8w126.bmp", SuiteExpectation::Decodes},
    {"rgb16-565.bmp", SuiteExpectation::Decodes16Bit},
    {"rgb16-565pal.bmp", SuiteExpectation::Decodes16Bit},
    {"rgb16.bmp", SuiteExpectation::Decodes16Bit},
    {"rgb16bfdef.bmp", SuiteExpectation::Decodes16Bit},
    {"rgb24.bmp", SuiteExpectation::Decodes},
    {"rgb24pal.bmp", SuiteExpectation::Decodes},
    {"rgb32.bmp", SuiteExpectation::Decodes},
    {"rgb32bf.bmp", SuiteExpectation::Decodes},
    {"rgb32bfdef.bmp", SuiteExpectation::Decodes},
    {"pal8v4.bmp", SuiteExpectation::Refused},
    {"pal8v5.bmp", SuiteExpectation::Refused},
};

TEST_F(BmpSuite, EveryGoodFileIsListed) {
    std::set<std::string> listed;
    for (const SuiteFile& f : kGoodFiles) listed.insert(f.name);
    for (const auto& entry : fs::directory_iterator(testing::BmpSuiteDir() / "g")) {
        EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path();
    }
}

TEST_F(BmpSuite, GoodFilesMatchAnIndependentDecoder) {
    if (!testing::HasProgram("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    for (const SuiteFile& f : kGoodFiles) {
        if (f.expectation == SuiteExpectation::Refused) continue;
        SCOPED_TRACE(f.name);
        fs::path file = testing::BmpSuiteDir() / "g" / f.name;
        ScopedScriptedPlatform platform;
        std::unique_ptr<ImageRecord> image = LoadDibImage(file.string());
        ASSERT_TRUE(image) << (platform->messages.empty() ? "" : platform->messages[0].text);
        std::optional<Bytes> expected =
            testing::DecodeWithImageMagick(file, image->width, image->height);
        ASSERT_TRUE(expected) << "ImageMagick disagrees about the size or cannot read the file";
        // Widening 5 or 6 bits to 8 may round either way.
        int tolerance = f.expectation == SuiteExpectation::Decodes16Bit ? 1 : 0;
        EXPECT_LE(testing::MaxChannelDifference(image->pixels, *expected), tolerance);
    }
}

// ffmpeg cannot read every bit-field layout; where it can, it must agree too.
TEST_F(BmpSuite, GoodFilesMatchFfmpegWhereItReadsThem) {
    if (!testing::HasProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    int compared = 0;
    for (const SuiteFile& f : kGoodFiles) {
        if (f.expectation == SuiteExpectation::Refused) continue;
        SCOPED_TRACE(f.name);
        fs::path file = testing::BmpSuiteDir() / "g" / f.name;
        ScopedScriptedPlatform platform;
        std::unique_ptr<ImageRecord> image = LoadDibImage(file.string());
        ASSERT_TRUE(image);
        std::optional<Bytes> expected =
            testing::DecodeWithFfmpeg(file, image->width, image->height);
        if (!expected) continue;
        ++compared;
        int tolerance = f.expectation == SuiteExpectation::Decodes16Bit ? 1 : 0;
        EXPECT_LE(testing::MaxChannelDifference(image->pixels, *expected), tolerance);
    }
    EXPECT_GT(compared, 20);
}

TEST_F(BmpSuite, LargerHeadersAreRefusedAsUnknown) {
    for (const SuiteFile& f : kGoodFiles) {
        if (f.expectation != SuiteExpectation::Refused) continue;
        SCOPED_TRACE(f.name);
        ScopedScriptedPlatform platform;
        EXPECT_FALSE(LoadDibImage((testing::BmpSuiteDir() / "g" / f.name).string()));
        ASSERT_EQ(platform->messages.size(), 1u);
        EXPECT_EQ(platform->messages[0].text, kUnknownFormat);
    }
}

TEST_F(BmpSuite, BadAndQuestionableFilesLoadOrAreRefusedCleanly) {
    const std::set<std::string> allowed{kOutOfMemory, kUnknownFormat, kConversionError};
    int files = 0;
    for (const char* folder : {"b", "q"}) {
        for (const auto& entry : fs::directory_iterator(testing::BmpSuiteDir() / folder)) {
            SCOPED_TRACE(entry.path().string());
            ++files;
            ScopedScriptedPlatform platform;
            std::unique_ptr<ImageRecord> image = LoadDibImage(entry.path().string());
            if (image) {
                EXPECT_TRUE(platform->messages.empty());
                EXPECT_EQ(image->pixels.size(),
                          static_cast<std::size_t>(image->width) * image->height * 3);
            } else {
                ASSERT_EQ(platform->messages.size(), 1u);
                EXPECT_TRUE(allowed.count(platform->messages[0].text))
                    << platform->messages[0].text;
            }
        }
    }
    EXPECT_GT(files, 0);
}

TEST_F(BmpSuite, KnownBadFilesGiveTheirMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"b/badheadersize.bmp", kUnknownFormat}, {"b/reallybig.bmp", kOutOfMemory},
        {"b/badwidth.bmp", kOutOfMemory},        {"b/shortfile.bmp", kConversionError},
        {"b/rletopdown.bmp", kConversionError},  {"b/badbitcount.bmp", kConversionError},
        {"q/rgb24jpeg.bmp", kUnknownFormat},     {"q/pal8os2v2-16.bmp", kUnknownFormat},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        ScopedScriptedPlatform platform;
        EXPECT_FALSE(LoadDibImage((testing::BmpSuiteDir() / name).string()));
        ASSERT_EQ(platform->messages.size(), 1u);
        EXPECT_EQ(platform->messages[0].text, message);
    }
}

// ---- the default pictures beside the program --------------------------------

struct DefaultPicture {
    const char* name;  // as the start-up loaders write it
    bool sprite;       // drawn additively, so its border must be black
};

const DefaultPicture kDefaultPictures[] = {
    {"gfx/lines.bmp", false},        {"gfx/weave.bmp", false},  {"Data/plasma.bmp", false},
    {"Data/Reflectings.bmp", false}, {"Gfx/matrix.bmp", false}, {"Gfx/lines.bmp", false},
    {"Data/bubble.bmp", true},       {"Data/p2.bmp", true},     {"Data/P3.bmp", true},
    {"Data\\Fire.bmp", true},
};

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

TEST(BmpDefaultPictures, LoadUnderTheirProgramNamesWithPowerOfTwoSides) {
    ScopedScriptedPlatform platform;
    for (const DefaultPicture& p : kDefaultPictures) {
        SCOPED_TRACE(p.name);
        std::string path = std::string(QUORBEL_SOURCE_DIR) + "/" + p.name;
        std::unique_ptr<ImageRecord> image = LoadImageFile(path.c_str());
        ASSERT_TRUE(image);
        EXPECT_TRUE(IsPowerOfTwo(image->width) && IsPowerOfTwo(image->height));
        if (!p.sprite) continue;
        int brightest = 0;
        for (int i = 0; i < image->width; ++i) {
            for (const Colour& c : {PixelAt(*image, i, 0), PixelAt(*image, i, image->height - 1),
                                    PixelAt(*image, 0, i % image->height),
                                    PixelAt(*image, image->width - 1, i % image->height)}) {
                brightest = std::max({brightest, int{c[0]}, int{c[1]}, int{c[2]}});
            }
        }
        EXPECT_EQ(brightest, 0) << "an additive sprite must fade to black at its border";
        int peak = 0;
        for (std::size_t i = 0; i < image->pixels.size(); i += 3) {
            peak = std::max(peak, image->pixels[i] + image->pixels[i + 1] + image->pixels[i + 2]);
        }
        EXPECT_GT(peak, 600) << "a sprite needs a bright part";
    }
    EXPECT_TRUE(platform->messages.empty());
}

TEST(BmpDefaultPictures, MatchAnIndependentDecoder) {
    if (!testing::HasProgram("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    for (const char* name : {"gfx/weave.bmp", "Data/Reflectings.bmp", "Data/Fire.bmp"}) {
        SCOPED_TRACE(name);
        fs::path file = fs::path(QUORBEL_SOURCE_DIR) / name;
        std::unique_ptr<ImageRecord> image = LoadImageFile(file.c_str());
        ASSERT_TRUE(image);
        std::optional<Bytes> expected =
            testing::DecodeWithImageMagick(file, image->width, image->height);
        ASSERT_TRUE(expected);
        EXPECT_EQ(image->pixels, *expected);
    }
}

// ---- pictures from independent encoders ------------------------------------

// A test picture: `colours` distinct colours in a pattern that uses many of
// them even one pixel wide, top row first as encoders read it.
Bytes PatternPicture(int width, int height, const std::vector<Colour>& colours) {
    Bytes rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour& c = colours[(x * 7 + y * 13 + x * y * 3) % colours.size()];
            rgb.insert(rgb.end(), c.begin(), c.end());
        }
    }
    return rgb;
}

std::vector<Colour> DistinctColours(int count) {
    std::vector<Colour> colours;
    std::uint32_t state = 12345;
    while (static_cast<int>(colours.size()) < count) {
        state = state * 1103515245 + 12345;
        Colour c{static_cast<std::uint8_t>(state >> 8), static_cast<std::uint8_t>(state >> 16),
                 static_cast<std::uint8_t>(state >> 24)};
        if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
    }
    return colours;
}

struct HeaderForm {
    std::uint32_t headerSize;
    std::uint16_t bitCount;
    std::uint32_t compression;
};

HeaderForm FormOf(const Bytes& file) {
    auto u16 = [&](std::size_t at) {
        return static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
    };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(u16(at) | u16(at + 2) << 16);
    };
    if (file.size() < 54) return {};
    std::uint32_t size = u32(14);
    if (size == 12) return {12, u16(24), 0};
    return {size, u16(28), u32(30)};
}

struct EncoderCase {
    const char* name;
    const char* imageMagickFormat;  // "BMP3" (40-byte header) or "BMP2" (12-byte header)
    const char* options;
    int colours;  // 0: any colour
    HeaderForm form;
};

const EncoderCase kImageMagickCases[] = {
    {"1-bit info header", "BMP3", "-type Palette", 2, {40, 1, 0}},
    {"4-bit info header", "BMP3", "-type Palette", 16, {40, 4, 0}},
    {"8-bit info header", "BMP3", "-type Palette -compress None", 200, {40, 8, 0}},
    {"8-bit RLE8", "BMP3", "-type Palette -compress RLE", 200, {40, 8, 1}},
    {"24-bit info header", "BMP3", "-type TrueColor", 0, {40, 24, 0}},
    {"32-bit info header", "BMP3", "-alpha set -define bmp3:alpha=true", 0, {40, 32, 0}},
    {"1-bit core header", "BMP2", "-type Palette", 2, {12, 1, 0}},
    {"4-bit core header", "BMP2", "-type Palette", 16, {12, 4, 0}},
    {"8-bit core header", "BMP2", "-type Palette", 200, {12, 8, 0}},
    {"24-bit core header", "BMP2", "-type TrueColor", 0, {12, 24, 0}},
};

class BmpEncoders : public ::testing::Test {
protected:
    static constexpr int kHeight = 24;
    static constexpr int kWidths[] = {1, 2, 3, 5, 7, 13};

    // Decodes `file` as written and, when `bare`, also without its file
    // header, checking both against the encoder's source.
    void ExpectDecodesTo(const Bytes& file, const Bytes& topFirstSource, int width,
                         int tolerance = 0) {
        Bytes expected = testing::FlipRows(topFirstSource, width, kHeight);
        Decoded d = Decode(file);
        ASSERT_TRUE(d.image) << DibErrorMessage(d.error, "");
        EXPECT_EQ(d.image->width, width);
        EXPECT_EQ(d.image->height, kHeight);
        EXPECT_LE(testing::MaxChannelDifference(d.image->pixels, expected), tolerance);
        // The same picture as a bare DIB: the pixels directly behind the palette.
        Decoded bare = Decode(Bytes(file.begin() + 14, file.end()));
        ASSERT_TRUE(bare.image) << "bare: " << DibErrorMessage(bare.error, "");
        EXPECT_EQ(bare.image->pixels, d.image->pixels);
    }

    testing::ScratchFolder folder_;
};

TEST_F(BmpEncoders, ImageMagickPicturesMatchTheirSource) {
    if (!testing::HasProgram("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    fs::path source = folder_.path() / "source.ppm";
    fs::path output = folder_.path() / "out.bmp";
    for (const EncoderCase& c : kImageMagickCases) {
        std::vector<Colour> colours = DistinctColours(c.colours ? c.colours : 4096);
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << c.name << ", " << width << " wide");
            Bytes picture = PatternPicture(width, kHeight, colours);
            testing::WritePpm(source, width, kHeight, picture);
            std::string command = "convert " + testing::ShellQuote(source.string()) + " " +
                                  c.options + " " + c.imageMagickFormat + ":" +
                                  testing::ShellQuote(output.string());
            ASSERT_TRUE(testing::RunAndCapture(command)) << command;
            Bytes file = testing::ReadFileBytes(output);
            HeaderForm form = FormOf(file);
            ASSERT_EQ(form.headerSize, c.form.headerSize);
            ASSERT_EQ(form.bitCount, c.form.bitCount);
            ASSERT_EQ(form.compression, c.form.compression);
            ExpectDecodesTo(file, picture, width);
        }
    }
}

// 16-bit pictures from ffmpeg, fed raw 16-bit pixels so that no colour
// conversion (or dithering) stands between the source and the file.
TEST_F(BmpEncoders, FfmpegSixteenBitPicturesMatchTheirSource) {
    if (!testing::HasProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    struct Format {
        const char* pixFmt;
        int redBits, greenBits, blueBits;
        std::uint32_t compression;
    };
    const Format formats[] = {{"rgb555le", 5, 5, 5, 0}, {"rgb565le", 5, 6, 5, 3}};
    fs::path raw = folder_.path() / "source.raw";
    fs::path output = folder_.path() / "out.bmp";
    for (const Format& f : formats) {
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << f.pixFmt << ", " << width << " wide");
            Bytes pixels;
            Bytes expected;  // top row first, each channel widened by hand
            std::uint32_t state = 99u + static_cast<std::uint32_t>(width);
            for (int i = 0; i < width * kHeight; ++i) {
                state = state * 1103515245 + 12345;
                std::uint32_t r = (state >> 8) & ((1u << f.redBits) - 1);
                std::uint32_t g = (state >> 14) & ((1u << f.greenBits) - 1);
                std::uint32_t b = (state >> 21) & ((1u << f.blueBits) - 1);
                std::uint32_t value = r << (f.greenBits + f.blueBits) | g << f.blueBits | b;
                Put16(pixels, value);
                for (auto [v, bits] :
                     {std::pair{r, f.redBits}, {g, f.greenBits}, {b, f.blueBits}}) {
                    expected.push_back(static_cast<std::uint8_t>(v * 255 / ((1u << bits) - 1)));
                }
            }
            testing::WriteFileBytes(raw, pixels);
            std::string command =
                std::string("ffmpeg -v error -y -f rawvideo -pix_fmt ") + f.pixFmt + " -s " +
                std::to_string(width) + "x" + std::to_string(kHeight) + " -i " +
                testing::ShellQuote(raw.string()) + " " + testing::ShellQuote(output.string());
            ASSERT_TRUE(testing::RunAndCapture(command)) << command;
            Bytes file = testing::ReadFileBytes(output);
            ASSERT_EQ(FormOf(file).bitCount, 16);
            ASSERT_EQ(FormOf(file).compression, f.compression);
            ExpectDecodesTo(file, expected, width, 1);
        }
    }
}

TEST_F(BmpEncoders, PillowBareDibsMatchTheirSource) {
    std::string python = testing::PythonWithPillow();
    if (python.empty()) GTEST_SKIP() << "no Python with Pillow (PIL) found";
    struct Mode {
        const char* name;
        const char* conversion;
        std::vector<Colour> colours;
        std::uint16_t bitCount;
    };
    const Mode modes[] = {
        {"1-bit", ".convert('1', dither=Image.Dither.NONE)", {kBlack, kWhite}, 1},
        {"8-bit palette", ".convert('P', palette=Image.Palette.ADAPTIVE, colors=256)",
         DistinctColours(150), 8},
        {"24-bit", "", DistinctColours(4096), 24},
    };
    fs::path source = folder_.path() / "source.ppm";
    fs::path output = folder_.path() / "out.bmp";
    for (const Mode& m : modes) {
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << m.name << ", " << width << " wide");
            Bytes picture = PatternPicture(width, kHeight, m.colours);
            testing::WritePpm(source, width, kHeight, picture);
            std::string script = "from PIL import Image; Image.open('" + source.string() + "')" +
                                 m.conversion + ".save('" + output.string() + "')";
            ASSERT_TRUE(testing::RunAndCapture(python + " -c " + testing::ShellQuote(script)))
                << script;
            Bytes file = testing::ReadFileBytes(output);
            ASSERT_EQ(FormOf(file).bitCount, m.bitCount);
            ExpectDecodesTo(file, picture, width);
        }
    }
}

}  // namespace
}  // namespace quorbel
