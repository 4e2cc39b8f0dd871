// The headless mode as scripts use it: snapshot, --set/--get, and clear
// failures for every bad request.
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

TEST_F(HeadlessCli, BadRequestsFailClearlyWithoutWritingAnything) {
    struct Case {
        std::string arguments;
        std::string says;
    };
    const std::string png = Out("never.png");
    for (const Case& bad : {Case{"--snapshot " + png + " --size 0x480", "--size"},
                            Case{"--snapshot " + png + " --size 720by480", "--size"},
                            Case{"--snapshot " + png + " --size 99999x10", "--size"},
                            Case{"--snapshot " + png + " --frames -1", "--frames"},
                            Case{"--snapshot " + png + " --frames 0x10", "--frames"},
                            Case{"--snapshot " + png + " --set tunelShown=2", "tunnelShown"},
                            Case{"--snapshot " + png + " --set tunnelShown=yes", "tunnelShown"},
                            Case{"--snapshot " + png + " --set tunnelShown", "NAME=VALUE"},
                            Case{"--get particlecount", "particleCount"},
                            Case{"--snapshot /nonexistent-folder/a.png", "not writable"},
                            Case{"--save-settings /nonexistent-folder/x.qrl --snapshot " + png, "not writable"},
                            Case{"--title " + std::string(256, 'x') + " --snapshot " + png, "--title"},
                            Case{"--bogus 1", "unknown option"}}) {
        auto run = RunQuorbel(bad.arguments);
        EXPECT_NE(run.exitCode, 0) << bad.arguments;
        EXPECT_NE(run.err.find(bad.says), std::string::npos) << bad.arguments << "\n" << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(png));
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
    auto run = RunQuorbel("--frames 2 --set clearBlue=0.25 --get particleCount --get clearBlue --get startupStage");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "particleCount=1234\nclearBlue=0.25\nstartupStage=2\n");
}

// Run in a copy of the pictures with one spoiled: the run goes on, and says
// once which file it could not use and why.
TEST_F(HeadlessCli, PicturesThatCannotBeUsedAreNamedOnStderr) {
    namespace fs = std::filesystem;
    struct Case {
        const char* spoil;  // removed, then made a folder when `folder`
        bool folder;
        std::string says;
    };
    for (const Case& c : {Case{"Data/p2.bmp", false, "Error: Failed to open DIB file Data/p2.bmp.\nThe file does not exist.\n"},
                          Case{"gfx/matrix.bmp", true, "Error: Failed to open DIB file Gfx/matrix.bmp.\n"
                                                       "It is a folder, not a picture file.\n"}}) {
        testing::TempDirectory copy;
        for (const char* folder : {"Data", "gfx"})
            fs::copy(fs::path(testing::SourceDir()) / folder, folder, fs::copy_options::recursive);
        fs::remove(c.spoil);
        if (c.folder) fs::create_directory(c.spoil);
        auto run = testing::RunCommand(std::string("'").append(QUORBEL_BINARY).append("' --frames 2 --get tunnelShown"));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto first = run.err.find(c.says);
        EXPECT_NE(first, std::string::npos) << run.err;
        EXPECT_EQ(run.err.find(c.says, first + 1), std::string::npos) << "named once\n" << run.err;
    }
}

TEST_F(HeadlessCli, NoUsableOpenGlIsReported) {
    auto run = testing::RunCommand("__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json '" +
                                   std::string(QUORBEL_BINARY) + "' --snapshot " + Out("x.png"));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("no usable OpenGL"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quorbel
