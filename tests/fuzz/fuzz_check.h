// The fuzz targets' check: a broken rule ends the run at once (naming the rule when given), so the
// fuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Check(bool ok, const char* what = nullptr) {
    if (ok) return;
    if (what) std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
