// The BMP loader against hand-made files with hand-computed pixels, against
// an independent decoder (the BMP Suite read by ImageMagick) and against
// independent encoders (ImageMagick, ffmpeg, Pillow).
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "imaging/bmp_loader.h"
#include "platform/scripted_platform.h"
#include "support/bmp_oracle.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

const std::string kOutOfMemory = "Out of memory.";
const std::string kUnknownFormat = "Unknown DIB file format.";
const std::string kConversionError = "Image file conversion error.";

// ---- hand-made files -------------------------------------------------------

// Appends `value` least significant byte first, as BMP stores numbers.
void Put(Bytes& out, std::uint32_t value, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

using Colour = std::array<std::uint8_t, 3>;  // red, green, blue

// What to write into a hand-made BMP. Pixel bytes are given exactly as stored.
struct DibContent {
    bool coreHeader = false, fileHeader = true;
    std::int32_t width = 1, height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0, coloursUsed = 0;
    std::vector<Colour> palette = {};
    std::vector<std::uint32_t> masks = {};  // written between header and palette
    Bytes pixels = {};
};

Bytes BuildDib(const DibContent& c) {
    const std::uint32_t width = c.width, height = c.height, planes = 1, bits = c.bitCount;
    Bytes dib;
    if (c.coreHeader) {
        Put(dib, 12);
        for (std::uint32_t v : {width, height, planes, bits}) Put(dib, v, 2);
    } else {
        for (std::uint32_t v : {40u, width, height, planes | bits << 16}) Put(dib, v);
        for (std::uint32_t v : {c.compression, 0u, 2835u, 2835u, c.coloursUsed, 0u}) Put(dib, v);
    }
    for (std::uint32_t mask : c.masks) Put(dib, mask);
    for (const Colour& colour : c.palette) {
        dib.insert(dib.end(), {colour[2], colour[1], colour[0]});
        if (!c.coreHeader) dib.push_back(0);
    }
    const std::uint32_t pixelOffset = 14 + dib.size(), fileSize = pixelOffset + c.pixels.size();
    Bytes file;
    if (c.fileHeader) {
        file = {'B', 'M'};
        for (std::uint32_t v : {fileSize, 0u, pixelOffset}) Put(file, v);
    }
    file.insert(file.end(), dib.begin(), dib.end());
    file.insert(file.end(), c.pixels.begin(), c.pixels.end());
    return file;
}

struct Decoded {
    explicit Decoded(const Bytes& bytes) : image(DecodeDib(bytes, error)) {}
    std::string Why() const { return DibErrorMessage(error, ""); }
    DibError error = DibError::None;  // declared first: set before `image` is decoded
    std::unique_ptr<ImageRecord> image;
};

// Flattens rows of colours given bottom row first.
Bytes Rows(std::initializer_list<std::vector<Colour>> rows) {
    Bytes rgb;
    for (const auto& row : rows) {
        for (const Colour& c : row) rgb.insert(rgb.end(), c.begin(), c.end());
    }
    return rgb;
}

constexpr Colour R{255, 0, 0}, N{0, 255, 0}, B{0, 0, 255}, W{255, 255, 255}, K{0, 0, 0},
    G{128, 128, 128};

// Index 0 is grey, so a pixel the run-length data never sets is told apart
// from black.
DibContent RunLength(std::uint32_t compression, int width, int height, Bytes data) {
    return {.width = width, .height = height, .bitCount = std::uint16_t(compression == 1 ? 8 : 4),
            .compression = compression, .coloursUsed = 5, .palette = {G, R, N, B, W},
            .pixels = std::move(data)};
}

TEST(BmpDecode, HandMadeFilesGiveHandComputedPixels) {
    std::vector<Colour> ramp;  // 16 entries, told apart by red and blue
    for (int i = 0; i < 16; ++i) ramp.push_back({std::uint8_t(i * 16), 0, std::uint8_t(255 - i)});
    const std::tuple<const char*, DibContent, Bytes> cases[] = {
        {"24-bit 3 wide: 9-byte RGB rows, padding skipped",
         {.width = 3, .height = 2, .pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0xEE, 0xEE, 0xEE,
                                              255, 255, 255, 0, 0, 0, 128, 128, 128, 7, 7, 7}},
         Rows({{R, N, B}, {W, K, G}})},
        {"top-down comes out bottom row first",
         {.width = 1, .height = -2, .pixels = {0, 255, 0, 0, 0, 0, 255, 0}}, Rows({{R}, {N}})},
        {"last row may leave out its padding",
         {.width = 1, .height = 2, .pixels = {0, 0, 255, 0, 255, 0, 0}}, Rows({{R}, {B}})},
        {"1-bit reads the leftmost pixel from the top bit",
         {.width = 4, .bitCount = 1, .palette = {R, N}, .pixels = {0b10110000, 0, 0, 0}},
         Rows({{N, R, N, N}})},
        {"bare DIB with colours used 16 reads exactly 16 entries",
         {.fileHeader = false, .width = 4, .bitCount = 8, .coloursUsed = 16, .palette = ramp,
          .pixels = {0, 5, 15, 9}},
         Rows({{ramp[0], ramp[5], ramp[15], ramp[9]}})},
        {"colours used keeps its low 16 bits; an index beyond them is black",
         {.fileHeader = false, .width = 2, .bitCount = 8, .coloursUsed = 0x00030002,
          .palette = {R, B}, .pixels = {1, 200, 0, 0}},
         Rows({{B, K}})},
        {"bare DIB pixels start behind the masks; 10-bit fields scale to 8",
         {.fileHeader = false, .width = 2, .bitCount = 32, .compression = 3,
          .masks = {0x3FF00000, 0xFFC00, 0x3FF}, .pixels = {0xFF, 0xFF, 0xFF, 0x3F, 0, 0, 0, 0}},
         Rows({{W, K}})},
        {"32-bit fields in another order, an empty mask gives 0",
         {.width = 2, .bitCount = 32, .compression = 3, .masks = {0xFF, 0, 0xFF0000},
          .pixels = {1, 2, 3, 0, 255, 0, 128, 0}},
         Rows({{Colour{1, 0, 3}, Colour{255, 0, 128}}})},
        {"largest accepted side",
         {.fileHeader = false, .width = 16384, .bitCount = 1, .palette = {R, B},
          .pixels = Bytes(2048, 0xFF)},
         Rows({std::vector<Colour>(16384, B)})},
        {"RLE8 odd absolute block is padded", RunLength(1, 4, 1, {0, 3, 1, 2, 3, 0xAA, 1, 4, 0, 1}),
         Rows({{R, N, B, W}})},
        {"RLE8 delta, end of line and early end leave index 0",
         RunLength(1, 3, 3, {1, 1, 0, 2, 1, 1, 1, 2, 0, 0, 1, 3, 0, 1}),
         Rows({{R, G, G}, {G, G, N}, {B, G, G}})},
        {"RLE8 run past the right edge is cut there",
         RunLength(1, 2, 2, {5, 4, 0, 0, 1, 1, 0, 1}), Rows({{W, W}, {R, G}})},
        {"RLE4 absolute block padded to a 16-bit boundary",
         RunLength(2, 6, 1, {0, 5, 0x12, 0x34, 0x40, 0xAA, 1, 0x30, 0, 1}),
         Rows({{R, N, B, W, W, B}})},
    };
    for (const auto& [name, content, expected] : cases) {
        SCOPED_TRACE(name);
        Decoded d(BuildDib(content));
        ASSERT_TRUE(d.image) << d.Why();
        EXPECT_EQ(d.image->width, content.width);
        EXPECT_EQ(d.image->height, std::abs(content.height));
        EXPECT_EQ(d.image->pixels, expected);
    }
}

