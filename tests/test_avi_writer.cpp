// The AVI writer on its own, fed made-up frames: frame format, every
// encoder it offers (checked by FFmpeg's tools, not by our code), and what
// the user gets when the file cannot be made, is cancelled or cannot be
// finished.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/scripted_platform.h"
#include "support/gl_test_env.h"
#include "support/process.h"
#include "support/video_probe.h"
#include "video/avi_writer.h"
#include "video/encoder_catalog.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

TEST(AviWriterFormat, ViewSizeRoundsDownToMultiplesOfFour) {
    const struct {
        int viewWidth, viewHeight, width, height;
        std::uint32_t imageSize;
    } cases[] = {
        {722, 481, 720, 480, 1036800},
        {720, 576, 720, 576, 1244160},
        {3, 3, 0, 0, 0},
        {-8, 100, 0, 100, 0},
    };
    for (const auto& c : cases) {
        const BitmapInfoHeader info = BitmapInfoForView(c.viewWidth, c.viewHeight);
        EXPECT_EQ(info.width, c.width) << c.viewWidth << "x" << c.viewHeight;
        EXPECT_EQ(info.height, c.height) << c.viewWidth << "x" << c.viewHeight;
        EXPECT_EQ(info.imageSize, c.imageSize) << c.viewWidth << "x" << c.viewHeight;
    }
}

// ----- writing made-up frames ------------------------------------------------------

constexpr int kWidth = 720;
constexpr int kHeight = 480;

// A bottom-up BGR frame: the upper half red, the lower half blue, and a
// white block that moves right with `index`.
std::vector<std::uint8_t> TestFrame(int index, int width = kWidth, int height = kHeight) {
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        const bool upper = row >= height / 2;  // rows count from the bottom
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = &bgr[(static_cast<std::size_t>(row) * width + x) * 3];
            const bool block = x >= 40 + index * 64 && x < 104 + index * 64 && row >= 200 && row < 280;
            pixel[0] = block ? 255 : (upper ? 0 : 220);
            pixel[1] = block ? 255 : 0;
            pixel[2] = block ? 255 : (upper ? 220 : 0);
        }
    }
    return bgr;
}

// Index of encoder `id` in what the chooser is offered for 720 x 480 at 30.
std::optional<std::size_t> OfferedIndex(const std::string& id, int width = kWidth, int height = kHeight,
                                        int rate = 30) {
    const auto offered = AvailableEncoders(width, height, rate);
    for (std::size_t i = 0; i < offered.size(); ++i)
        if (offered[i]->id == id) return i;
    return std::nullopt;
}

class AviWriterFiles : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return folder_.File(name); }
    std::vector<std::string> FolderContents() const { return folder_.Names(); }
    void PlaceOldFile(const std::string& path) { std::ofstream(path) << "an older take"; }
    static std::string Contents(const std::string& path) { return testing::FileText(path); }
    // A writer on `path` at the test frame's size, the chooser to answer `choice`.
    void Prepare(AviWriter& writer, const std::string& path, std::optional<std::size_t> choice) {
        writer.fileName = path;
        writer.SetBitmapInfoFromView(kWidth, kHeight);
        platform_->compressorAnswers.push_back(choice);
    }
    // Opens a writer on `name` with encoder `id` chosen, writes `frames`
    // test frames and closes it; true when every step succeeded.
    bool WriteClip(const std::string& path, const std::string& id, int frames) {
        AviWriter writer;
        Prepare(writer, path, OfferedIndex(id));
        if (!writer.Open()) return false;
        bool written = true;
        for (int i = 0; i < frames; ++i) written = writer.WriteFrame(TestFrame(i).data()) && written;
        return writer.Close() && written;
    }

    testing::TempDirectory folder_;
    ScopedScriptedPlatform platform_;
};

// Upright, the right colours, every frame there, for every encoder offered.
TEST_F(AviWriterFiles, EveryOfferedEncoderWritesUprightFramesThatFfmpegReads) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const auto offered = AvailableEncoders(kWidth, kHeight, 30);
    ASSERT_GE(offered.size(), 5u) << "Motion JPEG, MPEG-4, FFV1, HuffYUV and uncompressed at the least";
    for (const EncoderSpec* spec : offered) {
        SCOPED_TRACE(spec->id);
        const std::string path = Path((std::string(spec->id) + ".avi").c_str());
        ASSERT_TRUE(WriteClip(path, spec->id, 4));
        EXPECT_TRUE(platform_->messages.empty()) << platform_->messages.front().text;
        const auto probe = testing::Probe(path);
        ASSERT_TRUE(probe.ok) << probe.error;
        EXPECT_EQ(probe.codec, spec->id);
        EXPECT_EQ(probe.frames, 4);
        EXPECT_EQ(testing::DecodeErrors(path), "");
        const auto frames = testing::DecodeRgbFrames(path, kWidth, kHeight);
        ASSERT_EQ(frames.size(), 4u);
        // Decoded rows run from the top: red first, blue at the bottom.
        const auto top = testing::PixelAt(frames[0], kWidth, 10, 10);
        const auto bottom = testing::PixelAt(frames[0], kWidth, 10, kHeight - 10);
        EXPECT_NEAR(top.r, 220, 24);
        EXPECT_NEAR(top.b, 0, 24);
        EXPECT_NEAR(bottom.r, 0, 24);
        EXPECT_NEAR(bottom.b, 220, 24);
        EXPECT_GT(testing::CountChangedPixels(frames[0], frames[3]), 64 * 80) << "the block moved";
    }
    EXPECT_EQ(FolderContents().size(), offered.size()) << "no temporary file stays behind";
}

