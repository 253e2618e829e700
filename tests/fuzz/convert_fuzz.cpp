// Any bytes, as a binary data file (to Full or Col ASCII) or as a Full ASCII file (back to binary),
// under a name of any kind: the engine converts them or passes them over, never reading or writing
// out of bounds. The first byte chooses kind, mode and options; what the binary side writes as Full
// ASCII is converted back as well, so the text reader sees the writer's own forms too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "convert/convert.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

namespace {

std::string scratch; // this process's folder for the files of one input

// Removes the files of the last input and the folder when the fuzzer ends.
void RemoveScratch() {
    for (const char* kind : {"K", "Y", "P", "T", "V", "A", "Q"})
        for (const char* file : {"/IN.%s01", "/OUT.%s01.TXT", "/BACK.%s01"}) {
            char name[32];
            std::snprintf(name, sizeof name, file, kind);
            std::remove((scratch + name).c_str());
        }
    rmdir(scratch.c_str());
}

const std::string& ScratchDir() {
    if (scratch.empty()) {
        char name[] = "/tmp/convert-fuzz-XXXXXX";
        if (!mkdtemp(name)) std::abort();
        scratch = name;
        std::atexit(RemoveScratch);
    }
    return scratch;
}

void Convert(int mode, int cols, bool numbered, int lastLine, const std::string& source,
             const std::string& dest) {
    ConvSetup(mode, cols, lastLine, numbered, true, "1,3;36 99 0 5");
    bool abortRun = false;
    bool converted = false;
    ConvertFile(source, dest, false, abortRun, converted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    uint8_t control = data[0];
    uint8_t options = data[1];
    char kind = "KYPTVAQ"[control % 7];
    int mode = control / 7 % 3;
    int cols = 1 + options % 3;
    bool numbered = options & 4;
    int lastLine = options / 8 % 3;
    static const int delimiters[] = {32, 31, 44, 59, 17, 9, 18, 29, 13, 10, 30, 124, 0, 47};
    ResetTextFormatSettings();
    ResetFieldLine();
    TextFormatSettings.DelimiterCode = delimiters[control / 21 % 14];
    TextFormatSettings.Decimals = -(1 + options / 24 % 12);

    const std::string& dir = ScratchDir();
    std::string source = dir + "/IN." + kind + "01";
    std::string text = dir + "/OUT." + kind + "01.TXT";
    std::string back = dir + "/BACK." + kind + "01";
    std::FILE* file = std::fopen(source.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data + 2, 1, size - 2, file);
    std::fclose(file);
    std::remove(text.c_str());

    if (mode == ModeFullToBin) {
        Convert(ModeFullToBin, cols, numbered, lastLine, source, back);
    } else {
        Convert(mode, cols, numbered, lastLine, source, text);
        if (mode == ModeBinToFull) Convert(ModeFullToBin, cols, numbered, lastLine, text, back);
    }
    return 0;
}
