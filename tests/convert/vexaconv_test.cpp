// The vexaconv command, run in-process: options, exit status, folders, the overwrite question; and
// reading files for a look: decimation against a brute-force reference, --info on each layout
// and damage, and the --plot SVG read back by a real XML parser.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <tuple>

#include "convert/conv_fixture.h"
#include "convert/convchart.h"
#include "convert/convlook.h"
#include "convert/convnames.h"

namespace {

using convtest::Spec;
using sampledata::SampleSpec;

using Look = convtest::ConvFixture;
using Vexaconv = convtest::ConvFixture;

TEST_F(Vexaconv, UsageErrors) {
    Sample("M.K01");
    for (const char* line :
         {"", "--mode bin2xyz @M.K01", "--decimals 13 @M.K01", "--extension TOOLONG @M.K01", "@NOT-THERE.K01",
          "--mode=bin2full --ext=data -d @ @M.K01"}) { // would overwrite the binary file
        EXPECT_EQ(Run(line), CliUsageError) << line;
        EXPECT_FALSE(err_.str().empty());
    }
    EXPECT_EQ(dir_.Read("M.K01"), sampledata::Bytes(Spec('K', 20, 3)));
}

// A folder converts the files that match the mask, into a destination folder made when missing; what
// is not a data file is passed over with its reason, and the exit status says so.
TEST_F(Vexaconv, FolderWithMaskAndReasons) {
    Sample("in/A.K01");
    Sample("in/B.P01", Spec('P', 17, 3));
    Sample("in/OLD.K02", Spec('K', 16, 3));
    dir_.Write("in/NOTES.DOC", "hello");
    dir_.Write("in/skip.txt", "x");
    EXPECT_EQ(Run("--mask *.?0* -m bin2full --cols all -d @out/new @in"), CliSomePassedOver);
    EXPECT_TRUE(Said("converted " + Path("in/A.K01"))) << out_.str();
    EXPECT_TRUE(Said("passed over " + Path("in/OLD.K02") + ": format version below 17"));
    EXPECT_TRUE(Said("2 converted, 1 passed over"));
    EXPECT_EQ(dir_.Read("out/new/B.P01.TXT").substr(0, 13), "SW0-DAT-17.2-");
    EXPECT_EQ(dir_.Read("out/new/NOTES.DOC.TXT"), "<missing>");

    // A source that ends inside a record is converted, counted as cut short, and fails the run.
    dir_.Write("out/C.K01", sampledata::Bytes(Spec('K', 20, 3)) + "\x7f");
    EXPECT_EQ(Run("-d @cut @out/C.K01 @in/A.K01"), CliSomePassedOver);
    EXPECT_TRUE(Said("2 converted (1 cut short), 0 passed over")) << out_.str();
    // A missing folder the user refuses to make is a folder error.
    EXPECT_EQ(Run("-d @x/y @in/A.K01", "n\n", true), CliUsageError);
}

// Existing destinations: left alone without a terminal, replaced with --yes, asked on a
// terminal (no, yes, all), never replaced with --no even on a terminal ready to answer all.
TEST_F(Vexaconv, OverwriteAnswers) {
    Sample("A.K01");
    Sample("B.K01");
    // Command line, answers, terminal, exit status, "1" for each destination still "old", a text said.
    const std::tuple<const char*, const char*, bool, int, const char*, const char*> runs[] = {
        {"@A.K01 @B.K01", "", false, CliSomePassedOver, "11", "not overwritten"},
        {"@A.K01 @B.K01", "n\ny\n", true, CliSomePassedOver, "10", "Overwrite?"},
        {"@A.K01 @B.K01", "a\n", true, CliAllConverted, "00", "Overwrite?"},
        {"--yes @A.K01 @B.K01", "", false, CliAllConverted, "00", "2 converted"},
        {"--no @A.K01 @B.K01", "a\n", true, CliSomePassedOver, "11", "not overwritten"}};
    for (const auto& [line, answers, terminal, exit, kept, says] : runs) {
        dir_.Write("A.K01.TXT", "old");
        dir_.Write("B.K01.TXT", "old");
        EXPECT_EQ(Run(line, answers, terminal), exit) << line << " " << answers;
        EXPECT_EQ(std::to_string(dir_.Read("A.K01.TXT") == "old") +
                      std::to_string(dir_.Read("B.K01.TXT") == "old"),
                  kept)
            << line << " " << answers;
        EXPECT_TRUE(Said(says)) << out_.str() << err_.str();
    }
}

// A destination that opens its own source is neither asked about nor written, and the source stays
// byte for byte. Windows opens "M.K01 " and M.K01.. as M.K01, so there they stop the run as "only
// data ext." into the source's folder (under another spelling) does; natively they are names of their
// own. A second name linked to the source is passed over with its reason on both.
TEST_F(Vexaconv, NeverWritesOntoItsSource) {
    constexpr bool windows = PathSep == '\\';
    const std::string bytes = sampledata::Bytes(Spec('K', 20, 3));
    dir_.Write("M.K01", bytes);
    std::filesystem::create_hard_link(Path("M.K01"), Path("M.K01.LNK"));
    // options before the source, exit status on Windows, natively
    const std::tuple<std::vector<std::string>, int, int> runs[] = {
        {{"-m", "bin2full", "--ext", "input", "--extension", " "}, CliUsageError, CliAllConverted},
        {{"--ext", "input", "--extension", ".."}, CliUsageError, CliAllConverted},
        {{"-m", "bin2full", "--ext", "data", "-d", "@."}, CliUsageError, CliUsageError},
        {{"--ext", "input", "--extension", "LNK"}, CliSomePassedOver, CliSomePassedOver},
    };
    for (const auto& [options, onWindows, natively] : runs) {
        SCOPED_TRACE(options.back());
        std::vector<std::string> args = options;
        args.push_back("@M.K01");
        int exit = windows ? onWindows : natively;
        EXPECT_EQ(RunArgs(args, "a\n", true), exit) << out_.str() << err_.str();
        EXPECT_EQ(dir_.Read("M.K01"), bytes);
        EXPECT_FALSE(Said("Overwrite?"));
        EXPECT_TRUE(Said(exit == CliUsageError       ? "the binary files would be overwritten"
                         : exit == CliSomePassedOver ? "source and destination are the same file"
                                                     : "1 converted"));
    }
}

// Options map onto the window's: Col ASCII with a delimiter character, selected columns, numbering,
// the chosen extension and ending.
TEST_F(Vexaconv, ColAsciiOptions) {
    sampledata::SampleSpec spec = Spec('P', 20, 1);
    spec.Reals = {1.5};
    spec.Ints = {-3};
    dir_.Write("M.P01", sampledata::Bytes(spec));
    EXPECT_EQ(Run("--only-selected --selected-cols 2,36 --delimiter | --numbered --decimals 2 --ext input "
                  "--extension CSV --last-line crlf-eof @M.P01"),
              CliAllConverted);
    EXPECT_EQ(dir_.Read("M.P01.CSV"), "   1|| 1.50E+00|     -3\r\n\x1A");
}

// The points a chart must keep, worked out the slow way: per pixel column, the first, last, smallest
// and largest finite value (the earliest of equal ones), in index order.
std::vector<ChartPoint> Reference(const std::vector<double>& values, int pixels) {
    std::map<int64_t, std::vector<ChartPoint>> columns;
    int64_t n = static_cast<int64_t>(values.size());
    for (int64_t i = 0; i < n; ++i)
        if (std::isfinite(values[i])) columns[i * pixels / n].push_back({i, values[i]});
    std::vector<ChartPoint> points;
    for (auto& [pixel, all] : columns) {
        auto less = [](const ChartPoint& a, const ChartPoint& b) { return a.Value < b.Value; };
        std::vector<ChartPoint> kept = {all.front(), all.back(),
                                        *std::min_element(all.begin(), all.end(), less),
                                        *std::max_element(all.begin(), all.end(), less)};
        std::sort(kept.begin(), kept.end(), [](auto& a, auto& b) { return a.Index < b.Index; });
        for (const ChartPoint& p : kept)
            if (points.empty() || points.back().Index != p.Index) points.push_back(p);
    }
    return points;
}

// Every kept point of every chosen column equals the reference, for widths below, near and above the
// record count, and a block of kind A.
TEST_F(Look, DecimationKeepsFirstLastMinMaxPerPixel) {
    const std::tuple<char, int, int64_t, std::vector<int>, int> cases[] = {
        {'K', 20, 5000, {1, 2}, 1}, {'P', 17, 900, {1, 35, 36}, 1}, {'A', 20, 4, {2, 21}, 3}};
    for (const auto& [kind, version, records, columns, block] : cases) {
        SampleSpec spec = Spec(kind, version, records);
        spec.Seed = 7 + static_cast<uint32_t>(records);
        LookFile file;
        ASSERT_TRUE(file.Open(Sample(std::string("R.") + kind + "01", spec)));
        sampledata::Shape shape = sampledata::ShapeOf(kind, version);
        int64_t count = shape.PerBlock ? shape.PerBlock : records;
        for (int pixels : {1, 13, 640, static_cast<int>(count) + 5}) {
            ChartData chart = file.Chart(columns, block, pixels);
            ASSERT_EQ(chart.Series.size(), columns.size());
            EXPECT_EQ(chart.Count, count);
            for (size_t k = 0; k < columns.size(); ++k) {
                int c = columns[k];
                std::vector<double> values;
                for (int64_t i = 0; i < count; ++i) {
                    int64_t r = (block - 1) * shape.PerBlock + i;
                    values.push_back(c <= shape.Reals
                                         ? static_cast<float>(sampledata::DataReal(spec, r, c - 1))
                                         : sampledata::DataInt(spec, r, c - shape.Reals - 1));
                }
                std::vector<ChartPoint> want = Reference(values, pixels), got = chart.Series[k].Points;
                SCOPED_TRACE(testing::Message() << kind << " column " << c << " pixels " << pixels);
                ASSERT_EQ(got.size(), want.size());
                EXPECT_LE(got.size(), 4u * static_cast<size_t>(pixels));
                for (size_t i = 0; i < want.size(); ++i) {
                    EXPECT_EQ(got[i].Index, want[i].Index);
                    EXPECT_EQ(got[i].Value, want[i].Value);
                }
            }
        }
    }
}

TEST_F(Look, DecimationPassesOverValuesThatCannotBeDrawn) {
    std::vector<double> values = {1, NAN, -2, INFINITY, 5, 4, NAN, 3};
    Decimator d(3, static_cast<int64_t>(values.size()), 1);
    for (size_t i = 0; i < values.size(); ++i) d.Add(static_cast<int64_t>(i), &values[i]);
    std::vector<ChartPoint> got = d.Points(0), want = Reference(values, 3);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].Index, want[i].Index);
}

