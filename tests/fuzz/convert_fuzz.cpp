// Any bytes, as a binary data file (to Full or Col ASCII) or as a Full ASCII file (back to binary),
// under a name of any kind: the engine converts them or passes them over, never reading or writing
// out of bounds. The first byte chooses kind, mode and options; what the binary side writes as Full
// ASCII is converted back as well, so the text reader sees the writer's own forms too. Text that is no
// Full ASCII file is read as the record lines of one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "convert/convert.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

namespace {

// This process's folder for the files of one input, removed with them when the fuzzer ends.
struct Scratch {
    Scratch() {
        char name[] = "/tmp/convert-fuzz-XXXXXX";
        if (!mkdtemp(name)) std::abort();
        Dir = name;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }
    std::string Dir;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Scratch scratch;
    if (size < 2) return 0;
    const uint8_t control = data[0], options = data[1];
    const char kind = "KYPTVAQ"[control % 7];
    const int mode = control / 7 % 3;
    static const int delimiters[] = {32, 31, 44, 59, 17, 9, 18, 29, 13, 10, 30, 124, 0, 47};
    ResetTextFormatSettings();
    ResetFieldLine();
    TextFormatSettings.DelimiterCode = delimiters[control / 21 % 14];
    TextFormatSettings.Decimals = -(1 + options / 24 % 12);
    auto convert = [&](int runMode, const std::string& source, const std::string& dest) {
        ConvSetup(runMode, 1 + options % 3, options / 8 % 3, options & 4, true, "1,3;36 99 0 5");
        bool abortRun = false, converted = false;
        ConvertFile(source, dest, false, abortRun, converted);
    };

    const std::string source = scratch.Dir + "/IN." + kind + "01",
                      text = scratch.Dir + "/OUT." + kind + "01.TXT";
    const std::string back = scratch.Dir + "/BACK." + kind + "01";
    auto write = [](const std::string& name, const void* bytes, size_t count, const char* how) {
        std::FILE* file = std::fopen(name.c_str(), how);
        if (!file) std::abort();
        std::fwrite(bytes, 1, count, file);
        std::fclose(file);
    };
    write(source, data + 2, size - 2, "wb");
    std::remove(text.c_str());
    if (mode == ModeFullToBin && (size < 4 || data[2] != 'S' || data[3] != 'W')) {
        // Not a Full ASCII file: the bytes are the record lines behind the header of a file without
        // records in the chosen layout, so the record reader sees every input.
        std::string empty(40 + 472 + 512, '\0');
        empty.replace(0, 40, "SW0-DAT-20.0----------------------------");
        write(source, empty.data(), empty.size(), "wb");
        convert(ModeBinToFull, source, text);
        write(text, data + 2, size - 2, "ab");
        convert(ModeFullToBin, text, back);
    } else if (mode == ModeFullToBin) {
        convert(ModeFullToBin, source, back);
    } else {
        convert(mode, source, text);
        if (mode == ModeBinToFull) convert(ModeFullToBin, text, back);
    }
    return 0;
}
