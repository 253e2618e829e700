// datagen: writes a sample binary data file of the measurement program (see --help).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datagen/sample_data.h"

namespace {

const char* const Help =
    "usage: datagen [options] FILE\n"
    "Writes a binary data file of the measurement program with generated values.\n"
    "  -k, --kind K|Y|P|T|V|A|Q   kind of file (default K)\n"
    "  -v, --version N            format version (default 20; below 20 the older main header)\n"
    "      --old-numbering        identification in the older version numbering (versions 8..19)\n"
    "      --attachment           with the 1024-byte attachment\n"
    "  -n, --records N            records, for kind A blocks (default 10)\n"
    "      --mb M                 instead of -n: as many records as make about M megabytes\n"
    "      --cut N                drop the last N bytes (a file that ends inside a record)\n"
    "      --long-t               kind T with identification character 13 \"8\" and a 616-byte header\n"
    "      --zero-header          header fields zero and texts empty (else a pattern)\n"
    "      --seed S               another set of values (default 1)\n"
    "      --xstep X --xstart N --xoffset N   kind Y's x axis (default 0.5, 10, 3)\n"
    "      --info                 print the file's size and identification\n";

bool Number(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == 0;
}

int Usage(const char* message, const char* arg) {
    std::fprintf(stderr, "datagen: %s%s\n%s", message, arg ? arg : "", Help);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    sampledata::SampleSpec spec;
    std::string path;
    double megabytes = 0;
    bool info = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        long long n = 0;
        const char* value = nullptr;
        if (arg == "-h" || arg == "--help") {
            std::fputs(Help, stdout);
            return 0;
        } else if (arg == "-k" || arg == "--kind") {
            value = next();
            if (!value || std::strlen(value) != 1 || !std::strchr("KYPTVAQ", value[0]))
                return Usage("--kind takes one of K Y P T V A Q", nullptr);
            spec.Kind = value[0];
        } else if (arg == "-v" || arg == "--version") {
            if (!(value = next()) || !Number(value, n) || n < 0 || n > 99)
                return Usage("--version takes 0..99", nullptr);
            spec.Version = static_cast<int>(n);
        } else if (arg == "--old-numbering") {
            spec.OldNumbering = true;
        } else if (arg == "--attachment") {
            spec.Attachment = true;
        } else if (arg == "-n" || arg == "--records") {
            if (!(value = next()) || !Number(value, n) || n < 0)
                return Usage("--records takes a count", nullptr);
            spec.Records = n;
        } else if (arg == "--mb") {
            if (!(value = next()) || (megabytes = std::atof(value)) <= 0)
                return Usage("--mb takes a size in megabytes", nullptr);
        } else if (arg == "--cut") {
            if (!(value = next()) || !Number(value, n) || n < 0)
                return Usage("--cut takes a byte count", nullptr);
            spec.Cut = n;
        } else if (arg == "--long-t") {
            spec.LongHeaderT = true;
        } else if (arg == "--zero-header") {
            spec.ZeroHeader = true;
        } else if (arg == "--seed") {
            if (!(value = next()) || !Number(value, n)) return Usage("--seed takes a number", nullptr);
            spec.Seed = static_cast<uint32_t>(n);
        } else if (arg == "--xstep") {
            if (!(value = next())) return Usage("--xstep takes a number", nullptr);
            spec.XStep = static_cast<float>(std::atof(value));
        } else if (arg == "--xstart" || arg == "--xoffset") {
            if (!(value = next()) || !Number(value, n)) return Usage("expected a number after ", arg.c_str());
            (arg == "--xstart" ? spec.XStart : spec.XOffset) = static_cast<int>(n);
        } else if (arg == "--info") {
            info = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option ", arg.c_str());
        } else if (path.empty()) {
            path = arg;
        } else {
            return Usage("one file only: ", arg.c_str());
        }
    }
    if (path.empty()) return Usage("no file named", nullptr);
    if (megabytes > 0) {
        sampledata::SampleSpec one = spec;
        one.Records = 1;
        spec.Records = 0;
        int64_t unit = sampledata::FullSize(one) - sampledata::FullSize(spec);
        spec.Records = static_cast<int64_t>(megabytes * 1e6) / unit;
    }
    if (spec.Cut > sampledata::FullSize(spec)) spec.Cut = sampledata::FullSize(spec);
    if (!sampledata::WriteFile(spec, path)) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return 1;
    }
    if (info)
        std::printf("%s: %lld bytes, %lld records, identification \"%s\"\n", path.c_str(),
                    static_cast<long long>(sampledata::FullSize(spec) - spec.Cut),
                    static_cast<long long>(spec.Records), sampledata::Ident(spec).c_str());
    return 0;
}
