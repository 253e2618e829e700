// vexaconv: the conversion engine as a command for batch work (vexaconv --help).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#define IsTerminal(fd) (_isatty(fd) != 0)
#else
#include <unistd.h>
#define IsTerminal(fd) (isatty(fd) != 0)
#endif

#include "convert/convcli.h"
#include "convert/convert.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

int main(int argc, char** argv) {
    ResetTextFormatSettings();
    ResetFieldLine();
    ResetConversionState();
    std::vector<std::string> args(argv + 1, argv + argc);
    ConvCliIo io{std::cin, std::cout, std::cerr, IsTerminal(0), IsTerminal(2)};
    return VexaconvMain(args, io);
}