TEST(BmpDecode, CoreInfoAndBareFormsGiveTheSamePicture) {
    const std::map<std::uint16_t, Bytes> storedPixels{
        {4, {0x10, 0x30, 0, 0, 0x22, 0x00, 0, 0}},
        {8, {1, 0, 3, 0, 2, 2, 0, 0}},
        {24, {0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0,  // rows padded to 12 bytes
              255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0}},
    };
    for (const auto& [bitCount, pixels] : storedPixels) {
        std::vector<Colour> palette{R, N, B, W};  // full size: the core header gives no count
        palette.resize(bitCount < 24 ? 1u << bitCount : 0, K);
        for (int form = 0; form < 4; ++form) {
            const bool core = form < 2, fileHeader = form % 2 == 0;
            SCOPED_TRACE(::testing::Message() << bitCount << " bits, core header " << core
                                              << ", file header " << fileHeader);
            Decoded d(BuildDib({.coreHeader = core, .fileHeader = fileHeader, .width = 3,
                                .height = 2, .bitCount = bitCount, .palette = palette,
                                .pixels = pixels}));
            ASSERT_TRUE(d.image) << d.Why();
            EXPECT_EQ(d.image->pixels, Rows({{N, R, W}, {B, B, R}}));
        }
    }
}

Bytes WithU32(Bytes file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = std::uint8_t(value >> (8 * i));
    return file;
}

