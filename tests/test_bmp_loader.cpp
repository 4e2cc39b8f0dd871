// The BMP loader against hand-made files with hand-computed pixels, against
// an independent decoder (the BMP Suite read by ImageMagick) and against
// independent encoders (ImageMagick, ffmpeg, Pillow).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "imaging/bmp_loader.h"
#include "imaging/picture_report.h"
#include "support/scripted_platform.h"
#include "support/bmp_oracle.h"
#include "support/process.h"

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
    if (c.coreHeader) {  // 16-bit width, height, planes and bit count
        for (std::uint32_t v : {12u, width | height << 16, planes | bits << 16}) Put(dib, v);
    } else {
        for (std::uint32_t v : {40u, width, height, planes | bits << 16}) Put(dib, v);
        for (std::uint32_t v : {c.compression, 0u, 2835u, 2835u, c.coloursUsed, 0u}) Put(dib, v);
    }
    for (std::uint32_t mask : c.masks) Put(dib, mask);
    for (const Colour& colour : c.palette) {
        dib.insert(dib.end(), {colour[2], colour[1], colour[0]});
        if (!c.coreHeader) dib.push_back(0);
    }
    const std::uint32_t pixelOffset = 14 + dib.size();
    dib.insert(dib.end(), c.pixels.begin(), c.pixels.end());
    if (!c.fileHeader) return dib;
    Bytes file = {'B', 'M'};
    for (std::uint32_t v : {14 + std::uint32_t(dib.size()), 0u, pixelOffset}) Put(file, v);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

// Decodes `bytes`; the message is empty exactly when there is a picture.
std::pair<std::unique_ptr<ImageRecord>, std::string> Decode(const Bytes& bytes) {
    DibError error = DibError::None;
    std::unique_ptr<ImageRecord> image = DecodeDib(bytes, error);
    const std::string why = image ? "" : DibErrorMessage(error, "");
    return {std::move(image), why};
}

// Flattens colours given bottom row first, left to right.
Bytes Rgb(const std::vector<Colour>& colours) {
    Bytes rgb;
    for (const Colour& c : colours) rgb.insert(rgb.end(), c.begin(), c.end());
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
    std::vector<Colour> wide;  // 16384 pixels from bytes 0b10110000
    for (int i = 0; i < 2048; ++i) wide.insert(wide.end(), {B, R, B, B, R, R, R, R});
    std::vector<std::tuple<std::string, DibContent, Bytes>> cases = {
        {"top-down comes out bottom row first; the last row stored may leave out its padding",
         {.width = 1, .height = -2, .pixels = {0, 255, 0, 0, 0, 0, 255}}, Rgb({R, N})},
        {"bare DIB, colours used 16 (high bits ignored): 16 entries read, an index beyond is black",
         {.fileHeader = false, .width = 4, .bitCount = 8, .coloursUsed = 0x00030010,
          .palette = {R, G, G, G, G, G, G, G, G, G, G, G, G, G, G, W}, .pixels = {0, 5, 15, 200}},
         Rgb({R, G, W, K})},
        {"bare DIB: pixels behind the masks, fields in any order, 10 bits scale to 8, empty mask 0",
         {.fileHeader = false, .width = 2, .bitCount = 32, .compression = 3,
          .masks = {0x3FF, 0, 0x3FF00000}, .pixels = {0xFF, 0x03, 0, 0x20, 0, 0x02, 0, 0}},
         Rgb({{255, 0, 128}, {128, 0, 0}})},
        {"largest accepted side; 1-bit reads the leftmost pixel from the top bit",
         {.width = 16384, .bitCount = 1, .palette = {R, B}, .pixels = Bytes(2048, 0b10110000)},
         Rgb(wide)},
        {"RLE8 delta, end of line and early end leave index 0; odd absolute block is padded",
         RunLength(1, 4, 3, {1, 1, 0, 2, 1, 1, 1, 2, 0, 0, 0, 3, 3, 4, 1, 0xAA, 0, 1}),
         Rgb({R, G, G, G, /**/ G, G, N, G, /**/ B, W, R, G})},
        {"RLE8 run past the right edge is cut there",
         RunLength(1, 2, 2, {5, 4, 0, 0, 1, 1, 0, 1}), Rgb({W, W, /**/ R, G})},
        {"RLE4 absolute block padded to a 16-bit boundary",
         RunLength(2, 6, 1, {0, 5, 0x12, 0x34, 0x40, 0xAA, 1, 0x30, 0, 1}),
         Rgb({R, N, B, W, W, B})},
    };
    // The same picture through core and info headers, with and without "BM";
    // 24 bits at 3 wide checks 9-byte rows padded to 12 (padding not zero).
    const std::pair<std::uint16_t, Bytes> storedPixels[] = {
        {4, {0x10, 0x30, 0, 0, 0x22, 0x00, 0, 0}},
        {8, {1, 0, 3, 0, 2, 2, 0, 0}},
        {24, {0, 255, 0, 0, 0, 255, 255, 255, 255, 0xEE, 0xEE, 0xEE,
              255, 0, 0, 255, 0, 0, 0, 0, 255, 7, 7, 7}},
    };
    for (const auto& [bitCount, pixels] : storedPixels) {
        std::vector<Colour> palette{R, N, B, W};  // full size: the core header gives no count
        palette.resize(bitCount < 24 ? 1u << bitCount : 0, K);
        for (int form = 0; form < 4; ++form) {
            cases.push_back({std::to_string(bitCount) + " bits, form " + std::to_string(form),
                             {.coreHeader = form < 2, .fileHeader = form % 2 == 0, .width = 3,
                              .height = 2, .bitCount = bitCount, .palette = palette,
                              .pixels = pixels},
                             Rgb({N, R, W, /**/ B, B, R})});
        }
    }
    for (const auto& [name, content, expected] : cases) {
        SCOPED_TRACE(name);
        const auto [image, why] = Decode(BuildDib(content));
        ASSERT_TRUE(image) << why;
        EXPECT_EQ(image->width, content.width);  // the pixels then give the height
        EXPECT_EQ(image->pixels, expected);
    }
}

