// The headless mode as scripts use it: snapshot, --set/--get, the encoder
// list, and clear failures for every bad request.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {
namespace {

using testing::RunQuorbel;

// Each run happens in a folder of its own that links the default pictures
// but holds no "settings.qrl", so the options act on the built-in values.
class HeadlessCli : public ::testing::Test {
protected:
    void SetUp() override { testing::LinkDefaultPictures(); }
    testing::TempDirectory output_;
    std::string Out(const char* name) const { return output_.File(name); }
};

TEST_F(HeadlessCli, SnapshotOfAClearedFrameIsThatColourEverywhere) {
    std::string png = Out("red.png");
    auto run = RunQuorbel("--snapshot " + png +
                          " --frames 2 --set textHidden=2 --set clearRed=1 --set clearBlue=0.5 --seed 1");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("wrote " + png), std::string::npos) << run.err;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(testing::ReadPng(png, width, height, rgb));
    EXPECT_EQ(width, 720);
    EXPECT_EQ(height, 480);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        ASSERT_EQ(rgb[i], 255) << "pixel " << i / 3;
        ASSERT_EQ(rgb[i + 1], 0) << "pixel " << i / 3;
        ASSERT_NEAR(rgb[i + 2], 128, 1) << "pixel " << i / 3;
    }
}

// --get prints after the last frame, and numbers are read as typed.
TEST_F(HeadlessCli, GetReadsAfterTheLastFrameAndNumbersAreReadAsTyped) {
    auto run = RunQuorbel("--frames 03 --set textSpinY=2 --set textSpinSpeedY=6 --set particleCount=010 "
                          "--set textPosX=1e-38 --set backgroundColour=0xff0000 --get textAngleY "
                          "--get particleCount --get textPosX --get backgroundColour");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "textAngleY=3\nparticleCount=10\ntextPosX=9.99999935e-39\nbackgroundColour=255\n");
}