// Each row would read or allocate out of bounds if its check were missing.
TEST(BmpDecode, HostileHeadersAreRefusedWithTheirMessage) {
    const Bytes base = BuildDib({.width = 2, .height = 2, .bitCount = 8, .coloursUsed = 4,
                                 .palette = {R, N, B, W}, .pixels = {0, 1, 0, 0, 2, 3, 0, 0}});
    const Bytes bare(base.begin() + 14, base.end());
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        {"empty data", {}, kUnknownFormat},
        {"info header cut short", Bytes(base.begin(), base.begin() + 40), kUnknownFormat},
        {"BM with a 108-byte header", WithU32(base, 14, 108), kUnknownFormat},
        {"zero width", WithU32(base, 18, 0), kOutOfMemory},
        {"width just over the limit", WithU32(base, 18, 16385), kOutOfMemory},
        {"most negative height", WithU32(base, 22, 0x80000000), kOutOfMemory},
        {"pixel offset past the end", WithU32(base, 10, 0xFFFFFFF0), kConversionError},
        {"pixel rows cut short", Bytes(base.begin(), base.end() - 4), kConversionError},
        {"bare colours used past the end", WithU32(bare, 32, 0xFFFF), kConversionError},
        {"bit-field masks past the end",
         BuildDib({.bitCount = 32, .compression = 3, .masks = {0xFF0000}}), kConversionError},
        {"RLE8 run above the top row", BuildDib(RunLength(1, 2, 1, {2, 1, 0, 0, 1, 1, 0, 1})),
         kConversionError},
        {"RLE4 absolute block longer than the data",
         BuildDib(RunLength(2, 8, 1, {0, 8, 0x12, 0x34})), kConversionError},
    };
    for (const auto& [name, file, message] : cases) {
        Decoded d(file);
        EXPECT_FALSE(d.image) << name;
        EXPECT_EQ(d.Why(), message) << name;
    }
}

// ---- files, messages and the BMP Suite --------------------------------------

// Loads `file` expecting a refusal; returns the one message shown.
std::string RefusalMessage(const fs::path& file) {
    ScopedScriptedPlatform platform;
    EXPECT_FALSE(LoadDibImage(file.string())) << file;
    if (platform->messages.size() != 1) return std::to_string(platform->messages.size()) + " msgs";
    EXPECT_EQ(platform->messages[0].caption, "Error");
    return platform->messages[0].text;
}

TEST(BmpFiles, EachFailureShowsItsMessageAndWindowsNamesResolve) {
    testing::ScratchFolder folder;
    const fs::path empty = folder.path() / "empty.bmp", missing = folder.path() / "none.bmp";
    const Bytes picture = BuildDib({.pixels = {0, 0, 255, 0}});
    testing::WriteFileBytes(empty, {});
    testing::WriteFileBytes(folder.path() / "v4.bmp", WithU32(picture, 14, 108));
    testing::WriteFileBytes(folder.path() / "Pic.bmp", picture);
    EXPECT_EQ(RefusalMessage(empty), "Failed to open DIB file " + empty.string() + ".\n");
    EXPECT_EQ(RefusalMessage(missing), "Failed to open DIB file " + missing.string() + ".\n");
    EXPECT_EQ(RefusalMessage(folder.path() / "v4.bmp"), kUnknownFormat);

    ScopedScriptedPlatform platform;  // what cannot be opened is passed over silently
    EXPECT_FALSE(LoadImageFile(nullptr));
    EXPECT_FALSE(LoadImageFile(missing.c_str()));
    EXPECT_FALSE(LoadImageFile(folder.path().c_str()));
    auto image = LoadImageFile((folder.path().string() + "\\PIC.bmp").c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, Rows({{R}}));
    EXPECT_TRUE(platform->messages.empty());
}

const fs::path kSuite = testing::BmpSuiteDir();