Bytes WithU32(Bytes file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = std::uint8_t(value >> (8 * i));
    return file;
}

// Each row would read or allocate out of bounds, or decode nonsense, if its
// check were missing.
TEST(BmpDecode, HostileHeadersAreRefusedWithTheirMessage) {
    const Bytes base = BuildDib({.width = 2, .height = 2, .bitCount = 8, .coloursUsed = 4,
                                 .palette = {R, N, B, W}, .pixels = {0, 1, 0, 0, 2, 3, 0, 0}});
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        {"empty data", {}, kUnknownFormat},
        {"info header cut short", Bytes(base.begin(), base.begin() + 40), kUnknownFormat},
        {"BM with a 108-byte header", WithU32(base, 14, 108), kUnknownFormat},
        {"zero width", WithU32(base, 18, 0), kOutOfMemory},
        {"width just over the limit", WithU32(base, 18, 16385), kOutOfMemory},
        {"most negative height", WithU32(base, 22, 0x80000000), kOutOfMemory},
        {"pixel offset past the end", WithU32(base, 10, 0xFFFFFFF0), kConversionError},
        {"pixel rows cut short", Bytes(base.begin(), base.end() - 4), kConversionError},
        {"bare palette past the end", WithU32({base.begin() + 14, base.end()}, 32, 0xFFFF),
         kConversionError},
        {"bit count 3", WithU32(base, 26, 1 | 3 << 16), kConversionError},
        {"RLE8 stored top-down", BuildDib(RunLength(1, 1, -1, {1, 1, 0, 1})), kConversionError},
        {"bit-field masks past the end",
         BuildDib({.bitCount = 32, .compression = 3, .masks = {0xFF0000}}), kConversionError},
        {"RLE8 run above the top row", BuildDib(RunLength(1, 2, 1, {2, 1, 0, 0, 1, 1, 0, 1})),
         kConversionError},
        {"RLE4 absolute block longer than the data",
         BuildDib(RunLength(2, 8, 1, {0, 8, 0x12, 0x34})), kConversionError},
    };
    for (const auto& [name, file, message] : cases) EXPECT_EQ(Decode(file).second, message) << name;
}

// ---- files, messages and the BMP Suite --------------------------------------