// --info on both header layouts, Full ASCII, cut and rejected files.
TEST_F(Look, InfoSaysWhatEachFileHolds) {
    SampleSpec cutRecord = Spec('K', 20, 9), cutHeader = Spec('V', 20, 9);
    cutRecord.Cut = 3;
    cutHeader.Cut = sampledata::FullSize(cutHeader) - 300;
    // name, spec, lines that must be said
    const std::tuple<const char*, SampleSpec, std::vector<std::string>> cases[] = {
        {"M.K01", Spec('K', 20, 12), {"Kind: K", "Version: 20", "Records: 12", "Cut: no", "Text 1: "}},
        {"M.Y01", Spec('Y', 17, 30), {"Records: 30", "XStep: 0.5", "XStart: 10", "XOffset: 3"}},
        {"C.K01", cutRecord, {"Records: 8", "Cut: yes"}},
        {"C.V01", cutHeader, {"Records: 0", "Cut: yes", "Text 1: "}},
        {"O.K01", Spec('K', 16, 3), {"Version: 16", "Note: the data part of format versions below 17"}},
    };
    for (const auto& [name, spec, lines] : cases) {
        EXPECT_EQ(Run("--info " + Sample(name, spec)), CliAllConverted) << name;
        for (const std::string& line : lines)
            EXPECT_TRUE(Said("  " + line)) << name << ": " << line << "\n" << out_.str();
    }
    // A Full ASCII file is read through a scratch binary made by the converter's own reader.
    ASSERT_EQ(Run("-m bin2full --cols block --numbered " + Sample("F.P01", Spec('P', 20, 6))), 0)
        << out_.str();
    EXPECT_EQ(Run("--info @F.P01.TXT"), CliAllConverted);
    for (const char* line : {"  Form: Full ASCII, variant 5", "  Records: 6", "  Cut: no", "  Text 4: "})
        EXPECT_TRUE(Said(line)) << line << "\n" << out_.str();
    // Rejected files say why, and the exit status says that not every file was read.
    dir_.Write("N.K01", "hello, world");
    dir_.Write("S.K01", "SW0-DAT-20");
    dir_.Write("U.XYZ", sampledata::Bytes(Spec('K', 20, 1)));
    EXPECT_EQ(Run("--info @N.K01 @S.K01 @U.XYZ @M.K01"), CliSomePassedOver);
    for (const char* line : {"Problem: not a data file", "Problem: the file ends inside its identification",
                             "Problem: unknown kind", "Records: 12"})
        EXPECT_TRUE(Said(line)) << line << "\n" << out_.str();
}

