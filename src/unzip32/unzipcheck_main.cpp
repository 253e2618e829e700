// unzipcheck: extracts (or with -t tests) an archive through the same front as UnZip32.DLL, with the
// options the program passes; for benchmarks and checks by hand. Exits with the result code.
//   unzipcheck [-t] [-q] ARCHIVE [FOLDER]
#include <cstdio>
#include <cstring>

#include "lib/unzipdll.h"
#include "unzip32/singleentry.h"

namespace {

int UNZIP_API Print(char* text, unsigned long length) {
    std::fwrite(text, 1, length, stderr);
    return static_cast<int>(length);
}

int UNZIP_API Replace(char*) {
    return 1;
}

int UNZIP_API Service(const char*, unsigned long) {
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bool test = false, quiet = false;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (std::strcmp(argv[i], "-t") == 0)
            test = true;
        else if (std::strcmp(argv[i], "-q") == 0)
            quiet = true;
        else
            break;
    }
    if (i >= argc || argc - i > 2) {
        std::fprintf(stderr, "usage: unzipcheck [-t] [-q] ARCHIVE [FOLDER]\n");
        return 10;
    }
    DCL dcl = {};
    dcl.PromptToOverwrite = 1;
    dcl.ndflag = 1;
    dcl.ntflag = test ? 1 : 0;
    dcl.fQuiet = quiet ? 2 : 0;
    dcl.lpszZipFN = argv[i];
    dcl.lpszExtractDir = i + 1 < argc ? argv[i + 1] : nullptr;
    USERFUNCTIONS uf = {};
    uf.print = Print;
    uf.replace = Replace;
    uf.ServCallBk = Service;
    int result = unzip::SingleEntryUnzip(0, nullptr, 0, nullptr, &dcl, &uf);
    if (!quiet)
        std::printf("result %d: %u members, %lu bytes from %lu\n", result, uf.NumMembers, uf.TotalSize,
                    uf.TotalSizeComp);
    return result;
}
