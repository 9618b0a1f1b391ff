#pragma once
// Hot loops of the effects are compiled twice on x86-64: for the baseline and for AVX2 with FMA;
// the loader picks the version the processor runs.

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
#define DSP_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define DSP_CLONES
#endif
