// Replays files through the fuzz entry point without libFuzzer, so the
// ordinary build checks the decoder against a corpus (the BMP Suite) and a
// crash found by the fuzzer can be reproduced with any compiler.
// Usage: fuzz_dib_replay FILE_OR_FOLDER...   Exit 77 when none exists.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr int kSkipped = 77;  // CTest's SKIP_RETURN_CODE

std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& path) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_regular_file(path)) {
        files.push_back(path);
    } else if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
    }
    return files;
}

void Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    std::printf("%s (%zu bytes)\n", file.c_str(), bytes.size());
    std::fflush(stdout);  // so the file that crashed is the last one shown
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& file : FilesOf(argv[i])) {
            Replay(file);
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::printf("no corpus files found; nothing replayed\n");
        return kSkipped;
    }
    std::printf("replayed %zu files\n", replayed);
    return 0;
}