// Loads `file` through the platform. Returns the picture and the message
// shown: exactly one, captioned "Error", when there is no picture.
std::pair<std::unique_ptr<ImageRecord>, std::string> Load(const fs::path& file) {
    ScopedScriptedPlatform platform;
    std::unique_ptr<ImageRecord> image = LoadDibImage(file.string());
    const auto& shown = platform->messages;
    EXPECT_EQ(shown.size(), image ? 0u : 1u) << file;
    EXPECT_TRUE(shown.empty() || shown[0].caption == "Error");
    return {std::move(image), shown.empty() ? "" : shown[0].text};
}

// The loader's own message: the first line of what was shown.
std::string LoaderMessage(const std::string& shown) { return shown.substr(0, shown.find('\n')); }

std::string OpenFailure(const fs::path& file, const std::string& reason) {
    return "Failed to open DIB file " + file.string() + ".\n" + reason;
}

// What a user can get wrong with a picture file: each gives the loader's
// message with the file and the reason beside it, and never blocks.
TEST(BmpFiles, EachUnusableFileIsNamedWithItsReason) {
    testing::ScratchFolder folder;
    const fs::path dir = folder.path();
    testing::WriteFileBytes(dir / "empty.bmp", {});
    testing::WriteFileBytes(dir / "text.bmp", {'h', 'e', 'l', 'l', 'o'});
    fs::create_directory(dir / "folder.bmp");
    ASSERT_EQ(::mkfifo((dir / "pipe.bmp").c_str(), 0644), 0);
    const std::pair<fs::path, std::string> cases[] = {
        {dir / "none.bmp", OpenFailure(dir / "none.bmp", "The file does not exist.")},
        {dir / "empty.bmp", OpenFailure(dir / "empty.bmp", "The file is empty.")},
        {dir / "folder.bmp", OpenFailure(dir / "folder.bmp", "It is a folder, not a picture file.")},
        {dir / "pipe.bmp", OpenFailure(dir / "pipe.bmp", "It is not a regular file.")},
        {dir / "none" / "a.bmp", OpenFailure(dir / "none" / "a.bmp", "The file does not exist.")},
        {dir / "text.bmp", kUnknownFormat + "\nFile: " + (dir / "text.bmp").string()},
    };
    for (const auto& [file, message] : cases) EXPECT_EQ(Load(file).second, message);
}

TEST(BmpFiles, UnreadableFileSaysPermissionDenied) {
    testing::ScratchFolder folder;
    const fs::path file = folder.path() / "locked.bmp";
    testing::WriteFileBytes(file, BuildDib({.pixels = {0, 0, 255, 0}}));
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    fs::permissions(file, fs::perms::none);
    EXPECT_EQ(testing::InUnprivilegedChild([&] { return Load(file).second; }), OpenFailure(file, "Permission denied."));
}

// A program's own pictures are asked for again and again; one broken file
// is one message until it loads again, or until the user picks it.
TEST(BmpFiles, AFileIsNamedOnceUntilItChanges) {
    testing::ScratchFolder folder;
    const fs::path file = folder.path() / "Pic.bmp";
    const std::string windowsName = folder.path().string() + "\\PIC.bmp";
    ScopedScriptedPlatform platform;
    EXPECT_FALSE(LoadImageFile(nullptr));
    EXPECT_FALSE(LoadImageFile(windowsName.c_str()) || LoadImageFile(windowsName.c_str()));
    ASSERT_EQ(platform->messages.size(), 1u);
    testing::WriteFileBytes(file, {'B', 'M'});
    EXPECT_FALSE(LoadImageFile(windowsName.c_str()) || LoadImageFile(file.c_str()));
    ASSERT_EQ(platform->messages.size(), 2u) << "a new reason is news; the same file by another name is not";
    EXPECT_EQ(platform->messages[1].text, kUnknownFormat + "\nFile: " + windowsName);
    ForgetPictureReport(file.string());
    EXPECT_FALSE(LoadImageFile(file.c_str()));
    EXPECT_EQ(platform->messages.size(), 3u) << "a forgotten report is shown again";
    testing::WriteFileBytes(file, BuildDib({.pixels = {0, 0, 255, 0}}));
    auto image = LoadImageFile(windowsName.c_str());
    ASSERT_TRUE(image) << "Windows-style names resolve";
    EXPECT_EQ(image->pixels, Rgb({R}));
    testing::WriteFileBytes(file, {});
    EXPECT_FALSE(LoadImageFile(file.c_str()));
    ASSERT_EQ(platform->messages.size(), 4u) << "broken again after loading: reported again";
    EXPECT_EQ(platform->messages[3].text, OpenFailure(file, "The file is empty."));
}

