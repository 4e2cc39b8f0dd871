// The DV sizes render exactly as they did before the program learnt other
// sizes: every scene of tests/data/dv_scenes.txt, snapshots and recordings,
// pixel for pixel against what the last commit before that change rendered
// (tests/data/dv_references.txt, made by tools/make_dv_references.sh from
// that commit's own build). The pixels also depend on the renderer, fonts
// and codecs installed, so the comparison runs only where those are the ones
// the references were made with: elsewhere matching pixels still pass, and
// differing ones skip with what differs, since a renderer update alone can
// move a few pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "support/gl_test_env.h"
#include "support/process.h"
#include "support/video_probe.h"

namespace quorbel {
namespace {

std::string SourcePath(const std::string& relative) { return testing::SourceDir() + "/" + relative; }

struct References {
    std::string fingerprint;
    std::map<std::string, std::string> hashes;
};

References ReadReferences() {
    References references;
    std::ifstream file(SourcePath("tests/data/dv_references.txt"));
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string key = line.substr(0, space), value = line.substr(space + 1);
        if (key == "fingerprint") references.fingerprint = value;
        else references.hashes[key] = value;
    }
    return references;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

TEST(DvIdentity, EveryDvSceneRendersAsBeforeOtherSizesWereLearnt) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const References references = ReadReferences();
    ASSERT_GE(references.hashes.size(), 10u) << "tests/data/dv_references.txt is missing or short";
    const auto here = testing::RunCommand(testing::Quoted(SourcePath("tools/render_fingerprint.sh")));
    ASSERT_EQ(here.exitCode, 0) << here.err;
    const bool sameLibraries = Trimmed(here.out) == references.fingerprint;
    const auto run = testing::RunCommand(testing::Quoted(SourcePath("tools/dv_scene_hashes.sh")) + " " +
                                         testing::Quoted(QUORBEL_BINARY) + " " +
                                         testing::Quoted(testing::SourceDir()) + " " +
                                         testing::Quoted(SourcePath("tests/data/dv_scenes.txt")));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string name, hash, differing;
    std::size_t compared = 0;
    while (lines >> name >> hash) {
        ++compared;
        const auto expected = references.hashes.find(name);
        ASSERT_NE(expected, references.hashes.end()) << name << " has no reference: run tools/make_dv_references.sh";
        if (hash != expected->second) differing += " " + name;
    }
    EXPECT_EQ(compared, references.hashes.size());
    if (!differing.empty() && !sameLibraries)
        GTEST_SKIP() << "differing:" << differing
                     << "\nbut the references were rendered with other renderer, font or codec versions:\n  "
                     << references.fingerprint << "\nthis machine has:\n  " << Trimmed(here.out)
                     << "\nmake them here from the last commit before the size scaling with "
                        "tools/make_dv_references.sh COMMIT";
    EXPECT_EQ(differing, "") << " render differently at their DV sizes";
}

}  // namespace
}  // namespace quorbel
