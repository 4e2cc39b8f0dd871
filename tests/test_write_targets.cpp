// No writer replaces what is not a regular file: a named pipe, a link to
// one or a folder at the target's name is refused with a message naming it
// and left as it was, for root (whom no permission stops) and for a user.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "imaging/png_writer.h"
#include "support/scripted_platform.h"
#include "settings/settings_file.h"
#include "support/gl_test_env.h"
#include "support/process.h"
#include "video/avi_writer.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

// Each writer writes into the current folder and returns what it told the
// user ("" when it says it succeeded).
struct Writer {
    const char* what;
    const char* target;  // the name that is put in the way
    std::function<std::string()> write;
};

std::string Said(const std::optional<std::string>& failure) { return failure.value_or(""); }

std::string Record(const char* name, ScriptedPlatform& platform) {
    AviWriter writer;
    writer.fileName = name;
    writer.SetBitmapInfoFromView(64, 48);
    platform.messages.clear();
    if (writer.Open()) return "";
    return platform.messages.empty() ? "no message" : platform.messages.back().text;
}

std::set<std::string> Listing() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename().string());
    return names;
}

// The thing in the way is still what it was.
bool Unchanged(const std::string& kind, const char* name) {
    const fs::file_status own = fs::symlink_status(name), followed = fs::status(name);
    if (kind == "pipe") return fs::is_fifo(own);
    if (kind == "link to a pipe") return fs::is_symlink(own) && fs::is_fifo(followed);
    return fs::is_directory(own);
}

TEST(WriteTargets, EveryWriterRefusesPipesLinksToPipesAndFolders) {
    testing::TempDirectory folder;
    chmod(".", 0777);  // the unprivileged child writes here too
    ScopedScriptedPlatform platform;
    const std::vector<std::uint8_t> rgb(2 * 2 * 3, 200);
    const Writer writers[] = {
        {"settings file", "scene.qrl", [] { return Said(WriteSettings("scene.qrl", SceneState{})); }},
        {"title file", "Text.TXT", [] { return Said(WriteSettings("scene.qrl", SceneState{})); }},
        {"snapshot", "shot.png", [&] { return Said(WritePngBottomUp("shot.png", 2, 2, rgb)); }},
        {"AVI", "clip.avi", [&] { return Record("clip.avi", platform.platform); }},
        {"QuickTime", "clip.mov", [&] { return Record("clip.mov", platform.platform); }},
        {"MP4", "clip.mp4", [&] { return Record("clip.mp4", platform.platform); }},
        {"WebM", "clip.webm", [&] { return Record("clip.webm", platform.platform); }},
        {"a picture of a sequence", "seq_00002.png", [&] { return Record("seq.png", platform.platform); }},
    };
    const std::function<void(const char*)> obstacles[] = {
        [](const char* name) { mkfifo(name, 0666); },
        [](const char* name) {
            mkfifo("elsewhere.fifo", 0666);
            fs::create_symlink("elsewhere.fifo", name);
        },
        [](const char* name) { fs::create_directory(name); },
    };
    const char* kinds[] = {"pipe", "link to a pipe", "folder"};
    for (const Writer& writer : writers) {
        for (int k = 0; k < 3; ++k) {
            for (bool asUser : {false, true}) {
                SCOPED_TRACE(std::string(writer.what) + " at a " + kinds[k] + (asUser ? ", as a user" : ", as root"));
                obstacles[k](writer.target);
                const std::set<std::string> before = Listing();
                const std::string said = asUser ? testing::InUnprivilegedChild(writer.write) : writer.write();
                EXPECT_NE(said.find(writer.target), std::string::npos) << said;
                EXPECT_NE(said.find("not a regular file"), std::string::npos) << said;
                EXPECT_TRUE(Unchanged(kinds[k], writer.target));
                EXPECT_EQ(Listing(), before) << "something was made or removed";
                for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
            }
        }
    }
}

}  // namespace
}  // namespace quorbel