const fs::path kSuite = fs::path(QUORBEL_TESTDATA_DIR) / "bmpsuite";

// Every g/ file but the two with newer headers decodes as ImageMagick does;
// every b/ and q/ file loads or is refused with one of the decoder's messages.
TEST(BmpSuite, FilesMatchAnIndependentDecoderOrAreRefusedCleanly) {
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "BMP Suite not found at " << kSuite;
    if (!testing::RunAndCapture("command -v convert")) GTEST_SKIP() << "ImageMagick is missing";
    ASSERT_EQ(std::distance(fs::directory_iterator(kSuite / "g"), {}), 27);  // all but 2 load
    for (const std::string folder : {"g", "b", "q"}) {
        for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
            const std::string name = folder + "/" + entry.path().filename().string();
            SCOPED_TRACE(name);
            const auto [image, shown] = Load(entry.path());
            if (!shown.empty()) {
                EXPECT_EQ(shown, LoaderMessage(shown) + "\nFile: " + entry.path().string());
            }
            if (name == "g/pal8v4.bmp" || name == "g/pal8v5.bmp") {  // 108-, 124-byte headers
                EXPECT_EQ(LoaderMessage(shown), kUnknownFormat);
            } else if (folder == "g") {
                auto expected = testing::DecodeWithImageMagick(entry.path());
                ASSERT_TRUE(image && expected) << shown;
                EXPECT_LE(testing::MaxChannelDifference(image->pixels, *expected),
                          name.starts_with("g/rgb16") ? 1 : 0);  // 5/6-bit widening may round
            } else if (image) {
                EXPECT_EQ(image->pixels.size(), std::size_t(image->width) * image->height * 3);
            } else {
                const std::string said = LoaderMessage(shown);
                EXPECT_TRUE(said == kOutOfMemory || said == kUnknownFormat || said == kConversionError) << shown;
            }
        }
    }
}

// ---- pictures from independent encoders ------------------------------------

// `count` distinct colours in a pattern that uses many of them even one pixel
// wide. The colours count down from white on a 16-level grid, so two colours
// are white and black.
Bytes PatternPicture(int width, int height, int count) {
    Bytes rgb;
    for (int i = 0, x = 0, y = 0; i < width * height; x = ++i % width, y = i / width) {
        const int grid = (4096 - (x * 7 + y * 13 + x * y * 3) % count) % 4096;
        for (int shift : {0, 4, 8}) rgb.push_back(std::uint8_t((grid >> shift & 15) * 17));
    }
    return rgb;
}

using Form = std::array<int, 3>;  // header size, bit count, compression

// The low byte of each field is enough to tell the forms apart.
Form FormOf(const Bytes& f) {
    if (f.size() < 54) return {};
    return f[14] == 12 ? Form{12, f[24], 0} : Form{f[14], f[28], f[30]};
}

class BmpEncoders : public ::testing::Test {
protected:
    static constexpr int kHeight = 24;
    static constexpr int kWidths[] = {1, 2, 3, 5, 7, 13};

    // Runs the encoder, checks that it wrote the form the case is about, then
    // decodes the file as written and as a bare DIB (no file header). A wrong
    // width or height shows as pixels that differ.
    void ExpectEncodesTo(const std::string& command, Form form, const Bytes& picture,
                         int tolerance = 0) {
        ASSERT_TRUE(testing::RunAndCapture(command)) << command;
        const Bytes file = testing::ReadFileBytes(output_);
        ASSERT_EQ(FormOf(file), form);
        const auto [image, why] = Decode(file);
        const auto [bareImage, bareWhy] = Decode(Bytes(file.begin() + 14, file.end()));
        ASSERT_TRUE(image && bareImage) << why << " / " << bareWhy;
        EXPECT_LE(testing::MaxChannelDifference(image->pixels, picture), tolerance);
        EXPECT_EQ(bareImage->pixels, image->pixels);
    }

