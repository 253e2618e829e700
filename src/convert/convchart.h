// A look's chart, laid out once for every surface that draws it: the plot frame inside a given size,
// the scales and their ticks, the series colours, and the chart written as a self-contained SVG
// (vexaconv --plot). The preview window draws the same layout with GDI. Portable.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "convert/convlook.h"

// The plot area inside a chart of the given size, in pixels (room for tick labels and the legend).
struct ChartFrame {
    int Left, Top, Right, Bottom;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
ChartFrame FrameFor(int width, int height);

// Rounded tick values ("nice" steps of 1, 2 or 5 times a power of ten) between low and high.
std::vector<double> NiceTicks(double low, double high, int maxTicks, double& step);
// A tick value as text, with as many decimals as the step needs ("0.25", "1500", "1e-07").
std::string TickText(double value, double step);

// Scales of a chart in a frame: data ranges, ticks and the mapping to pixels.
struct ChartScale {
    ChartFrame Frame{};
    double XLow = 0, XHigh = 1, YLow = 0, YHigh = 1;
    double XStep = 1, YStep = 1;
    std::vector<double> XTicks, YTicks;
    double PX(double x) const { return Frame.Left + (x - XLow) / (XHigh - XLow) * Frame.Width(); }
    double PY(double y) const { return Frame.Bottom - (y - YLow) / (YHigh - YLow) * Frame.Height(); }
    double XOfPixel(double px) const { return XLow + (px - Frame.Left) / Frame.Width() * (XHigh - XLow); }
};
ChartScale ScaleFor(const ChartData& chart, const ChartFrame& frame);

// Colour of the n-th series (from 0), 0xRRGGBB.
uint32_t SeriesColour(int n);

// Writes the chart of a look as SVG: title, frame, grid, ticks, axis titles, legend and one polyline
// per series.
void WriteChartSvg(std::ostream& out, const DataLook& look, const ChartData& chart, int width, int height);

// Text of the program's single-byte character set for XML and JSON: markup characters escaped,
// characters from 128 on as their Latin-1 code points, control characters as "?" (XML) or \u escapes.
std::string XmlText(std::string_view text);
std::string JsonText(std::string_view text);
