// Windows-style names resolved against a real folder tree.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "imaging/paths.h"
#include "support/bmp_oracle.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

class ResolvePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"Data/Fire.bmp", "Data/P3.bmp", "gfx/matrix.bmp",
                                 "gfx/Sub Dir/Deep.BMP", "twins/ab.txt", "twins/AB.txt"}) {
            fs::path path = root() / file;
            fs::create_directories(path.parent_path());
            testing::WriteFileBytes(path, {1});
        }
    }

    fs::path root() const { return folder_.path(); }
    std::string Abs(const std::string& relative) const { return root().string() + "/" + relative; }

    testing::ScratchFolder folder_;
};

// The current directory is the tree's root while a relative name resolves.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

struct Case {
    const char* name;    // as the program writes it
    const char* expect;  // what to open, relative to the root
};

const Case kCases[] = {
    {"Data/Fire.bmp", "Data/Fire.bmp"},   // exact: unchanged
    {"Data\\Fire.bmp", "Data/Fire.bmp"},  // backslash is a separator
    {"data\\fire.BMP", "Data/Fire.bmp"},  // every component may differ in case
    {"Gfx/matrix.bmp", "gfx/matrix.bmp"},
    {"DATA/p3.bmp", "Data/P3.bmp"},
    {"GFX\\sub dir\\deep.bmp", "gfx/Sub Dir/Deep.BMP"},  // spaces are ordinary characters
    {"gfx//matrix.bmp", "gfx//matrix.bmp"},              // exists as written, so left alone
    {"Gfx//MATRIX.bmp", "gfx/matrix.bmp"},
    {"./DATA/../gfx/Matrix.bmp", "./Data/../gfx/matrix.bmp"},
    {"Data/Missing.bmp", "Data/Missing.bmp"},              // a missing file keeps its case
    {"data\\missing\\Fire.bmp", "Data/missing/Fire.bmp"},  // nothing below a missing folder matches
    {"nothing\\Data", "nothing/Data"},
    {"TWINS/Ab.txt", "twins/AB.txt"},  // several matches: the first in byte order
    {"gfx\\", "gfx/"},
    {"GFX/", "gfx/"},
};

TEST_F(ResolvePathTest, RelativeNamesResolveFromTheCurrentDirectory) {
    InFolder here(root());
    for (const Case& c : kCases) {
        EXPECT_EQ(ResolvePath(c.name), c.expect) << c.name;
    }
}

TEST_F(ResolvePathTest, AbsoluteNamesResolveTheSameWay) {
    for (const Case& c : kCases) {
        EXPECT_EQ(ResolvePath(Abs(c.name)), Abs(c.expect)) << c.name;
    }
}

TEST_F(ResolvePathTest, AbsoluteNameWithBackslashesThroughout) {
    std::string windows = root().string();
    std::replace(windows.begin(), windows.end(), '/', '\\');
    EXPECT_EQ(ResolvePath(windows + "\\DATA\\FIRE.BMP"), Abs("Data/Fire.bmp"));
}

TEST_F(ResolvePathTest, ResolvedNamesOpen) {
    InFolder here(root());
    for (const char* name : {"Data\\Fire.bmp", "Gfx/MATRIX.BMP", "data/p3.bmp"}) {
        EXPECT_TRUE(fs::is_regular_file(ResolvePath(name))) << name;
    }
    EXPECT_FALSE(fs::exists(ResolvePath("Data/P4.bmp")));
}

TEST(ResolvePath, EmptyNameStaysEmpty) { EXPECT_EQ(ResolvePath(""), ""); }

TEST(ResolvePath, RootStaysRoot) {
    EXPECT_EQ(ResolvePath("/"), "/");
    EXPECT_EQ(ResolvePath("\\"), "/");
}

}  // namespace
}  // namespace quorbel