#ifndef _WIN32
// Runs a python3 snippet on a file; what it prints.
std::string Python(const std::string& code, const std::string& file) {
    std::string command = "/usr/bin/python3 -c '" + code + "' " + file + " 2>&1";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

TEST_F(Look, SvgParses) {
    // One polyline per chosen column, none with more than four points per pixel column of the frame.
    Sample("S.P01", Spec('P', 20, 5000));
    ASSERT_EQ(Run("--plot @c.svg --plot-cols 1,3,36 --plot-size 400x300 @S.P01"), CliAllConverted)
        << out_.str();
    int limit = 4 * FrameFor(400, 300).Width();
    EXPECT_EQ(Python("import sys,xml.etree.ElementTree as E\nr=E.parse(sys.argv[1]).getroot()\n"
                     "n=\"{http://www.w3.org/2000/svg}\"\nprint(r.get(\"width\"),r.get(\"height\"))\n"
                     "for p in r.iter(n+\"polyline\"): print(len(p.get(\"points\").split()) <= " +
                         std::to_string(limit) +
                         ", len(p.get(\"points\").split()) > 100)\n"
                         "print(len(list(r.iter(n+\"text\"))) > 10)",
                     Path("c.svg")),
              "400 300\nTrue True\nTrue True\nTrue True\nTrue\n");
    EXPECT_EQ(Run("--plot @d.svg --plot-cols 38 @S.P01"), CliUsageError);
}
#endif

} // namespace
