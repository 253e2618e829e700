// vexaconv: the conversion engine as a command for batch work (vexaconv --help).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "convert/convcli.h"
#include "convert/convert.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

namespace {

// A console window or terminal (the NUL device and pipes are none, though the C runtime's isatty
// takes NUL for one on Windows).
bool IsTerminal(int fd) {
#ifdef _WIN32
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(fd == 0 ? STD_INPUT_HANDLE : STD_ERROR_HANDLE), &mode) != 0;
#else
    return isatty(fd) != 0;
#endif
}

} // namespace

int main(int argc, char** argv) {
    ResetTextFormatSettings();
    ResetFieldLine();
    ResetConversionState();
    std::vector<std::string> args(argv + 1, argv + argc);
    ConvCliIo io{std::cin, std::cout, std::cerr, IsTerminal(0), IsTerminal(2)};
    return VexaconvMain(args, io);
}