TEST(BmpSuite, GoodFilesMatchAnIndependentDecoderOrAreRefusedAsUnknown) {
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "BMP Suite not found at " << kSuite;
    if (!testing::HasProgram("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    int decoded = 0;
    for (const auto& entry : fs::directory_iterator(kSuite / "g")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        if (name == "pal8v4.bmp" || name == "pal8v5.bmp") {  // 108- and 124-byte headers
            EXPECT_EQ(RefusalMessage(entry.path()), kUnknownFormat);
            continue;
        }
        ScopedScriptedPlatform platform;
        std::unique_ptr<ImageRecord> image = LoadDibImage(entry.path().string());
        ASSERT_TRUE(image) << (platform->messages.empty() ? "" : platform->messages[0].text);
        ++decoded;
        auto expected = testing::DecodeWithImageMagick(entry.path(), image->width, image->height);
        ASSERT_TRUE(expected) << "ImageMagick disagrees about the size or cannot read the file";
        const int tolerance = name.starts_with("rgb16") ? 1 : 0;  // 5/6-bit widening may round
        EXPECT_LE(testing::MaxChannelDifference(image->pixels, *expected), tolerance);
    }
    EXPECT_EQ(decoded, 25);
}

TEST(BmpSuite, BadAndQuestionableFilesLoadOrAreRefusedCleanly) {
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "BMP Suite not found at " << kSuite;
    const std::pair<const char*, std::string> known[] = {
        {"b/badheadersize.bmp", kUnknownFormat}, {"b/reallybig.bmp", kOutOfMemory},
        {"b/badwidth.bmp", kOutOfMemory},        {"b/shortfile.bmp", kConversionError},
        {"b/rletopdown.bmp", kConversionError},  {"b/badbitcount.bmp", kConversionError},
        {"q/rgb24jpeg.bmp", kUnknownFormat},     {"q/pal8os2v2-16.bmp", kUnknownFormat},
    };
    for (const auto& [name, message] : known) EXPECT_EQ(RefusalMessage(kSuite / name), message);
    const std::set<std::string> allowed{kOutOfMemory, kUnknownFormat, kConversionError};
    for (const char* folder : {"b", "q"}) {
        for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
            SCOPED_TRACE(entry.path().string());
            ScopedScriptedPlatform platform;
            if (std::unique_ptr<ImageRecord> image = LoadDibImage(entry.path().string())) {
                EXPECT_TRUE(platform->messages.empty());
                EXPECT_EQ(image->pixels.size(), std::size_t(image->width) * image->height * 3);
                continue;
            }
            ASSERT_EQ(platform->messages.size(), 1u);
            EXPECT_TRUE(allowed.count(platform->messages[0].text)) << platform->messages[0].text;
        }
    }
}

// ---- pictures from independent encoders ------------------------------------

// `count` distinct colours in a pattern that uses many of them even one pixel
// wide, top row first as encoders read it. The colours count down from white
// on a 16-level grid, so two colours are white and black.
Bytes PatternPicture(int width, int height, int count) {
    Bytes rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grid = (4096 - (x * 7 + y * 13 + x * y * 3) % count) % 4096;
            for (int shift : {0, 4, 8}) rgb.push_back(std::uint8_t((grid >> shift & 15) * 17));
        }
    }
    return rgb;
}

using Form = std::array<std::uint32_t, 3>;  // header size, bit count, compression

Form FormOf(const Bytes& file) {
    auto u16 = [&](std::size_t at) { return std::uint32_t(file[at] | file[at + 1] << 8); };
    auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (file.size() < 54) return {};
    if (u32(14) == 12) return {12, u16(24), 0};
    return {u32(14), u16(28), u32(30)};
}

class BmpEncoders : public ::testing::Test {
protected:
    static constexpr int kHeight = 24;
    static constexpr int kWidths[] = {1, 2, 3, 5, 7, 13};

    // Runs the encoder, checks that it wrote the form the case is about, then
    // decodes the file as written and as a bare DIB (no file header).
    void ExpectEncodesTo(const std::string& command, Form form, const Bytes& topFirstSource,
                         int width, int tolerance = 0) {
        ASSERT_TRUE(testing::RunAndCapture(command)) << command;
        const Bytes file = testing::ReadFileBytes(output_);
        ASSERT_EQ(FormOf(file), form);
        Decoded d(file), bare(Bytes(file.begin() + 14, file.end()));
        ASSERT_TRUE(d.image && bare.image) << d.Why() << " / " << bare.Why();
        EXPECT_EQ(d.image->width, width);
        EXPECT_EQ(d.image->height, kHeight);
        const Bytes expected = testing::FlipRows(topFirstSource, width, kHeight);
        EXPECT_LE(testing::MaxChannelDifference(d.image->pixels, expected), tolerance);
        EXPECT_EQ(bare.image->pixels, d.image->pixels);
    }

    testing::ScratchFolder folder_;
    const fs::path source_ = folder_.path() / "source.ppm", output_ = folder_.path() / "out.bmp";
};

