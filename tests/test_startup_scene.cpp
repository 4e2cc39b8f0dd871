// The start-up scene shipped in the repository: rebuilt byte for byte by
// its script with the program's own writer, and read by a first run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

TEST(StartupScene, ShippedFilesRebuildByteForByte) {
    testing::TempDirectory output;
    const auto run = testing::RunCommand("QUORBEL='" + std::string(QUORBEL_BINARY) + "' '" + testing::SourceDir() +
                                         "/tools/make_startup_scene.sh' " + output.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* name : {"settings.qrl", "Text.TXT"}) {
        const std::string shipped = testing::FileText(testing::SourceDir() + "/" + name);
        ASSERT_FALSE(shipped.empty()) << name << " is missing from the repository";
        EXPECT_TRUE(testing::FileText(name) == shipped) << name << " differs from what tools/startup_scene.txt makes; "
                                            << "run tools/make_startup_scene.sh";
    }
}

// Pixels whose red clearly exceeds their blue: the golden title.
int WarmPixels(const std::vector<std::uint8_t>& rgb) {
    int count = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] > rgb[i + 2] + 60) ++count;
    return count;
}

int WarmPixelsOfARun(bool withShippedSettings) {
    testing::TempDirectory folder;
    testing::LinkDefaultPictures();
    if (withShippedSettings) fs::copy_file(fs::path(testing::SourceDir()) / "settings.qrl", "settings.qrl");
    const auto run = testing::RunQuorbel("--frames 3 --size 240x160 --snapshot shot.png");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    EXPECT_TRUE(testing::ReadPng("shot.png", width, height, rgb));
    return WarmPixels(rgb);
}

TEST(StartupScene, FirstRunShowsTheShippedScene) {
    EXPECT_EQ(WarmPixelsOfARun(false), 0) << "the built-in title is white chrome";
    EXPECT_GT(WarmPixelsOfARun(true), 100) << "the shipped scene's title is golden";
}

}  // namespace
}  // namespace quorbel
