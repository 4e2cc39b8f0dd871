// The program's allocator settings: the software renderer takes tens of
// megabytes of small blocks for a busy frame and frees them at its end; the
// next frame must get the same pages back, not fault fresh ones in.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstddef>
#include <cstdlib>
#include <vector>

#include "platform/steady_memory.h"

namespace quorbel {
namespace {

long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// 32 MB in 64 kB blocks, every page written, then all freed.
void FrameOfSmallBlocks() {
    constexpr std::size_t kBlock = 64 * 1024, kPage = 4096;
    std::vector<void*> blocks(512);
    for (void*& block : blocks) {
        block = std::malloc(kBlock);
        for (std::size_t at = 0; at < kBlock; at += kPage) static_cast<volatile char*>(block)[at] = 1;
    }
    for (void* block : blocks) std::free(block);
}

TEST(SteadyMemory, AFrameOfSmallBlocksReusesThePreviousFramesPages) {
    KeepResidentMemorySteady();
    FrameOfSmallBlocks();
    const long before = MinorFaults();
    FrameOfSmallBlocks();
    EXPECT_LT(MinorFaults() - before, 100) << "of the 8192 pages a frame touches";
}

}  // namespace
}  // namespace quorbel