// Each command turns {in} (a PPM) into {out}; {py} is a Python that has
// Pillow. The paths go in shell-quoted, which the Python script, itself in
// double quotes, reads as string literals.
TEST_F(BmpEncoders, ImageMagickAndPillowPicturesMatchTheirSource) {
    const std::string python = testing::PythonWithPillow();
    const std::string pil = "{py} -c \"from PIL import Image; Image.open({in})";
    const bool haveConvert = testing::HasProgram("convert");
    const std::tuple<std::string, int, Form> cases[] = {
        {"convert {in} -type Palette BMP3:{out}", 2, {40, 1, 0}},  // BMP3: the 40-byte header
        {"convert {in} -type Palette BMP3:{out}", 16, {40, 4, 0}},
        {"convert {in} -type Palette -compress None BMP3:{out}", 200, {40, 8, 0}},
        {"convert {in} -type Palette -compress RLE BMP3:{out}", 200, {40, 8, 1}},
        {"convert {in} -type TrueColor BMP3:{out}", 4096, {40, 24, 0}},
        {"convert {in} -alpha set -define bmp3:alpha=true BMP3:{out}", 4096, {40, 32, 0}},
        {"convert {in} -type Palette BMP2:{out}", 2, {12, 1, 0}},  // BMP2: the 12-byte header
        {"convert {in} -type Palette BMP2:{out}", 16, {12, 4, 0}},
        {"convert {in} -type Palette BMP2:{out}", 200, {12, 8, 0}},
        {"convert {in} -type TrueColor BMP2:{out}", 4096, {12, 24, 0}},
        {pil + ".convert('1', dither=Image.Dither.NONE).save({out})\"", 2, {40, 1, 0}},
        {pil + ".convert('P', palette=Image.Palette.ADAPTIVE).save({out})\"", 150, {40, 8, 0}},
        {pil + ".save({out})\"", 4096, {40, 24, 0}},
    };
    for (const auto& [pattern, colours, form] : cases) {
        if (pattern.starts_with("{py}") ? python.empty() : !haveConvert) continue;
        std::string command = pattern;
        for (const auto& [token, value] : {std::pair<std::string, std::string>{"{py}", python},
                                           {"{in}", testing::ShellQuote(source_.string())},
                                           {"{out}", testing::ShellQuote(output_.string())}}) {
            if (auto at = command.find(token); at != std::string::npos) {
                command.replace(at, token.size(), value);
            }
        }
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << command << ", " << width << " wide");
            Bytes picture = PatternPicture(width, kHeight, colours);
            testing::WritePpm(source_, width, kHeight, picture);
            ExpectEncodesTo(command, form, picture, width);
        }
    }
    if (python.empty() || !haveConvert) GTEST_SKIP() << "convert or a Python with Pillow missing";
}

// Fed raw 16-bit pixels, so that no colour conversion (or dithering) stands
// between the source and the file.
TEST_F(BmpEncoders, FfmpegSixteenBitPicturesMatchTheirSource) {
    if (!testing::HasProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path raw = folder_.path() / "source.raw";
    for (const auto& [pixFmt, greenMax, compression] :
         {std::tuple{"rgb555le", 31u, 0u}, std::tuple{"rgb565le", 63u, 3u}}) {
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << pixFmt << ", " << width << " wide");
            Bytes pixels, expected;  // expected: top row first, each channel widened by hand
            std::uint32_t state = 99u + width;
            for (int i = 0; i < width * kHeight; ++i) {
                state = state * 1103515245 + 12345;
                const std::uint32_t r = state >> 27, g = (state >> 14) & greenMax,
                                    b = (state >> 8) & 31;
                Put(pixels, (r * (greenMax + 1) + g) << 5 | b, 2);
                for (auto [value, max] : {std::pair{r, 31u}, {g, greenMax}, {b, 31u}}) {
                    expected.push_back(std::uint8_t(value * 255 / max));
                }
            }
            testing::WriteFileBytes(raw, pixels);
            ExpectEncodesTo("ffmpeg -v error -y -f rawvideo -pix_fmt " + std::string(pixFmt) +
                                " -s " + std::to_string(width) + "x" + std::to_string(kHeight) +
                                " -i " + testing::ShellQuote(raw.string()) + " " +
                                testing::ShellQuote(output_.string()),
                            {40, 16, compression}, expected, width, 1);
        }
    }
}

}  // namespace
}  // namespace quorbel