    testing::ScratchFolder folder_;
    const fs::path source_ = folder_.path() / "source", output_ = folder_.path() / "out.bmp";
    const std::string in_ = testing::Quoted(source_.string()),
                      out_ = testing::Quoted(output_.string());
};

// The Python script is in double quotes; the shell-quoted paths inside it
// read as string literals.
TEST_F(BmpEncoders, ImageMagickAndPillowPicturesMatchTheirSource) {
    const std::string python = testing::PythonWithPillow();
    if (python.empty() || !testing::RunAndCapture("command -v convert")) {
        GTEST_SKIP() << "ImageMagick's convert or a Python with Pillow is missing";
    }
    const std::string im = "convert ppm:" + in_ + " -type ",
                      pil = python + " -c \"from PIL import Image; Image.open(" + in_ + ")";
    const std::tuple<std::string, int, Form> cases[] = {
        {im + "Palette BMP3:" + out_, 2, {40, 1, 0}},  // BMP3: the 40-byte header
        {im + "Palette BMP3:" + out_, 16, {40, 4, 0}},
        {im + "Palette -compress None BMP3:" + out_, 200, {40, 8, 0}},
        {im + "Palette -compress RLE BMP3:" + out_, 200, {40, 8, 1}},
        {im + "TrueColor BMP3:" + out_, 4096, {40, 24, 0}},
        {im + "TrueColor -alpha set -define bmp3:alpha=true BMP3:" + out_, 4096, {40, 32, 0}},
        {im + "Palette BMP2:" + out_, 2, {12, 1, 0}},  // BMP2: the 12-byte header
        {im + "Palette BMP2:" + out_, 16, {12, 4, 0}},
        {im + "Palette BMP2:" + out_, 200, {12, 8, 0}},
        {im + "TrueColor BMP2:" + out_, 4096, {12, 24, 0}},
        {pil + ".convert('P', palette=Image.Palette.ADAPTIVE).save(" + out_ + ")\"", 150,
         {40, 8, 0}},
        {pil + ".save(" + out_ + ")\"", 4096, {40, 24, 0}},
    };
    for (const auto& [command, colours, form] : cases) {
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << command << ", " << width << " wide");
            const Bytes picture = PatternPicture(width, kHeight, colours);
            testing::WritePpm(source_, width, kHeight, picture);
            ExpectEncodesTo(command, form, picture);
        }
    }
}

// Fed raw 16-bit pixels, so that no colour conversion (or dithering) stands
// between the source and the file. vflip puts the raw rows, top row first,
// into the file in the order the loader gives them back.
TEST_F(BmpEncoders, FfmpegSixteenBitPicturesMatchTheirSource) {
    if (!testing::RunAndCapture("command -v ffmpeg")) GTEST_SKIP() << "ffmpeg is missing";
    auto widen = [](std::uint32_t n, std::uint32_t max) { return std::uint8_t(n * 255 / max); };
    for (const auto& [pixFmt, greenBits, greenMax, compression] :
         {std::tuple{"rgb555le", 5, 31u, 0}, std::tuple{"rgb565le", 6, 63u, 3}}) {
        for (int width : kWidths) {
            SCOPED_TRACE(::testing::Message() << pixFmt << ", " << width << " wide");
            Bytes pixels, expected;  // each channel widened by hand
            for (std::uint32_t i = 0; i < std::uint32_t(width * kHeight); ++i) {
                const std::uint32_t v = (i + width) * 2654435761u >> 16;  // spread over all values
                Put(pixels, v, 2);
                expected.insert(expected.end(), {widen(v >> (5 + greenBits) & 31, 31),
                                                 widen(v >> 5 & greenMax, greenMax),
                                                 widen(v & 31, 31)});
            }
            testing::WriteFileBytes(source_, pixels);
            ExpectEncodesTo("ffmpeg -v error -y -f rawvideo -pix_fmt " + std::string(pixFmt) +
                                " -s " + std::to_string(width) + "x" + std::to_string(kHeight) +
                                " -i " + in_ + " -vf vflip " + out_,
                            {40, 16, compression}, expected, 1);
        }
    }
}

}  // namespace
}  // namespace quorbel