// Every request the program refuses, or that leaves nothing to write: the
// exit code, what it says (the way out, where there is one), and no file.
TEST_F(HeadlessCli, BadRequestsFailClearlyWithoutWritingAnything) {
    const std::string png = " --snapshot " + Out("never.png");
    const std::string avi = "--record " + Out("a.avi");
    const std::string mov = "--record " + Out("a.mov");
    const struct {
        std::string arguments;
        int exitCode;
        std::string says;
    } cases[] = {
        {png + " --size 0x480", 2, "--size"},
        {png + " --size 720by480", 2, "--size"},
        {png + " --size 99999x10", 2, "--size"},
        {png + " --frames -1", 2, "--frames"},
        {png + " --frames 0x10", 2, "--frames"},
        {png + " --frames 0", 2, "--frames"},
        {png + " --set tunelShown=2", 2, "tunnelShown"},
        {png + " --set tunnelShown=yes", 2, "tunnelShown"},
        {png + " --set tunnelShown", 2, "NAME=VALUE"},
        {"--get particlecount", 2, "particleCount"},
        {"--snapshot /nonexistent-folder/a.png", 2, "not writable"},
        {"--save-settings /nonexistent-folder/x.qrl" + png, 2, "not writable"},
        {"--bogus 1", 2, "unknown option"},
        {"--title " + std::string(256, 'x') + png, 2, "--title"},
        {"--record " + Out("zero.avi") + " --frames 0", 0, "nothing recorded"},
        {"--record " + Out("missing/take.avi") + " --frames 3", 1,
         "AVI Engine failed to initialize. Check filename " + Out("missing/take.avi") +
             ".A disk error occurred while opening the file."},
        {avi + " --standard secam", 2, "--standard"},
        {avi + " --codec cinepak", 2, "--codec list"},
        {avi + " --quality 0", 2, "--quality"},
        {avi + " --quality 101", 2, "--quality"},
        {"--record ''", 2, "--record"},
        {avi + png, 2, "cannot be combined"},
        {avi + " --codec dvvideo --size 640x480", 2, "offered: mjpeg"},
        {avi + " --size 2x2", 2, "at least 4 pixels"},
        {"--record " + Out("a.mp4") + " --codec qtrle", 2, "cannot be stored in a .mp4 file; .mp4 files take: libx264"},
        {avi + " --codec libx264", 2, "cannot be stored in a .avi file"},
        {"--record " + Out("a.mp4") + " --alpha", 2, "--alpha needs a format that keeps transparency: .mov"},
        {"--record " + Out("a") + " --alpha", 2, "(a .avi file has none here)"},
        {mov + " --alpha --codec libx264", 2, "cannot keep transparency"},
        {mov + " --size 4000x2000", 2, "up to 3840 x 2160"},
        {mov + " --size 3840x3840", 2, "up to 3840 x 2160"},
        {mov + " --fps 0", 2, "bad --fps '0'"},
        {mov + " --fps 29.9", 2, "30000/1001"},
        {mov + " --fps 1000", 2, "at most 240"},
        {avi + " --standard pal --fps 50", 2, "--standard pal sets the size and the rate"},
        {avi + " --standard ntsc --size 1920x1080", 2, "--standard ntsc sets the size"},
        {png + " --alpha", 2, "belong to a recording"},
        {mov + " --codec nothing", 2, "unknown --codec 'nothing'"},
    };
    for (const auto& c : cases) {
        const auto run = RunQuorbel(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
    }
    EXPECT_TRUE(output_.Names().empty());
}

// What this FFmpeg can record, for the size, rate, transparency and file asked.
TEST_F(HeadlessCli, CodecListShowsWhatTheRequestCanUseSuggestedFirst) {
    auto ntsc = RunQuorbel("--codec list");
    ASSERT_EQ(ntsc.exitCode, 0) << ntsc.err;
    EXPECT_NE(ntsc.out.find("720x480 at 30"), std::string::npos) << ntsc.out;
    EXPECT_NE(ntsc.out.find("\n  mjpeg "), std::string::npos) << ntsc.out;
    EXPECT_LT(ntsc.out.find("mjpeg"), ntsc.out.find("rawvideo"));
    EXPECT_NE(ntsc.out.find("dvvideo"), std::string::npos);
    auto other = RunQuorbel("--codec list --size 640x480");
    EXPECT_EQ(other.out.find("dvvideo"), std::string::npos) << "no DV system is 640 x 480";
    const auto alpha = RunQuorbel("--codec list --alpha --size 1920x1080 --fps 59.94");
    ASSERT_EQ(alpha.exitCode, 0) << alpha.err;
    EXPECT_NE(alpha.out.find("1920x1080 at 60000/1001 frames per second with transparency"), std::string::npos)
        << alpha.out;
    EXPECT_EQ(alpha.out.find("mjpeg"), std::string::npos) << "nothing in AVI keeps transparency";
    const auto onlyMovies = RunQuorbel("--codec list --record x.mov");
    EXPECT_NE(onlyMovies.out.find(".mov files"), std::string::npos) << onlyMovies.out;
    EXPECT_EQ(onlyMovies.out.find(".avi files"), std::string::npos) << onlyMovies.out;
}

TEST_F(HeadlessCli, SaveSettingsWritesTheRecordAndTitleOfTheRun) {
    auto run = RunQuorbel("--set titleText=Headless --set particleCount=1234 --save-settings fresh.qrl");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string record = testing::FileText("fresh.qrl");
    ASSERT_EQ(record.size(), 1728u);
    EXPECT_EQ(record.substr(8 * 26, 4), std::string("\xd2\x04\0\0", 4)) << "particleCount, little-endian";
    EXPECT_EQ(testing::FileText("Text.TXT"), "Headless");
    EXPECT_FALSE(std::filesystem::exists("quorbel-snapshot.png")) << "saving settings is output enough";
}

// A title draws the same pixels from a UTF-8 title file, from an 8-bit one
// (where 8-bit text can carry it) and from --title, which needs no title
// file and is saved as Save would; the UTF-8 bytes read one by one (the
// first row's "Caf\u00c3\u00a9") would not.
TEST_F(HeadlessCli, ATitleDrawsTheSameFromEitherTitleFileAndFromTheCommandLine) {
    ASSERT_EQ(RunQuorbel("--save-settings scene.qrl").exitCode, 0);
    auto render = [this](const std::string& name, const std::string& more) {
        auto run = RunQuorbel("--settings scene.qrl --size 160x120 --seed 3 --snapshot " + output_.File(name) + more);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return testing::FileText(output_.File(name));
    };
    const auto write = [](const std::string& bytes) { std::ofstream("Text.TXT", std::ios::binary) << bytes; };
    const struct {
        std::string title, eightBit, argument;
    } rows[] = {
        {"Caf\u00e9", "Caf\xe9", "Caf\u00e9"},
        {"\u041c\u043e\u0441\u043a\u0432\u0430 \u6771\u4eac", "", "\u041c\u043e\u0441\u043a\u0432\u0430 \u6771\u4eac"},
        {"One\nTwo \u00bd", "One\nTwo \xbd", "One\\nTwo \u00bd"},
    };
    std::string first;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        write(row.title);
        const std::string fromUtf8 = render("utf8.png", "");
        if (first.empty()) first = fromUtf8;
        if (!row.eightBit.empty()) {
            write(row.eightBit);
            EXPECT_EQ(render("8bit.png", ""), fromUtf8);
        }
        std::filesystem::remove("Text.TXT");
        EXPECT_EQ(render("arg.png", " --title " + testing::Quoted(row.argument) + " --save-settings saved.qrl"),
                  fromUtf8);
        EXPECT_EQ(testing::FileText("Text.TXT"), row.eightBit.empty() ? "\xEF\xBB\xBF" + row.title : row.eightBit);
    }
    EXPECT_NE(render("bytes.png", " --title " + testing::Quoted("Caf\u00c3\u00a9")), first);
}

TEST_F(HeadlessCli, SetValuesWinOverTheStartupSettingsFile) {
    ASSERT_EQ(RunQuorbel("--set particleCount=1234 --set clearBlue=0.5 --save-settings settings.qrl").exitCode, 0);
    // Start-up hides the particles and the blur panel sets the density from its slider: named values win over both.
    auto run = RunQuorbel("--frames 2 --set clearBlue=0.25 --set particlesShown=2 --set blurDensity=100 --get "
                          "particleCount --get clearBlue --get startupStage --get particlesShown --get blurDensity");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "particleCount=1234\nclearBlue=0.25\nstartupStage=2\nparticlesShown=2\nblurDensity=100\n");
}

TEST_F(HeadlessCli, NoUsableOpenGlIsReported) {
    auto run = testing::RunCommand("__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json '" +
                                   std::string(QUORBEL_BINARY) + "' --snapshot " + Out("x.png"));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("no usable OpenGL"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quorbel
