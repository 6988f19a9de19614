#pragma once
// The checks of the fuzz targets: a broken promise prints what was broken
// and aborts, which libFuzzer records as a finding with its input.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                          \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)
