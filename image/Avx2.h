#pragma once

// Functions built for AVX2 alongside the portable code of the same build: they carry
// TESSARY_AVX2 in their declaration and definition, and are only called where
// JpegKernels::Best() found the processor has AVX2.
#if defined(__x86_64__) || defined(__i386__)
#define TESSARY_HAS_AVX2 1
#define TESSARY_AVX2 __attribute__((target("avx2")))
#else
#define TESSARY_HAS_AVX2 0
#define TESSARY_AVX2
#endif