// A quality setting that reaches the encoder changes what it writes.
TEST_F(AviWriterFiles, QualitySettingReachesTheEncoder) {
    struct QualityPlatform : ScriptedPlatform {
        int quality = 0;
        std::optional<CompressorChoice> ChooseCompression(const std::vector<CompressorInfo>& offered) override {
            EXPECT_EQ(offered[0].quality, kDefaultQuality) << "the suggested encoder has a quality";
            return CompressorChoice{0, quality};
        }
    } platform;
    SetPlatform(&platform);
    std::uintmax_t sizes[2] = {};
    for (int i : {0, 1}) {
        platform.quality = i == 0 ? 10 : 100;
        AviWriter writer;
        writer.fileName = Path(i == 0 ? "low.avi" : "high.avi");
        writer.SetBitmapInfoFromView(kWidth, kHeight);
        ASSERT_TRUE(writer.Open());
        std::vector<std::uint8_t> noisy = TestFrame(0);
        for (std::size_t p = 0; p < noisy.size(); ++p) noisy[p] = static_cast<std::uint8_t>(noisy[p] ^ (p * 7919 % 61));
        ASSERT_TRUE(writer.WriteFrame(noisy.data()));
        ASSERT_TRUE(writer.Close());
        sizes[i] = fs::file_size(writer.fileName);
    }
    SetPlatform(&platform_.platform);
    EXPECT_GT(sizes[1], sizes[0] * 2) << "quality 100 keeps far more detail than quality 10";
}

TEST_F(AviWriterFiles, FileThatCannotBeCreatedGivesTheOpenMessageAndNoFile) {
    std::ofstream(Path("plain-file")) << "x";
    for (const std::string& path : {Path("missing-folder/take.avi"), Path("plain-file/take.avi")}) {
        platform_->messages.clear();
        AviWriter writer;
        Prepare(writer, path, 0);
        EXPECT_FALSE(writer.Open());
        ASSERT_EQ(platform_->messages.size(), 1u);
        EXPECT_EQ(platform_->messages[0].text.rfind("AVI Engine failed to initialize. Check filename " + path +
                                                        ".A disk error occurred while opening the file. (",
                                                    0),
                  0u)
            << platform_->messages[0].text;
        EXPECT_EQ(platform_->messages[0].caption, "Error");
        EXPECT_EQ(platform_->compressorAnswers.size(), 1u) << "no chooser for a file that cannot be made";
        platform_->compressorAnswers.clear();
    }
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"plain-file"});
}

TEST_F(AviWriterFiles, FrameFormatNoEncoderCanTakeIsRefusedBeforeTheChooser) {
    AviWriter writer;
    writer.fileName = Path("tiny.avi");
    writer.SetBitmapInfoFromView(3, 3);  // rounds down to nothing
    platform_->compressorAnswers.push_back(0);
    EXPECT_FALSE(writer.Open());
    ASSERT_EQ(platform_->messages.size(), 1u);
    EXPECT_EQ(platform_->messages[0].text.rfind("AVI Stream creation failed. Check Bitmap info.", 0), 0u);
    EXPECT_EQ(platform_->compressorAnswers.size(), 1u);
    EXPECT_TRUE(FolderContents().empty());
}

TEST_F(AviWriterFiles, WriterDroppedWithoutCloseLeavesNoFile) {
    {
        AviWriter writer;
        Prepare(writer, Path("dropped.avi"), 0);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.WriteFrame(TestFrame(0).data()));
    }
    EXPECT_TRUE(FolderContents().empty());
    AviWriter never;
    EXPECT_FALSE(never.EncodeFrame(TestFrame(0).data())) << "writing to a writer never opened fails quietly";
    EXPECT_EQ(never.frameIndex, 1) << "the numbering goes on, as after any failed write";
}

// A file-size limit stands in for a full disk: the writes fail, the user is
// told, and nothing half-written stays at the name (an older take survives).
TEST_F(AviWriterFiles, DiskThatFillsUpLosesNothingAndSaysSo) {
    const std::string path = Path("full.avi");
    PlaceOldFile(path);
    bool complete = true;
    testing::WithFileSizeLimit(2'500'000, [&] { complete = WriteClip(path, "rawvideo", 5); });  // two raw frames

    EXPECT_FALSE(complete);
    ASSERT_FALSE(platform_->messages.empty());
    EXPECT_EQ(platform_->messages[0].text, "Unable to write data to stream.");
    EXPECT_EQ(platform_->messages.back().text.rfind("The AVI file " + path + " could not be completed", 0), 0u)
        << platform_->messages.back().text;
    EXPECT_EQ(Contents(path), "an older take");
    EXPECT_EQ(FolderContents().size(), 1u) << "the temporary file is gone";
}

}  // namespace
}  // namespace quorbel
