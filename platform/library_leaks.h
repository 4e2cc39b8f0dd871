// fontconfig loses a few bytes of its own while it reads its configuration
// on the first FcInit. The leak-checked run (tools/sanitize.sh) would report
// them every time, and a suppression cannot name them narrowly: Debian's
// fontconfig keeps neither symbols nor frame pointers, so the report shows
// only "libfontconfig.so.1+0x23431", and a line for the whole library would
// also hide a pattern of ours that was never destroyed. So the one call that
// leaks runs inside a KnownLibraryLeak scope: what is allocated there, on
// this thread, is not reported; everything else is. Outside the sanitizer
// build the scope does nothing.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define QUORBEL_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORBEL_LEAK_CHECKED 1
#endif
#endif

#ifdef QUORBEL_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

namespace quorbel {

class KnownLibraryLeak {
public:
#ifdef QUORBEL_LEAK_CHECKED
    KnownLibraryLeak() { __lsan_disable(); }
    ~KnownLibraryLeak() { __lsan_enable(); }
#else
    KnownLibraryLeak() {}  // user-provided, so a scope variable is not "unused"
    ~KnownLibraryLeak() {}
#endif
    KnownLibraryLeak(const KnownLibraryLeak&) = delete;
    KnownLibraryLeak& operator=(const KnownLibraryLeak&) = delete;
};

}  // namespace quorbel
