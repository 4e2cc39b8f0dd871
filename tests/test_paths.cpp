// Windows-style names resolved against a real folder tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "imaging/paths.h"
#include "support/bmp_oracle.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

TEST(ResolvePath, WindowsNamesResolveTheSameWayRelativeAndAbsolute) {
    testing::ScratchFolder folder;
    for (const char* file : {"Data/Fire.bmp", "Data/P3.bmp", "gfx/matrix.bmp",
                             "gfx/Sub Dir/Deep.BMP", "twins/ab.txt", "twins/AB.txt"}) {
        fs::create_directories((folder.path() / file).parent_path());
        testing::WriteFileBytes(folder.path() / file, {1});
    }
    const std::pair<const char*, const char*> cases[] = {  // as the program writes it, to open
        {"Data/Fire.bmp", "Data/Fire.bmp"},                  // exact: unchanged
        {"Data\\Fire.bmp", "Data/Fire.bmp"},                 // backslash is a separator
        {"data\\fire.BMP", "Data/Fire.bmp"},                 // every component may differ in case
        {"DATA/p3.bmp", "Data/P3.bmp"},
        {"GFX\\sub dir\\deep.bmp", "gfx/Sub Dir/Deep.BMP"},  // spaces are ordinary characters
        {"gfx//matrix.bmp", "gfx//matrix.bmp"},              // exists as written, so left alone
        {"Gfx//MATRIX.bmp", "gfx/matrix.bmp"},
        {"./DATA/../gfx/Matrix.bmp", "./Data/../gfx/matrix.bmp"},
        {"Data/Missing.bmp", "Data/Missing.bmp"},              // a missing file keeps its case
        {"data\\missing\\Fire.bmp", "Data/missing/Fire.bmp"},  // nothing matches below it
        {"nothing\\Data", "nothing/Data"},
        {"TWINS/Ab.txt", "twins/AB.txt"},  // several matches: the first in byte order
        {"gfx\\", "gfx/"},
        {"GFX/", "gfx/"},
    };
    const std::string root = folder.path().string();
    const fs::path previous = fs::current_path();
    fs::current_path(root);  // relative names resolve from the current directory
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(ResolvePath(name), expected) << name;
        EXPECT_EQ(ResolvePath(root + "/" + name), root + "/" + expected) << name;
    }
    fs::current_path(previous);
    std::string windowsRoot = root;
    std::replace(windowsRoot.begin(), windowsRoot.end(), '/', '\\');
    EXPECT_EQ(ResolvePath(windowsRoot + "\\DATA\\FIRE.BMP"), root + "/Data/Fire.bmp");
    EXPECT_EQ(ResolvePath(""), "");
    EXPECT_EQ(ResolvePath("/"), "/");
    EXPECT_EQ(ResolvePath("\\"), "/");
}

}  // namespace
}  // namespace quorbel
