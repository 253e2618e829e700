// Reading files for a look: decimation against a brute-force reference, vexaconv --info on every kind,
// layout and damage, and the --plot SVG read back by a real XML parser.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "convert/conv_fixture.h"
#include "convert/convchart.h"
#include "convert/convlook.h"

namespace {

using convtest::Spec;
using sampledata::SampleSpec;

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

using Look = convtest::ConvFixture;

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

// --info on files of every kind and both header layouts, Full ASCII, cut and rejected files.
TEST_F(Look, InfoSaysWhatEachFileHolds) {
    SampleSpec old = Spec('P', 18, 4), attached = Spec('Q', 20, 5);
    SampleSpec cutRecord = Spec('K', 20, 9), cutHeader = Spec('V', 20, 9), cutBlock = Spec('A', 17, 3);
    old.OldNumbering = attached.Attachment = true;
    cutRecord.Cut = 3;
    cutBlock.Cut = 10;
    cutHeader.Cut = sampledata::FullSize(cutHeader) - 300;
    // name, spec, lines that must be said
    const std::tuple<const char*, SampleSpec, std::vector<std::string>> cases[] = {
        {"M.K01", Spec('K', 20, 12), {"Kind: K", "Version: 20", "Records: 12", "Cut: no", "Text 1: "}},
        {"M.Y01", Spec('Y', 17, 30), {"Records: 30", "XStep: 0.5", "XStart: 10", "XOffset: 3"}},
        {"M.P01", old, {"Version: 18", "Records: 4", "Word 1: "}},
        {"M.Q01", attached, {"Attachment: yes", "Records: 5", "Cut: no"}},
        {"M.A02", cutBlock, {"Blocks: 3", "Records per block: 20", "Cut: yes"}},
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

TEST_F(Look, JsonAndSvgParse) {
    Sample("J.Y01", Spec('Y', 20, 20000));
    dir_.Write("N.K01", "SW\x01\xE9\"<&>");
    Run("--info --json @J.Y01 @N.K01");
    dir_.Write("info.json", out_.str());
    EXPECT_EQ(
        Python("import json,sys\nfor l in open(sys.argv[1]):\n d=json.loads(l); print(d[\"records\"] if "
               "\"records\" in d else d[\"problem\"], d[\"cut\"], d.get(\"header\",{}).get(\"XStep\"))",
               Path("info.json")),
        "20000 False 0.5\nthe file ends inside its identification True None\n");

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
    EXPECT_EQ(Run("--plot @d.svg --plot-size 9x9 @S.P01"), CliUsageError);
}
#endif

} // namespace
