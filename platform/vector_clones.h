// Loops the compiler vectorises are built twice, for any x86-64 and for
// AVX2, and the faster one the processor runs is chosen when the program
// loads; AVX2 halves their time again. Not under the thread checker: the
// choosing runs before its runtime is up and crashes it.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define QUORBEL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUORBEL_VECTOR_CLONES
#endif
