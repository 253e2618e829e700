// Child program of the Windows-version tests: run under one of Wine's emulated versions, it writes
// the answers of the version tests and the raw version record, so the test can see the emulation
// took effect, as one line into the file named by its argument.
#include <windows.h>

#include <cstdio>

#include "lib/proc_win32.h"

int main(int argc, char** argv) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    FILE* out = argc > 1 ? std::fopen(argv[1], "w") : nullptr;
    if (!out || !GetVersionExA(&v)) return 1;
    std::fprintf(out, "NT %d 95 %d platform %lu %lu.%lu", IsWindowsNT(), IsWindows95(), v.dwPlatformId,
                 v.dwMajorVersion, v.dwMinorVersion);
    std::fclose(out);
    return 0;
}
