#include "convert/convchart.h"

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <ostream>

#include "convert/convnames.h"

ChartFrame FrameFor(int width, int height) {
    ChartFrame f{72, 52, width - 18, height - 42};
    if (f.Right < f.Left + 10) f.Right = f.Left + 10;
    if (f.Bottom < f.Top + 10) f.Bottom = f.Top + 10;
    return f;
}

std::vector<double> NiceTicks(double low, double high, int maxTicks, double& step) {
    std::vector<double> ticks;
    double range = high - low;
    if (!(range > 0) || maxTicks < 1) {
        step = 1;
        return ticks;
    }
    double raw = range / maxTicks;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    step = power * (raw <= power ? 1 : raw <= 2 * power ? 2 : raw <= 5 * power ? 5 : 10);
    for (double t = std::ceil(low / step) * step; t <= high + step * 1e-9; t += step)
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0 : t);
    return ticks;
}

std::string TickText(double value, double step) {
    char text[32];
    double magnitude = std::max(std::fabs(value), step);
    if (magnitude >= 1e6 || step < 1e-4)
        std::snprintf(text, sizeof text, "%.3g", value);
    else
        std::snprintf(text, sizeof text, "%.*f", std::max(0, static_cast<int>(-std::floor(std::log10(step)))),
                      value);
    return text;
}

ChartScale ScaleFor(const ChartData& chart, const ChartFrame& frame) {
    ChartScale s;
    s.Frame = frame;
    double a = chart.XAt(0), b = chart.XAt(chart.Count > 1 ? static_cast<double>(chart.Count - 1) : 0);
    s.XLow = std::min(a, b);
    s.XHigh = std::max(a, b);
    if (!(s.XHigh > s.XLow)) { // one record: half a step either side
        s.XLow -= 0.5;
        s.XHigh += 0.5;
    }
    if (!chart.ValueRange(s.YLow, s.YHigh)) {
        s.YLow = 0;
        s.YHigh = 1;
    }
    double pad = (s.YHigh - s.YLow) * 0.05;
    if (!(pad > 0)) pad = std::fabs(s.YLow) > 0 ? std::fabs(s.YLow) * 0.1 : 1;
    s.YLow -= pad;
    s.YHigh += pad;
    s.XTicks = NiceTicks(s.XLow, s.XHigh, std::max(2, frame.Width() / 90), s.XStep);
    s.YTicks = NiceTicks(s.YLow, s.YHigh, std::max(2, frame.Height() / 40), s.YStep);
    return s;
}

uint32_t SeriesColour(int n) {
    static const uint32_t colours[] = {0x1F5FBF, 0xD2461E, 0x2E9940, 0x8E44AD,
                                       0xC49A00, 0x17A2B8, 0xE83E8C, 0x5A5A5A};
    return colours[static_cast<unsigned>(n) % (sizeof colours / sizeof colours[0])];
}

std::string XmlText(std::string_view text) {
    std::string out;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (c < 0x20 || c == 0x7F) out += '?';
        else if (c >= 0x80) out += "&#" + std::to_string(c) + ";";
        else out += ch;
    }
    return out;
}

std::string JsonText(std::string_view text) {
    std::string out;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out;
}

namespace {

std::string Colour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

} // namespace

void WriteChartSvg(std::ostream& out, const DataLook& look, const ChartData& chart, int width, int height) {
    ChartFrame f = FrameFor(width, height);
    ChartScale s = ScaleFor(chart, f);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << " " << height << "\" font-family=\"sans-serif\" font-size=\"11\">\n"
        << "<title>" << XmlText(NameOf(look.Path)) << "</title>\n"
        << "<rect width=\"" << width << "\" height=\"" << height << "\" fill=\"white\"/>\n"
        << "<text x=\"8\" y=\"16\" font-size=\"13\" font-weight=\"bold\">" << XmlText(NameOf(look.Path))
        << "</text>\n<text x=\"8\" y=\"31\">" << XmlText(look.Ident) << (look.Cut ? "  (cut)" : "")
        << "</text>\n<g stroke=\"#E4E4E4\">\n";
    for (double t : s.XTicks)
        out << "<line x1=\"" << Num(s.PX(t)) << "\" y1=\"" << f.Top << "\" x2=\"" << Num(s.PX(t)) << "\" y2=\""
            << f.Bottom << "\"/>\n";
    for (double t : s.YTicks)
        out << "<line x1=\"" << f.Left << "\" y1=\"" << Num(s.PY(t)) << "\" x2=\"" << f.Right << "\" y2=\""
            << Num(s.PY(t)) << "\"/>\n";
    out << "</g>\n<rect x=\"" << f.Left << "\" y=\"" << f.Top << "\" width=\"" << f.Width() << "\" height=\""
        << f.Height() << "\" fill=\"none\" stroke=\"black\"/>\n<g>\n";
    for (double t : s.XTicks)
        out << "<text x=\"" << Num(s.PX(t)) << "\" y=\"" << f.Bottom + 14 << "\" text-anchor=\"middle\">"
            << TickText(t, s.XStep) << "</text>\n";
    for (double t : s.YTicks)
        out << "<text x=\"" << f.Left - 4 << "\" y=\"" << Num(s.PY(t) + 4) << "\" text-anchor=\"end\">"
            << TickText(t, s.YStep) << "</text>\n";
    out << "<text x=\"" << (f.Left + f.Right) / 2 << "\" y=\"" << f.Bottom + 30 << "\" text-anchor=\"middle\">"
        << XmlText(chart.XTitle) << "</text>\n</g>\n";
    for (size_t i = 0; i < chart.Series.size(); ++i) {
        out << "<polyline fill=\"none\" stroke=\"" << Colour(SeriesColour(static_cast<int>(i)))
            << "\" stroke-width=\"1\" points=\"";
        const std::vector<ChartPoint>& points = chart.Series[i].Points;
        for (size_t k = 0; k < points.size(); ++k)
            out << (k ? " " : "") << Num(s.PX(chart.XAt(static_cast<double>(points[k].Index)))) << ","
                << Num(s.PY(points[k].Value));
        out << "\"/>\n";
    }
    out << "<g>\n";
    int x = f.Left;
    for (size_t i = 0; i < chart.Series.size(); ++i) {
        std::string colour = Colour(SeriesColour(static_cast<int>(i)));
        out << "<line x1=\"" << x << "\" y1=\"" << f.Top - 6 << "\" x2=\"" << x + 16 << "\" y2=\"" << f.Top - 6
            << "\" stroke=\"" << colour << "\" stroke-width=\"2\"/><text x=\"" << x + 20 << "\" y=\""
            << f.Top - 2 << "\">" << XmlText(chart.Series[i].Name) << "</text>\n";
        x += 28 + 7 * static_cast<int>(chart.Series[i].Name.size());
    }
    out << "</g>\n</svg>\n";
}
