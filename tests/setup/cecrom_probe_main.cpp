// Child program of the ROM-search tests: run under one of Wine's emulated Windows versions, it fills
// the set-up state from the version tests, optionally puts a board ROM signature at a segment of the
// adapter area (argument 2, hexadecimal; argument 3 the maker text, "CEC" when not given), searches,
// and writes "code <WinVersionCode> rom <result>" into the file named by argument 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup/launchers.h"
#include "setup/setupstate.h"

int main(int argc, char** argv) {
    FILE* out = argc > 1 ? std::fopen(argv[1], "w") : nullptr;
    if (!out) return 1;
    ReadWindowsState();
    if (argc > 2) {
        // Memory where the 95 family shows the adapter ROMs. Wine keeps the first megabyte reserved for
        // its 9x versions, so committing a 64 KB block there is enough; other versions reserve it first.
        uintptr_t linear = std::strtoul(argv[2], nullptr, 16) * 16;
        void* at = reinterpret_cast<void*>(linear & ~uintptr_t{0xFFFF});
        if (!VirtualAlloc(at, 0x10000, MEM_COMMIT, PAGE_READWRITE) &&
            !VirtualAlloc(at, 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)) {
            std::fprintf(out, "no memory at %lx", static_cast<unsigned long>(linear));
            std::fclose(out);
            return 1;
        }
        std::memcpy(reinterpret_cast<char*>(linear + 50), argc > 3 ? argv[3] : "CEC", 3);
        std::memcpy(reinterpret_cast<char*>(linear + 60), "Copy", 4);
    }
    std::fprintf(out, "code %d rom %d", SetupState.WinVersionCode, FindCecRom());
    std::fclose(out);
    return 0;
}
